#include "chrome/TFindBar.h"

#include "components/ThemeIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

TFindBar::TFindBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlFindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    edtFind = new QLineEdit(this);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    edtFind->setPlaceholderText(QStringLiteral("__FindBarPrompt"));
    edtFind->setClearButtonEnabled(true);
    edtFind->installEventFilter(this);
    const auto makeButton = [this](const char* name, const char* hint, const QIcon& icon)
    {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setAutoRaise(true);
        button->setIcon(icon);
        button->setToolTip(QLatin1String(hint));
        return button;
    };
    btnFindPrevious = makeButton("btnFindPrevious", "__FindBarPreviousHint",
                                 ThemeIcon(QStringLiteral("go-up"), QStyle::SP_ArrowUp));
    btnFindNext = makeButton("btnFindNext", "__FindBarNextHint",
                             ThemeIcon(QStringLiteral("go-down"), QStyle::SP_ArrowDown));
    chkMatchCase = new QCheckBox(QStringLiteral("__FindBarMatchCase"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    lblFindCount = new QLabel(this);
    lblFindCount->setObjectName(QStringLiteral("lblFindCount"));
    btnFindClose =
        makeButton("btnFindClose", "__FindBarCloseHint",
                   ThemeIcon(QStringLiteral("window-close"), QStyle::SP_DialogCloseButton));
    layout->addWidget(edtFind, 1);
    layout->addWidget(btnFindPrevious);
    layout->addWidget(btnFindNext);
    layout->addWidget(chkMatchCase);
    layout->addWidget(lblFindCount, 1);
    layout->addWidget(btnFindClose);

    connect(edtFind, &QLineEdit::textChanged, this,
            [this] { emit find(Text(), false, MatchCase()); });
    // Another case rule is a new search, from the first match.
    connect(chkMatchCase, &QCheckBox::toggled, this,
            [this]
            {
                emit find(QString(), false, false);
                emit find(Text(), false, MatchCase());
            });
    connect(btnFindNext, &QToolButton::clicked, this, [this] { step(false); });
    connect(btnFindPrevious, &QToolButton::clicked, this, [this] { step(true); });
    connect(btnFindClose, &QToolButton::clicked, this, &TFindBar::Close);
    setHidden(true);
}

void TFindBar::SetCountTexts(const QString& countFormat, const QString& noMatches)
{
    m_countFormat = countFormat;
    m_noMatches = noMatches;
}

void TFindBar::Open(const QString& text)
{
    const bool reopened = isHidden();
    show();
    if (!text.isEmpty() && text != edtFind->text())
        edtFind->setText(text);
    else if (reopened && !Text().isEmpty())
        emit find(Text(), false, MatchCase()); // the highlight went with the bar
    edtFind->setFocus(Qt::ShortcutFocusReason);
    edtFind->selectAll();
}

void TFindBar::Close()
{
    const bool wasShown = isVisible();
    hide();
    ClearResult();
    if (!wasShown)
        return;
    emit find(QString(), false, false);
    emit closed();
}

QString TFindBar::Text() const
{
    return edtFind->text();
}

bool TFindBar::MatchCase() const
{
    return chkMatchCase->isChecked();
}

void TFindBar::ShowResult(const FindResult& result)
{
    if (Text().isEmpty())
        lblFindCount->clear();
    else if (result.count <= 0)
        lblFindCount->setText(m_noMatches);
    else
        lblFindCount->setText(m_countFormat.arg(result.active).arg(result.count));
}

void TFindBar::ClearResult()
{
    lblFindCount->clear();
}

bool TFindBar::HasFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return isVisible() && focus && (focus == this || isAncestorOf(focus));
}

void TFindBar::step(bool backward)
{
    if (!Text().isEmpty())
        emit find(Text(), backward, MatchCase());
}

bool TFindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtFind && event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        {
            step(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFindBar::keyPressEvent(QKeyEvent* event)
{
    // Esc reaches the bar from the edit and the buttons, which leave it.
    if (event->key() == Qt::Key_Escape)
        Close();
    else
        QWidget::keyPressEvent(event);
}
