#include "groups/TfrmVostelGroup.h"

#include "chrome/TLanguage.h"
#include "components/TreeRows.h"
#include "core/dialogs/WindowServices.h"
#include "groups/TVostelGroup.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

const QString TfrmVostelGroup::LockedMark = QStringLiteral("X");

namespace
{
const QString Section = QStringLiteral("VostelGroups");

// The entry box's place; the dialog's client height follows it, so that the
// box is cut off when hidden and the dialog is ClientHeight high when shown.
constexpr int EntryTop = 284;
constexpr int EntryHeight = TfrmVostelGroup::ClientHeight - 7 - EntryTop;

enum Column
{
    TitleColumn,
    AddressColumn,
    LockedColumn
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& rect)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    return button;
}

QToolButton* makeArrow(QWidget* parent, const char* name, const QString& glyph, const QString& hint,
                       const QRect& rect)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setGeometry(rect);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    // A file name or a tab name is shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

TfrmVostelGroup::TfrmVostelGroup(const QString& fileName, WindowServices* services, QWidget* parent)
    : QDialog(parent), m_fileName(fileName), m_services(services)
{
    setObjectName(QStringLiteral("frmVostelGroup"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));
    CreateControls();
    ConnectHandlers();
    lblVostelGroupName->setText(LangText(Section, QStringLiteral("VostelGroup")) +
                                QStringLiteral(": ") + QFileInfo(fileName).fileName());
    LoadGroup();
    FormCreate();
}

bool TfrmVostelGroup::Organize(QWidget* window, const QString& fileName, const TLanguage* language,
                               WindowServices* services)
{
    TfrmVostelGroup dialog(fileName, services, window);
    if (window)
        dialog.setFont(window->font());
    if (language)
        language->TranslateComponent(&dialog, Section);
    return dialog.exec() == QDialog::Accepted;
}

TfrmVostelGroup::Site TfrmVostelGroup::SiteFromEntry(const QString& name, const QString& value)
{
    Site site;
    if (!name.startsWith(QLatin1String("blank"), Qt::CaseInsensitive))
        site.title = name;
    site.locked = value.startsWith(QLatin1Char('*'));
    site.address = site.locked ? value.mid(1) : value;
    return site;
}

void TfrmVostelGroup::CreateControls()
{
    lblVostelGroupName = makeLabel(this, "lblVostelGroupName", QString(), QRect(8, 6, 470, 18));
    lblTitle =
        makeLabel(this, "lblTitle", QStringLiteral("__StickyMessage"), QRect(8, 25, 470, 34));
    lblTitle->setWordWrap(true);
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lstSites = new QTreeWidget(this);
    lstSites->setObjectName(QStringLiteral("lstSites"));
    lstSites->setGeometry(8, 62, 468, 180);
    lstSites->setRootIsDecorated(false);
    lstSites->setItemsExpandable(false);
    lstSites->setUniformRowHeights(true);
    lstSites->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSites->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSites->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstSites->setSortingEnabled(false);
    lstSites->setColumnCount(3);
    lstSites->setHeaderLabels({QStringLiteral("__StickyNameColumn"),
                               QStringLiteral("__LocationColumn"),
                               QStringLiteral("__LockedColumn")});
    lstSites->header()->setSectionsClickable(false);
    lstSites->header()->setSectionsMovable(false);
    lstSites->header()->setStretchLastSection(false);
    lstSites->setColumnWidth(TitleColumn, 100);
    lstSites->setColumnWidth(AddressColumn, 280);
    lstSites->setColumnWidth(LockedColumn, 75);

    cmdUp = makeArrow(this, "cmdUp", QStringLiteral("\u25B2"), QStringLiteral("~~Up"),
                      QRect(484, 120, 24, 24));
    cmdDown = makeArrow(this, "cmdDown", QStringLiteral("\u25BC"), QStringLiteral("~~Down"),
                        QRect(484, 150, 24, 24));

    cmdOk = makeButton(this, "cmdOk", QStringLiteral("~~OK"), QRect(483, 8, 80, 25));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("~~Cancel"), QRect(483, 39, 80, 25));
    cmdInsert = makeButton(this, "cmdInsert", QStringLiteral("~~Insert"), QRect(8, 250, 100, 25));
    cmdUpdate = makeButton(this, "cmdUpdate", QStringLiteral("~~Update"), QRect(114, 250, 100, 25));
    cmdDelete = makeButton(this, "cmdDelete", QStringLiteral("~~Delete"), QRect(220, 250, 100, 25));
    cmdUpdate->setEnabled(false);
    cmdDelete->setEnabled(false);

    CreateEntryBox();
    setFixedSize(ClientWidth, ClientHeight);
}

