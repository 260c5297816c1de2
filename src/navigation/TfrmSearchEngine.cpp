#include "navigation/TfrmSearchEngine.h"

#include "chrome/TLanguage.h"
#include "components/TreeRows.h"
#include "core/settings/TQWOptions.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

namespace
{
// The edit group's place; the form's client height follows it.
constexpr int GroupTop = 214;
constexpr int GroupHeight = 91;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& rect)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    return button;
}
} // namespace

TfrmSearchEngine::TfrmSearchEngine(QWidget* owner, int mode, TQWOptions* options,
                                   const TLanguage* language)
    : QDialog(owner), m_mode(qBound(0, mode, 2)), m_options(options), m_language(language)
{
    setObjectName(QStringLiteral("frmSearchEngine"));
    setModal(true);
    CreateControls();
    if (m_language)
    {
        m_language->TranslateComponent(this, m_mode == TSearchLists::ModeQuickSearch
                                                 ? QStringLiteral("QUICK_SEARCH")
                                                 : QStringLiteral("SEARCH_ENGINE"));
        if (m_mode == TSearchLists::ModeSearchBar)
            setWindowTitle(m_language->GetLangText(QStringLiteral("SEARCH_ENGINE"),
                                                   QStringLiteral("OrganizeSearchBar")));
        else if (m_mode == TSearchLists::ModeSearchEngines)
            setWindowTitle(m_language->GetLangText(QStringLiteral("SEARCH_ENGINE"),
                                                   QStringLiteral("OrganizeSearchEngines")));
        else
            setWindowTitle(m_language->GetLangText(QStringLiteral("QUICK_SEARCH"),
                                                   QStringLiteral("OrganizeQuickSearch")));
    }
    FormCreate();
}

TfrmSearchEngine::~TfrmSearchEngine()
{
    lstEngines->clear();
}

bool TfrmSearchEngine::Organize(QWidget* owner, int mode, TQWOptions* options,
                                const TLanguage* language)
{
    TfrmSearchEngine dialog(owner, mode, options, language);
    if (owner)
        dialog.setFont(owner->font());
    return dialog.exec() == QDialog::Accepted;
}

void TfrmSearchEngine::CreateControls()
{
    lstEngines = new QTreeWidget(this);
    lstEngines->setObjectName(QStringLiteral("lstEngines"));
    lstEngines->setGeometry(8, 8, 464, 168);
    lstEngines->setRootIsDecorated(false);
    lstEngines->setItemsExpandable(false);
    lstEngines->setSelectionMode(QAbstractItemView::SingleSelection);
    lstEngines->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstEngines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstEngines->setSortingEnabled(false);
    lstEngines->setColumnCount(2);
    lstEngines->setHeaderLabels(
        {QStringLiteral("__TitleColumn"), QStringLiteral("__LocationColumn")});
    lstEngines->header()->setSectionsClickable(false);
    lstEngines->header()->setSectionsMovable(false);
    lstEngines->setColumnWidth(0, 100);
    lstEngines->setColumnWidth(1, 360);
    connect(lstEngines, &QTreeWidget::itemSelectionChanged, this, &TfrmSearchEngine::UpdateButtons);

    cmdUp = new QToolButton(this);
    cmdUp->setObjectName(QStringLiteral("cmdUp"));
    cmdUp->setText(QStringLiteral("\u25B2"));
    cmdUp->setToolTip(QStringLiteral("~~Up"));
    cmdUp->setAutoRaise(true);
    cmdUp->setGeometry(478, 60, 24, 24);
    cmdDown = new QToolButton(this);
    cmdDown->setObjectName(QStringLiteral("cmdDown"));
    cmdDown->setText(QStringLiteral("\u25BC"));
    cmdDown->setToolTip(QStringLiteral("~~Down"));
    cmdDown->setAutoRaise(true);
    cmdDown->setGeometry(478, 90, 24, 24);

    cmdOk = makeButton(this, "cmdOk", QStringLiteral("~~OK"), QRect(506, 8, 70, 25));
    cmdOk->setDefault(true);
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("~~Cancel"), QRect(506, 40, 70, 25));
    cmdInsert = makeButton(this, "cmdInsert", QStringLiteral("~~Insert"), QRect(8, 182, 80, 25));
    cmdUpdate = makeButton(this, "cmdUpdate", QStringLiteral("~~Update"), QRect(94, 182, 80, 25));
    cmdDelete = makeButton(this, "cmdDelete", QStringLiteral("~~Delete"), QRect(180, 182, 80, 25));

    GroupBox1 = new QGroupBox(QStringLiteral("__Entry"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, GroupTop, ClientWidth - 16, GroupHeight);
    lblTitle = new QLabel(QStringLiteral("__Title"), GroupBox1);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(10, 24, 74, 20);
    edtTitle = new QLineEdit(GroupBox1);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtTitle->setGeometry(88, 22, 370, 22);
    lblTitle->setBuddy(edtTitle);
    lblLocation = new QLabel(QStringLiteral("__Location"), GroupBox1);
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    lblLocation->setGeometry(10, 54, 74, 20);
    edtLocation = new QLineEdit(GroupBox1);
    edtLocation->setObjectName(QStringLiteral("edtLocation"));
    edtLocation->setGeometry(88, 52, 370, 22);
    lblLocation->setBuddy(edtLocation);
    cmdUrlInsert =
        makeButton(GroupBox1, "cmdUrlInsert", QStringLiteral("~~Insert"), QRect(470, 20, 88, 25));
    cmdUrlCancel =
        makeButton(GroupBox1, "cmdUrlCancel", QStringLiteral("~~Cancel"), QRect(470, 52, 88, 25));

    connect(cmdInsert, &QPushButton::clicked, this, &TfrmSearchEngine::cmdInsertClick);
    connect(cmdUpdate, &QPushButton::clicked, this, &TfrmSearchEngine::cmdUpdateClick);
    connect(cmdDelete, &QPushButton::clicked, this, &TfrmSearchEngine::cmdDeleteClick);
    connect(cmdUp, &QToolButton::clicked, this, &TfrmSearchEngine::cmdUpClick);
    connect(cmdDown, &QToolButton::clicked, this, &TfrmSearchEngine::cmdDownClick);
    connect(cmdOk, &QPushButton::clicked, this, &TfrmSearchEngine::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdUrlInsert, &QPushButton::clicked, this, &TfrmSearchEngine::cmdUrlInsertClick);
    connect(cmdUrlCancel, &QPushButton::clicked, this, &TfrmSearchEngine::cmdUrlCancelClick);
}

