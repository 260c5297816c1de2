#include "core/dialogs/TfrmCloseAll.h"

#include "chrome/TLanguage.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmCloseAll::TfrmCloseAll(TTabSet* tabSet, const TLanguage* language, QWidget* parent)
    : QDialog(parent), m_tabSet(tabSet)
{
    setObjectName(QStringLiteral("frmCloseAll"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));

    lblPrompt = new QLabel(QStringLiteral("__Prompt"), this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    lblPrompt->setBuddy(CheckListBox1);

    cmdSelectAll = new QPushButton(QStringLiteral("__SelectAll"), this);
    cmdSelectAll->setObjectName(QStringLiteral("cmdSelectAll"));
    cmdDeselectAll = new QPushButton(QStringLiteral("__DeselectAll"), this);
    cmdDeselectAll->setObjectName(QStringLiteral("cmdDeselectAll"));
    cmdClose = new QPushButton(QStringLiteral("__Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("~~Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* side = new QVBoxLayout;
    side->addWidget(cmdSelectAll);
    side->addWidget(cmdDeselectAll);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(CheckListBox1, 1);
    middle->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    connect(cmdSelectAll, &QPushButton::clicked, this, &TfrmCloseAll::cmdSelectAllClick);
    connect(cmdDeselectAll, &QPushButton::clicked, this, &TfrmCloseAll::cmdDeselectAllClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmCloseAll::cmdCloseClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (language)
        language->TranslateComponent(this, QStringLiteral("CLOSE_ALL_LIST"));
    FormCreate();
}

void TfrmCloseAll::FormCreate()
{
    if (!m_tabSet)
        return;
    // Captured pop-ups are about to go and were never seen.
    m_tabSet->CloseKilledTabs();
    for (int i = 0; i < m_tabSet->Count(); ++i)
    {
        TBrowserTab* tab = m_tabSet->Tab(i);
        if (!tab)
            continue;
        const QString text = tab->StickyName().isEmpty() ? tab->Hint() : tab->StickyName();
        auto* line = new QListWidgetItem(text, CheckListBox1);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Checked);
        line->setToolTip(tab->GetLocationURL());
        m_lineTabs.append(tab);
    }
}

TBrowserTab* TfrmCloseAll::LineTab(int line) const
{
    return line >= 0 && line < m_lineTabs.size() ? m_lineTabs.at(line).data() : nullptr;
}

void TfrmCloseAll::SetAllChecked(bool checked)
{
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmCloseAll::cmdSelectAllClick()
{
    SetAllChecked(true);
}

void TfrmCloseAll::cmdDeselectAllClick()
{
    SetAllChecked(false);
}

void TfrmCloseAll::cmdCloseClick()
{
    if (m_tabSet && !m_tabSet->GroupOpening)
    {
        for (int i = CheckListBox1->count() - 1; i >= 0; --i)
        {
            // A tab that went while the dialog was open is not there to close.
            if (CheckListBox1->item(i)->checkState() == Qt::Checked)
                m_tabSet->CloseTab(LineTab(i));
        }
    }
    accept();
}