void TfrmVostelGroup::CreateEntryBox()
{
    GroupBox1 = new QGroupBox(QStringLiteral("__Entry"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, EntryTop, ClientWidth - 16, EntryHeight);

    lblStickyName = makeLabel(GroupBox1, "lblStickyName", QStringLiteral("__StickyName"),
                              QRect(10, 20, 86, 20));
    edtTitle = new QLineEdit(GroupBox1);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtTitle->setGeometry(100, 18, 330, 22);
    lblStickyName->setBuddy(edtTitle);

    lblLocation =
        makeLabel(GroupBox1, "lblLocation", QStringLiteral("__Location"), QRect(10, 44, 86, 20));
    edtLocation = new QLineEdit(GroupBox1);
    edtLocation->setObjectName(QStringLiteral("edtLocation"));
    edtLocation->setGeometry(100, 42, 330, 22);
    lblLocation->setBuddy(edtLocation);

    chkTabLocked = new QCheckBox(QStringLiteral("__TabLocked"), GroupBox1);
    chkTabLocked->setObjectName(QStringLiteral("chkTabLocked"));
    chkTabLocked->setGeometry(100, 65, 330, 18);

    cmdUrlInsert =
        makeButton(GroupBox1, "cmdUrlInsert", QStringLiteral("~~Insert"), QRect(445, 16, 98, 25));
    cmdUrlCancel =
        makeButton(GroupBox1, "cmdUrlCancel", QStringLiteral("~~Cancel"), QRect(445, 47, 98, 25));
}

void TfrmVostelGroup::ConnectHandlers()
{
    connect(lstSites, &QTreeWidget::itemSelectionChanged, this, &TfrmVostelGroup::lstSitesEnter);
    connect(lstSites, &QTreeWidget::itemClicked, this, &TfrmVostelGroup::lstSitesEnter);
    connect(cmdInsert, &QPushButton::clicked, this, &TfrmVostelGroup::cmdInsertClick);
    connect(cmdUpdate, &QPushButton::clicked, this, &TfrmVostelGroup::cmdUpdateClick);
    connect(cmdDelete, &QPushButton::clicked, this, &TfrmVostelGroup::cmdDeleteClick);
    connect(cmdUp, &QToolButton::clicked, this, &TfrmVostelGroup::cmdUpClick);
    connect(cmdDown, &QToolButton::clicked, this, &TfrmVostelGroup::cmdDownClick);
    connect(cmdOk, &QPushButton::clicked, this, &TfrmVostelGroup::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdUrlInsert, &QPushButton::clicked, this, &TfrmVostelGroup::cmdUrlInsertClick);
    connect(cmdUrlCancel, &QPushButton::clicked, this, &TfrmVostelGroup::cmdUrlCancelClick);
}

void TfrmVostelGroup::LoadGroup()
{
    const TVostelGroup group(m_services, m_fileName);
    for (qsizetype i = 0; i < group.size(); ++i)
        InsertRow(lstSites->topLevelItemCount(), SiteFromEntry(group.Name(i), group.Value(i)));
}

void TfrmVostelGroup::FormCreate()
{
    ShowEntryBox(false);
    lstSitesEnter();
}

void TfrmVostelGroup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

QString TfrmVostelGroup::LangText(const QString& section, const QString& key) const
{
    return m_services ? m_services->GetLangText(section, key)
                      : TLanguage().GetLangText(section, key);
}

bool TfrmVostelGroup::EntryBoxVisible() const
{
    return GroupBox1->isVisibleTo(this);
}

void TfrmVostelGroup::ShowEntryBox(bool show)
{
    GroupBox1->setVisible(show);
    setFixedSize(ClientWidth, show ? GroupBox1->y() + GroupBox1->height() + 7 : GroupBox1->y() - 2);
    // Enter in the edits confirms the page rather than closing the dialog
    // with the typed page left out.
    cmdUrlInsert->setDefault(show);
    cmdOk->setDefault(!show);
}

void TfrmVostelGroup::SetRow(QTreeWidgetItem* item, const Site& site)
{
    item->setText(TitleColumn, site.title);
    item->setText(AddressColumn, site.address);
    item->setText(LockedColumn, site.locked ? LockedMark : QString());
}

void TfrmVostelGroup::InsertRow(int index, const Site& site)
{
    auto* item = new QTreeWidgetItem;
    SetRow(item, site);
    lstSites->insertTopLevelItem(index, item);
}

QList<TfrmVostelGroup::Site> TfrmVostelGroup::Sites() const
{
    QList<Site> sites;
    sites.reserve(lstSites->topLevelItemCount());
    for (int i = 0; i < lstSites->topLevelItemCount(); ++i)
    {
        const QTreeWidgetItem* item = lstSites->topLevelItem(i);
        sites << Site{item->text(TitleColumn), item->text(AddressColumn),
                      item->text(LockedColumn) == LockedMark};
    }
    return sites;
}

int TfrmVostelGroup::SelectedRow() const
{
    return TreeRows::Selected(lstSites);
}

void TfrmVostelGroup::lstSitesEnter()
{
    // While the entry box is open the row it changes must stay where it is:
    // a deleted or moved row would take the change to another page, or to
    // none at all.
    const bool editing = EntryBoxVisible();
    const bool selected = SelectedRow() >= 0 && !editing;
    cmdInsert->setEnabled(!editing);
    cmdUpdate->setEnabled(selected);
    cmdDelete->setEnabled(selected);
    cmdUp->setEnabled(selected);
    cmdDown->setEnabled(selected);
}

void TfrmVostelGroup::OpenEntryBox(const QString& title, const QString& address, bool locked,
                                   const QString& confirmKey)
{
    ShowEntryBox(true);
    edtTitle->setText(title);
    edtLocation->setText(address);
    chkTabLocked->setChecked(locked);
    edtTitle->setFocus();
    cmdUrlInsert->setText(LangText(TLanguage::GlobalSection(), confirmKey));
    lstSitesEnter();
}

void TfrmVostelGroup::cmdInsertClick()
{
    m_inserting = true;
    OpenEntryBox(QString(), QString(), false, QStringLiteral("Insert"));
}

void TfrmVostelGroup::cmdUpdateClick()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    m_inserting = false;
    m_editIndex = row;
    const QTreeWidgetItem* item = lstSites->topLevelItem(row);
    OpenEntryBox(item->text(TitleColumn), item->text(AddressColumn),
                 item->text(LockedColumn) == LockedMark, QStringLiteral("Update"));
}