void TfrmSearchEngine::FormCreate()
{
    ShowEditGroup(false);
    if (m_options)
        for (const TSearchLists::Entry& entry : TSearchLists::Read(*m_options, m_mode))
            InsertRow(lstEngines->topLevelItemCount(), entry);
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);
    UpdateButtons();
}

void TfrmSearchEngine::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QString TfrmSearchEngine::GlobalText(const QString& key, const QString& fallback) const
{
    if (!m_language)
        return fallback;
    const QString text = m_language->GetGlobalText(key);
    return text.startsWith(QLatin1String("UNDEFINED: ")) ? fallback : text;
}

bool TfrmSearchEngine::EditGroupVisible() const
{
    return GroupBox1->isVisibleTo(this);
}

void TfrmSearchEngine::ShowEditGroup(bool show)
{
    GroupBox1->setVisible(show);
    setFixedSize(ClientWidth, show ? GroupTop + GroupHeight + 7 : GroupTop - 2);
    // Enter in the edits confirms the entry instead of closing the dialog.
    cmdUrlInsert->setDefault(show);
    cmdOk->setDefault(!show);
}

void TfrmSearchEngine::InsertRow(int index, const TSearchLists::Entry& entry)
{
    auto* item = new QTreeWidgetItem({entry.title, entry.address});
    lstEngines->insertTopLevelItem(index, item);
}

QList<TSearchLists::Entry> TfrmSearchEngine::Rows() const
{
    QList<TSearchLists::Entry> rows;
    for (int i = 0; i < lstEngines->topLevelItemCount(); ++i)
    {
        const QTreeWidgetItem* item = lstEngines->topLevelItem(i);
        rows << TSearchLists::Entry{item->text(0), item->text(1)};
    }
    return rows;
}

int TfrmSearchEngine::SelectedRow() const
{
    return TreeRows::Selected(lstEngines);
}

void TfrmSearchEngine::UpdateButtons()
{
    // While the edit group is open its row must stay where it is: nothing
    // may delete or move it under the pending change.
    const bool editing = EditGroupVisible();
    const bool selected = SelectedRow() >= 0 && !editing;
    cmdInsert->setEnabled(!editing);
    cmdUpdate->setEnabled(selected);
    cmdDelete->setEnabled(selected);
    cmdUp->setEnabled(selected);
    cmdDown->setEnabled(selected);
}

void TfrmSearchEngine::cmdInsertClick()
{
    m_inserting = true;
    ShowEditGroup(true);
    edtTitle->clear();
    edtLocation->clear();
    edtTitle->setFocus();
    cmdUrlInsert->setText(GlobalText(QStringLiteral("Insert"), QStringLiteral("Insert")));
    UpdateButtons();
}

void TfrmSearchEngine::cmdUpdateClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    m_inserting = false;
    m_editIndex = row;
    ShowEditGroup(true);
    const QTreeWidgetItem* item = lstEngines->topLevelItem(row);
    edtTitle->setText(item->text(0));
    edtLocation->setText(item->text(1));
    edtTitle->setFocus();
    cmdUrlInsert->setText(GlobalText(QStringLiteral("Update"), QStringLiteral("Update")));
    UpdateButtons();
}

void TfrmSearchEngine::cmdUrlInsertClick()
{
    const QString title = edtTitle->text().trimmed();
    const QString address = edtLocation->text().trimmed();
    edtTitle->setText(title);
    edtLocation->setText(address);
    // The address box splits a quick search at its first blank.
    if (m_mode == TSearchLists::ModeQuickSearch && title.contains(QLatin1Char(' ')))
        return;
    if (address.isEmpty() || title.isEmpty())
        return;
    if (m_inserting)
    {
        InsertRow(lstEngines->topLevelItemCount(), {title, address});
    }
    else
    {
        QTreeWidgetItem* item = lstEngines->topLevelItem(m_editIndex);
        if (!item)
            return;
        item->setText(0, title);
        item->setText(1, address);
    }
    cmdUrlCancelClick();
}

void TfrmSearchEngine::cmdUrlCancelClick()
{
    ShowEditGroup(false);
    lstEngines->setFocus();
    UpdateButtons();
}

void TfrmSearchEngine::cmdDeleteClick()
{
    if (!EditGroupVisible())
        TreeRows::RemoveSelected(lstEngines);
    UpdateButtons();
}

void TfrmSearchEngine::MoveSelected(int step)
{
    if (!EditGroupVisible() && TreeRows::MoveSelected(lstEngines, step))
        UpdateButtons();
}

void TfrmSearchEngine::cmdUpClick()
{
    MoveSelected(-1);
}

void TfrmSearchEngine::cmdDownClick()
{
    MoveSelected(1);
}

void TfrmSearchEngine::cmdOkClick()
{
    if (m_options)
        TSearchLists::Write(*m_options, m_mode, Rows());
    accept();
}
