#include "core/dialogs/TfrmConfirm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace
{
constexpr int PromptWidth = 320;
constexpr int MaxPromptHeight = 160;
} // namespace

TfrmConfirm::TfrmConfirm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmConfirm"));
    setModal(true);

    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    imgIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setWordWrap(true);
    lblTitle->setTextFormat(Qt::PlainText);

    mmoPrompt2 = new QPlainTextEdit(this);
    mmoPrompt2->setObjectName(QStringLiteral("mmoPrompt2"));
    mmoPrompt2->setReadOnly(true);
    mmoPrompt2->setFrameShape(QFrame::NoFrame);
    mmoPrompt2->setFocusPolicy(Qt::NoFocus);
    mmoPrompt2->viewport()->setAutoFillBackground(false);
    mmoPrompt2->setMinimumWidth(PromptWidth);
    // Not expanding: a window whose layout expands is made at least 100
    // pixels high, which leaves a short notice a gap above its buttons.
    mmoPrompt2->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    chkConfirm = new QCheckBox(this);
    chkConfirm->setObjectName(QStringLiteral("chkConfirm"));

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkConfirm);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    // Title and explanation share one column of their own: a hidden title
    // then takes its spacing with it and the explanation moves right up.
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(mmoPrompt2);

    auto* grid = new QGridLayout(this);
    grid->addWidget(imgIcon, 0, 0);
    grid->addLayout(texts, 0, 1, Qt::AlignTop);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void TfrmConfirm::setTexts(const QString& caption, const QString& title, const QString& prompt,
                           const QString& okText, const QString& cancelText,
                           const QString& checkText)
{
    setWindowTitle(caption);

    QFont bold = font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    lblTitle->setText(title);
    // With no title the explanation takes the title's place.
    lblTitle->setVisible(!title.isEmpty());
    mmoPrompt2->setPlainText(prompt);
    // As high as its text, up to a limit past which it scrolls: a short
    // notice gets a small dialog with no gap above its buttons.
    const QFontMetrics metrics(mmoPrompt2->font());
    const int margins =
        2 * int(mmoPrompt2->document()->documentMargin()) + 2 * mmoPrompt2->frameWidth();
    const QRect text =
        metrics.boundingRect(QRect(0, 0, PromptWidth - margins, 100000), Qt::TextWordWrap,
                             prompt.isEmpty() ? QStringLiteral(" ") : prompt);
    mmoPrompt2->setFixedHeight(qMin(text.height() + margins + metrics.descent(), MaxPromptHeight));

    cmdOK->setText(okText);
    cmdOK->setVisible(!okText.isEmpty());
    cmdCancel->setText(cancelText);
    cmdCancel->setVisible(!cancelText.isEmpty());
    chkConfirm->setText(checkText);
    chkConfirm->setVisible(!checkText.isEmpty());
    if (okText.isEmpty() && !cancelText.isEmpty())
        cmdCancel->setDefault(true);
}

void TfrmConfirm::setCancelDefault()
{
    cmdOK->setDefault(false);
    cmdOK->setAutoDefault(false);
    cmdCancel->setDefault(true);
    cmdCancel->setFocus();
}

void TfrmConfirm::setChecked(bool checked)
{
    chkConfirm->setChecked(checked);
}

bool TfrmConfirm::isChecked() const
{
    return chkConfirm->isChecked();
}

ConfirmResult ShowConfirm(QWidget* owner, const QFont& font, const QString& caption, bool checked,
                          const QString& title, const QString& prompt, const QString& okText,
                          const QString& cancelText, const QString& checkText, bool okDefault)
{
    TfrmConfirm dialog(owner);
    dialog.setFont(font);
    dialog.setTexts(caption, title, prompt, okText, cancelText, checkText);
    if (!okDefault)
        dialog.setCancelDefault();
    dialog.setChecked(checked);
    dialog.adjustSize();
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
    {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    const bool ok = dialog.exec() == QDialog::Accepted;
    return {ok, dialog.isChecked()};
}