void TfrmVostelGroup::cmdUrlInsertClick()
{
    // The file drops surrounding blanks; the row shows what will be kept,
    // and a name of blanks only counts as no name.
    const Site site{edtTitle->text().trimmed(), edtLocation->text().trimmed(),
                    chkTabLocked->isChecked()};
    if (site.address.isEmpty())
        return;
    if (m_inserting)
    {
        InsertRow(lstSites->topLevelItemCount(), site);
    }
    else
    {
        QTreeWidgetItem* item = lstSites->topLevelItem(m_editIndex);
        if (!item)
            return;
        SetRow(item, site);
    }
    cmdUrlCancelClick();
}

void TfrmVostelGroup::cmdUrlCancelClick()
{
    ShowEntryBox(false);
    lstSites->setFocus();
    lstSitesEnter();
}

void TfrmVostelGroup::cmdDeleteClick()
{
    if (!EntryBoxVisible())
        TreeRows::RemoveSelected(lstSites);
    lstSitesEnter();
}

void TfrmVostelGroup::MoveSelected(int step)
{
    if (!EntryBoxVisible() && TreeRows::MoveSelected(lstSites, step))
        lstSitesEnter();
}

void TfrmVostelGroup::cmdUpClick()
{
    MoveSelected(-1);
}

void TfrmVostelGroup::cmdDownClick()
{
    MoveSelected(1);
}

void TfrmVostelGroup::cmdOkClick()
{
    // Read again rather than kept from the start: the file's other sections
    // may have changed meanwhile, and Save leaves them as they now are.
    TVostelGroup group(m_services, m_fileName);
    group.clear();
    for (const Site& site : Sites())
    {
        // A title of nothing but "=" and blanks would be saved under an empty
        // key, which a second such row would share and overwrite: it counts
        // as no title, and so gets a key of its own.
        const bool noTitle = QString(site.title).remove(QLatin1Char('=')).trimmed().isEmpty();
        group.AddSite(noTitle ? QString() : site.title, site.address, site.locked);
    }
    // A save that was cancelled or failed (and was reported) leaves the
    // dialog open, so that the edited pages can still be saved.
    if (!group.Save())
        return;
    m_fileName = group.FileName();
    accept();
}
