#include "navigation/TfrmOpen.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const QString Section = QStringLiteral("OPEN");
} // namespace

TfrmOpen::TfrmOpen(const QStringList& addresses, WindowServices* services,
                   const TLanguage* language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(services), m_addresses(addresses)
{
    setObjectName(QStringLiteral("frmOpen"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));

    lblPrompt = new QLabel(QStringLiteral("__Prompt"), this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    lblOpen = new QLabel(QStringLiteral("__Label"), this);
    lblOpen->setObjectName(QStringLiteral("lblOpen"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The list is the address box's; what is typed is not added to it.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ComboBox1->lineEdit()->installEventFilter(this);
    lblOpen->setBuddy(ComboBox1);
    chkNewTab = new QCheckBox(QStringLiteral("__CheckPrompt"), this);
    chkNewTab->setObjectName(QStringLiteral("chkNewTab"));
    chkNewTab->setChecked(true);

    cmdOK = new QPushButton(QStringLiteral("~~OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("~~Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdBrowse = new QPushButton(QStringLiteral("__Browse"), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));

    auto* field = new QHBoxLayout;
    field->addWidget(lblOpen);
    field->addWidget(ComboBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkNewTab);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addLayout(field);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(351, 144);

    connect(ComboBox1, &QComboBox::editTextChanged, this, &TfrmOpen::FieldChanged);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmOpen::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdBrowse, &QPushButton::clicked, this, &TfrmOpen::cmdBrowseClick);

    if (language)
        language->TranslateComponent(this, Section);
    FormActivate();
}

void TfrmOpen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated)
    {
        m_activated = true;
        ComboBox1->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void TfrmOpen::FormActivate()
{
    ComboBox1->clear();
    ComboBox1->addItems(m_addresses);
    ComboBox1->setEditText(QString());
    cmdOK->setEnabled(false);
}

void TfrmOpen::FieldChanged()
{
    cmdOK->setEnabled(!ComboBox1->currentText().isEmpty());
}

bool TfrmOpen::eventFilter(QObject* watched, QEvent* event)
{
    // The field's own Enter would also pick a list entry; Enter presses OK,
    // which only works while the field holds something.
    if (watched == ComboBox1->lineEdit() && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
        {
            if (cmdOK->isEnabled())
                cmdOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmOpen::cmdBrowseClick()
{
    const QString file =
        m_services
            ? m_services->chooseOpenFile(
                  m_services->GetLangText(Section, QStringLiteral("BrowseTitle")), QDir::homePath(),
                  m_services->GetLangText(Section, QStringLiteral("BrowseFilter")), QString())
            : QString();
    if (!file.isEmpty())
        ComboBox1->setEditText(QDir::toNativeSeparators(file));
    FieldChanged();
}

void TfrmOpen::cmdOKClick()
{
    m_address = ComboBox1->currentText();
    m_newTab = chkNewTab->isChecked() && !chkNewTab->isHidden();
    accept();
}
