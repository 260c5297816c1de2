#include "chrome/TfrmOptions.h"

#include "chrome/IOptionsHost.h"
#include "chrome/PopupPatternList.h"
#include "chrome/TLanguage.h"
#include "chrome/TabColorsPage.h"
#include "core/dialogs/WindowServices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

const QString TfrmOptions::Section = QStringLiteral("OPTIONS");

namespace
{
// The boxes that stand for one flag each, in page order.
struct FlagBox
{
    TfrmOptions::Page page;
    const char* name;
    const char* caption;
    bool OptionsValues::*value;
};
// clang-format off
const FlagBox FlagBoxes[] = {
    {TfrmOptions::PageGeneral, "chkAllowMultiInstance", "__AllowMultiInstance", &OptionsValues::AllowMultiInstance},
    {TfrmOptions::PageGeneral, "chkMinToTray", "__MinToTray", &OptionsValues::MinToTray},
    {TfrmOptions::PageGeneral, "chkVBAutoExpand", "__CloseUnusedFolders", &OptionsValues::VBAutoExpand},
    {TfrmOptions::PageGeneral, "chkDisableAltShortcuts", "__DisableAlt", &OptionsValues::DisableALTShortcuts},
    {TfrmOptions::PageGeneral, "chkToolbarShowColor", "__ColorToolbars", &OptionsValues::ToolbarShowColor},
    {TfrmOptions::PageGeneral, "chkVersionCheck", "__VersionCheck", &OptionsValues::VersionCheck},
    {TfrmOptions::PageGeneral, "chkLoadBHOs", "__LoadBrowserHelperObjects", &OptionsValues::LoadBHOs},
    {TfrmOptions::PageBrowserTabs, "chkMultipleLines", "__MultipleLines", &OptionsValues::MultipleLines},
    {TfrmOptions::PageBrowserTabs, "chkTabsDown", "__TabsDown", &OptionsValues::TabsDown},
    {TfrmOptions::PageBrowserTabs, "chkOpenInFront", "__NewInFront", &OptionsValues::OpenNewInForeground},
    {TfrmOptions::PageBrowserTabs, "chkKoncoGroupsCloseOthersFirst", "__CloseOnVGOpen", &OptionsValues::VGCloseFirst},
    {TfrmOptions::PageBrowserTabs, "chkOpenNewAtEnd", "__OpenAtEnd", &OptionsValues::OpenNewAtEnd},
    {TfrmOptions::PageBrowserTabs, "chkLoadTabsOnShow", "__LoadTabsOnShow", &OptionsValues::LoadTabsOnShow},
    {TfrmOptions::PagePopupVostel, "chkUsePopupVostel", "__UsePopupVostel", &OptionsValues::UsePopupVostel},
    {TfrmOptions::PageAddressBar, "chkShowGo", "__ShowGoButton", &OptionsValues::ShowGo},
    {TfrmOptions::PageConfirmation, "chkConfirmCloseAll", "__ConfirmCloseAll", &OptionsValues::ConfirmCloseAll},
    {TfrmOptions::PageConfirmation, "chkConfirmShutdown", "__ConfirmShutdown", &OptionsValues::ConfirmShutdown},
    {TfrmOptions::PageConfirmation, "chkPopupVostelNotify", "__PopupVostelNotify", &OptionsValues::PopupVostelNotify},
    {TfrmOptions::PageFavorites, "chkBreakFavorites", "__BreakFavoritesMenu", &OptionsValues::BreakFavorites},
    {TfrmOptions::PageFavorites, "chkUseCustomIcons", "__UseCustomIcons", &OptionsValues::UseCustomIcons},
    {TfrmOptions::PageFavorites, "chkShowOpenAllFavorites", "__ShowOpenAllFavorites", &OptionsValues::ShowOpenAllFavorites},
    {TfrmOptions::PageDefBrowser, "chkDefaultBrowser", "__AskDefaultBrowser", &OptionsValues::AskDefaultBrowser},
};
// clang-format on

// Start-up modes by the id of their radio button.
const QStringList StartupModes = {QStringLiteral("Home"), QStringLiteral("Last"),
                                  QStringLiteral("VostelGroup"), QStringLiteral("Blank")};
constexpr int StartupGroupId = 2;

// The completion edits in their grid order: Ctrl, Shift, Ctrl+Shift, each
// with the text before and after.
const std::array<const char*, 6> CompletionNames = {"edtCtrlPre",      "edtCtrlPost",
                                                    "edtShiftPre",     "edtShiftPost",
                                                    "edtCtrlShiftPre", "edtCtrlShiftPost"};
const std::array<QString OptionsValues::*, 6> CompletionValues = {
    &OptionsValues::CtrlPre,   &OptionsValues::CtrlPost,     &OptionsValues::ShiftPre,
    &OptionsValues::ShiftPost, &OptionsValues::CtrlShiftPre, &OptionsValues::CtrlShiftPost};

const std::array<const char*, OptionsValues::NewTabSourceCount> NewTabRows = {
    "NewFromFavorites", "NewFromHistory", "NewFromSearch",
    "NewFromLinks",     "NewFromAddress", "NewFromQuickSearch"};

QLabel* addLabel(QVBoxLayout* layout, const char* placeholder)
{
    auto* label = new QLabel(QLatin1String(placeholder));
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

Qt::CheckState checkState(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}
} // namespace

TfrmOptions::TfrmOptions(IOptionsHost* host, const TLanguage* language, QWidget* parent)
    : QDialog(parent), m_host(host), m_language(language)
{
    setObjectName(QStringLiteral("frmOptions"));
    setModal(true);
    setWindowTitle(QStringLiteral("__Caption"));
    if (parent)
        setFont(parent->font());
    CreateControls();
    if (m_language)
        m_language->TranslateComponent(this, Section);
    if (m_host)
        m_before = m_host->CurrentOptions();
    Fill(m_before);
    tvOptions->topLevelItem(1)->setExpanded(true);
    tvOptions->setCurrentItem(tvOptions->topLevelItem(0));
}

QString TfrmOptions::Text(const QString& key) const
{
    const QString placeholder = QStringLiteral("__") + key;
    return m_language ? m_language->TranslateText(placeholder, Section) : placeholder;
}

WindowServices* TfrmOptions::Services()
{
    if (WindowServices* services = WindowServices::of(parentWidget()))
        return services;
    if (!m_ownServices)
        m_ownServices = new WindowServices(m_language, static_cast<QWidget*>(this));
    return m_ownServices;
}

void TfrmOptions::CreateControls()
{
    CreateTree();
    pgOptions = new QStackedWidget(this);
    pgOptions->setObjectName(QStringLiteral("pgOptions"));
    pgOptions->setMinimumSize(420, 360);
    CreateBoxes();
    CreateBrowserTabsPage();
    m_colors =
        new TabColorsPage(Text(QStringLiteral("ActiveTab")), Text(QStringLiteral("InactiveTab")));
    m_colors->setObjectName(QStringLiteral("tsColors"));
    m_pages[PageColors] = m_colors;
    CreateNewTabsPage();
    CreateStartupPage();
    CreateCompletionPage();
    CreatePopupPage();
    CreateAddressBarPage();
    CreateDefBrowserPage();
    for (QWidget* page : m_pages)
        if (page)
            pgOptions->addWidget(page);
    for (QVBoxLayout* layout : m_layouts)
        if (layout)
            layout->addStretch(1);

    cmdOK = new QPushButton(QStringLiteral("~~OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("~~Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, &TfrmOptions::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* grid = new QGridLayout(this);
    grid->addWidget(tvOptions, 0, 0);
    grid->addWidget(pgOptions, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmOptions::CreateTree()
{
    tvOptions = new QTreeWidget(this);
    tvOptions->setObjectName(QStringLiteral("tvOptions"));
    tvOptions->setHeaderHidden(true);
    tvOptions->setRootIsDecorated(true);
    tvOptions->setFixedWidth(170);
    const auto node = [this](QTreeWidgetItem* parent, const char* text, Page page)
    {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvOptions);
        item->setText(0, QLatin1String(text));
        item->setData(0, Qt::UserRole, int(page));
        return item;
    };
    node(nullptr, "__SecGeneral", PageGeneral);
    QTreeWidgetItem* tabs = node(nullptr, "__SecBrowserTabs", PageBrowserTabs);
    node(tabs, "__SecTabColors", PageColors);
    node(tabs, "__SecNewTabs", PageNewTabs);
    node(nullptr, "__SecStartup", PageStartup);
    node(nullptr, "__SecDomainCompletion", PageAddressCompletion);
    node(nullptr, "__SecPopupVostel", PagePopupVostel);
    node(nullptr, "__SecAddressBar", PageAddressBar);
    node(nullptr, "__SecConfirmations", PageConfirmation);
    node(nullptr, "__SecFavorites", PageFavorites);
    node(nullptr, "__SecDefBrowser", PageDefBrowser);
    connect(tvOptions, &QTreeWidget::currentItemChanged, this, &TfrmOptions::tvOptionsChange);
}

void TfrmOptions::AddPage(Page page, const char* name)
{
    m_pages[page] = new QWidget;
    m_pages[page]->setObjectName(QLatin1String(name));
    m_layouts[page] = new QVBoxLayout(m_pages[page]);
}

void TfrmOptions::CreateBoxes()
{
    static const char* const PageNames[PageCount] = {
        "tsGeneral", "tsBrowserTabs",       "tsColors",      "tsNewBrowserTabs",
        "tsStartup", "tsAddressCompletion", "tsPopupVostel", "tsAddressBar",
        nullptr,     "tsConfirmation",      "tsFavorites",   "tsDefBrowser"};
    for (int page = 0; page < PageCount; ++page)
        if (PageNames[page] && page != PageColors)
            AddPage(Page(page), PageNames[page]);
    for (const FlagBox& flag : FlagBoxes)
    {
        auto* box = new QCheckBox(QLatin1String(flag.caption), m_pages[flag.page]);
        box->setObjectName(QLatin1String(flag.name));
        m_layouts[flag.page]->addWidget(box);
        m_boxes.append({box, flag.value});
    }
    chkMinToTray = m_pages[PageGeneral]->findChild<QCheckBox*>(QStringLiteral("chkMinToTray"));
    chkBreakFavorites =
        m_pages[PageFavorites]->findChild<QCheckBox*>(QStringLiteral("chkBreakFavorites"));
}

void TfrmOptions::CreateBrowserTabsPage()
{
    QWidget* page = m_pages[PageBrowserTabs];
    chkLimitTitles = new QCheckBox(QStringLiteral("__LimitTitleLength"), page);
    chkLimitTitles->setObjectName(QStringLiteral("chkLimitTitles"));
    spnMaxTitle = new QSpinBox(page);
    spnMaxTitle->setObjectName(QStringLiteral("spnMaxTitle"));
    spnMaxTitle->setRange(1, 100);
    auto* row = new QHBoxLayout;
    row->addWidget(chkLimitTitles);
    row->addWidget(spnMaxTitle);
    row->addStretch(1);
    m_layouts[PageBrowserTabs]->addLayout(row);
    connect(chkLimitTitles, &QCheckBox::clicked, this, &TfrmOptions::chkLimitTitlesClick);
}

QButtonGroup* TfrmOptions::AddRadios(QVBoxLayout* layout, std::initializer_list<Radio> radios)
{
    auto* group = new QButtonGroup(this);
    for (const Radio& radio : radios)
    {
        auto* button = new QRadioButton(QLatin1String(radio.caption));
        button->setObjectName(QLatin1String(radio.name));
        layout->addWidget(button);
        group->addButton(button, radio.id);
    }
    return group;
}

QListWidget* TfrmOptions::AddCheckList(QVBoxLayout* layout, const char* name)
{
    auto* list = new QListWidget;
    list->setObjectName(QLatin1String(name));
    layout->addWidget(list);
    return list;
}

void TfrmOptions::CreateNewTabsPage()
{
    QVBoxLayout* layout = m_layouts[PageNewTabs];
    addLabel(layout, "__NewActionLabel");
    m_newAction = AddRadios(layout, {{"radNewActionBlank", "__NewBlank", 0},
                                     {"radNewActionCurrent", "__NewCurrent", 1},
                                     {"radNewActionHome", "__NewHome", 2}});
    addLabel(layout, "__NewTabsLabel");
    clbNewTabs = AddCheckList(layout, "clbNewTabs");
    for (const char* row : NewTabRows)
    {
        auto* item = new QListWidgetItem(Text(QLatin1String(row)), clbNewTabs);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(clbNewTabs, &QListWidget::itemChanged, this, &TfrmOptions::clbNewTabsClickCheck);
}

void TfrmOptions::CreateStartupPage()
{
    QVBoxLayout* layout = m_layouts[PageStartup];
    addLabel(layout, "__StartupLabel");
    m_startupMode = AddRadios(layout, {{"rdoStartupHome", "__StartupHome", 0},
                                       {"rdoStartupLast", "__StartupLast", 1},
                                       {"rdoStartupKoncoGroup", "__StartupVostelGroup", 2}});
    rdoStartupKoncoGroup = static_cast<QRadioButton*>(m_startupMode->button(StartupGroupId));
    edtStartupKoncoGroup = new QLineEdit;
    edtStartupKoncoGroup->setObjectName(QStringLiteral("edtStartupKoncoGroup"));
    cmdStartKoncoGroup = new QPushButton(QStringLiteral("__Browse"));
    cmdStartKoncoGroup->setObjectName(QStringLiteral("cmdStartKoncoGroup"));
    auto* row = new QHBoxLayout;
    row->addSpacing(20);
    row->addWidget(edtStartupKoncoGroup, 1);
    row->addWidget(cmdStartKoncoGroup);
    layout->addLayout(row);
    auto* blank = new QRadioButton(QStringLiteral("__StartupBlank"));
    blank->setObjectName(QStringLiteral("rdoStartupBlank"));
    layout->addWidget(blank);
    m_startupMode->addButton(blank, 3);
    connect(m_startupMode, &QButtonGroup::buttonClicked, this, &TfrmOptions::rdoStartupClick);
    connect(cmdStartKoncoGroup, &QPushButton::clicked, this, &TfrmOptions::cmdStartKoncoGroupClick);
}

void TfrmOptions::CreateCompletionPage()
{
    QVBoxLayout* layout = m_layouts[PageAddressCompletion];
    addLabel(layout, "__CompletionInfo");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("__Prefix")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("__Suffix")), 0, 2);
    const char* const keys[] = {"__CtrlEnter", "__ShiftEnter", "__CtrlShiftEnter"};
    for (int row = 0; row < 3; ++row)
    {
        grid->addWidget(new QLabel(QLatin1String(keys[row])), row + 1, 0);
        for (int column = 0; column < 2; ++column)
        {
            QLineEdit*& edit = m_completion[row * 2 + column];
            edit = new QLineEdit;
            edit->setObjectName(QLatin1String(CompletionNames[row * 2 + column]));
            grid->addWidget(edit, row + 1, column + 1);
        }
    }
    layout->addLayout(grid);
}

void TfrmOptions::CreatePopupPage()
{
    QVBoxLayout* layout = m_layouts[PagePopupVostel];
    addLabel(layout, "__PopupVostelInfo");
    const QString newItem = QStringLiteral("~~NewItem");
    m_patterns =
        new PopupPatternList(m_language ? m_language->TranslateText(newItem, Section) : newItem);
    layout->addWidget(m_patterns, 1);
}

void TfrmOptions::CreateAddressBarPage()
{
    QVBoxLayout* layout = m_layouts[PageAddressBar];
    chkAddressNewWin = new QCheckBox(QStringLiteral("__AddressNew"));
    chkAddressNewWin->setObjectName(QStringLiteral("chkAddressNewWin"));
    layout->addWidget(chkAddressNewWin);
    connect(chkAddressNewWin, &QCheckBox::clicked, this, &TfrmOptions::chkAddressNewWinClick);
    addLabel(layout, "__AutoCompleteLabel");
    // The engine always offers suggestions from history, so the first
    // choice is never hidden and its note shows with it.
    m_autoComplete = AddRadios(layout, {{"rdoIE5AC", "__AutoCompleteIE5", 2},
                                        {"rdoIE4AC", "__AutoCompleteIE4", 1},
                                        {"rdoNoneAC", "__AutoCompleteNone", 0}});
    addLabel(layout, "__ACNote")->setObjectName(QStringLiteral("lblACNote"));
}

void TfrmOptions::CreateDefBrowserPage()
{
    QVBoxLayout* layout = m_layouts[PageDefBrowser];
    addLabel(layout, "__DefaultBrowserInfo");
    clbDefaultBrowser = AddCheckList(layout, "clbDefaultBrowser");
}

void TfrmOptions::Fill(const OptionsValues& values)
{
    for (const auto& [box, value] : m_boxes)
        box->setChecked(values.*value);
    chkMinToTray->setEnabled(values.TrayAvailable);
    chkBreakFavorites->setVisible(values.BreakFavoritesShown);

    const int limit = std::clamp(values.LimitTitleLength, 0, 100);
    chkLimitTitles->setChecked(limit != 0);
    spnMaxTitle->setValue(limit != 0 ? limit : DefaultTitleLimit);
    chkLimitTitlesClick();

    m_colors->Load(values.TabColorScheme, values.InactiveTabColor, values.InactiveFontColor);
    m_newAction->button(std::clamp(values.NewAction, 0, 2))->setChecked(true);
    for (int row = 0; row < OptionsValues::NewTabSourceCount; ++row)
        clbNewTabs->item(row)->setCheckState(checkState(values.NewTabs[row]));
    chkAddressNewWin->setChecked(values.NewTabs[OptionsValues::NewFromAddress]);

    const int mode = StartupModes.indexOf(values.StartupMode);
    if (mode < 0 || mode == StartupGroupId)
    {
        rdoStartupKoncoGroup->setChecked(true);
        edtStartupKoncoGroup->setText(values.StartupVostelGroup);
    }
    else
        m_startupMode->button(mode)->setChecked(true);
    rdoStartupClick();

    for (size_t i = 0; i < m_completion.size(); ++i)
        m_completion[i]->setText(values.*CompletionValues[i]);
    m_patterns->SetPatterns(values.PopupPatterns);
    m_autoComplete->button(std::clamp(values.AutoCompleteStyle, 0, 2))->setChecked(true);

    clbDefaultBrowser->clear();
    for (const OptionsValues::DefaultBrowserRow& row : values.DefaultBrowserRows)
    {
        auto* item = new QListWidgetItem(row.Text, clbDefaultBrowser);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(checkState(row.Checked));
    }
}

OptionsValues TfrmOptions::Values() const
{
    OptionsValues values = m_before;
    for (const auto& [box, value] : m_boxes)
        values.*value = box->isChecked();
    // A box the user cannot see keeps the stored value.
    if (!m_before.BreakFavoritesShown)
        values.BreakFavorites = m_before.BreakFavorites;
    values.LimitTitleLength = chkLimitTitles->isChecked() ? spnMaxTitle->value() : 0;

    values.TabColorScheme = m_colors->Scheme();
    if (values.TabColorScheme == QLatin1String("custom"))
    {
        values.InactiveTabColor = m_colors->TabColor();
        values.InactiveFontColor = m_colors->FontColor();
    }
    values.NewAction = m_newAction->checkedId();
    for (int row = 0; row < OptionsValues::NewTabSourceCount; ++row)
        values.NewTabs[row] = clbNewTabs->item(row)->checkState() == Qt::Checked;

    values.StartupMode = StartupModes.value(m_startupMode->checkedId());
    values.StartupVostelGroup = rdoStartupKoncoGroup->isChecked() ? edtStartupKoncoGroup->text()
                                                                  : m_before.StartupVostelGroup;
    for (size_t i = 0; i < m_completion.size(); ++i)
        values.*CompletionValues[i] = m_completion[i]->text();
    values.PopupPatterns = m_patterns->Patterns();
    values.AutoCompleteStyle = m_autoComplete->checkedId();
    for (int row = 0; row < values.DefaultBrowserRows.size(); ++row)
        values.DefaultBrowserRows[row].Checked =
            clbDefaultBrowser->item(row)->checkState() == Qt::Checked;
    return values;
}

void TfrmOptions::ShowPage(int page)
{
    if (page < 0 || page >= PageCount || !m_pages[page])
        return;
    pgOptions->setCurrentWidget(m_pages[page]);
    QTreeWidgetItemIterator node(tvOptions);
    for (; *node; ++node)
        if ((*node)->data(0, Qt::UserRole).toInt() == page && tvOptions->currentItem() != *node)
            tvOptions->setCurrentItem(*node);
}

void TfrmOptions::tvOptionsChange(QTreeWidgetItem* node)
{
    if (node)
        ShowPage(node->data(0, Qt::UserRole).toInt());
}

void TfrmOptions::chkLimitTitlesClick()
{
    spnMaxTitle->setEnabled(chkLimitTitles->isChecked());
}

void TfrmOptions::rdoStartupClick()
{
    const bool group = rdoStartupKoncoGroup->isChecked();
    edtStartupKoncoGroup->setEnabled(group);
    cmdStartKoncoGroup->setEnabled(group);
}

void TfrmOptions::cmdStartKoncoGroupClick()
{
    const QString file = Services()->chooseOpenFile(
        Text(QStringLiteral("ChooseStartupVostelGroup")),
        m_host ? m_host->VostelGroupsFolder() : QString(),
        Text(QStringLiteral("VostelGroupFilter")), QStringLiteral("vgp"));
    if (!file.isEmpty())
        edtStartupKoncoGroup->setText(file);
}

void TfrmOptions::chkAddressNewWinClick()
{
    clbNewTabs->item(OptionsValues::NewFromAddress)
        ->setCheckState(checkState(chkAddressNewWin->isChecked()));
}

void TfrmOptions::clbNewTabsClickCheck(QListWidgetItem* item)
{
    if (clbNewTabs->row(item) == OptionsValues::NewFromAddress)
        chkAddressNewWin->setChecked(item->checkState() == Qt::Checked);
}

void TfrmOptions::cmdOKClick()
{
    const OptionsValues after = Values();
    // The registrations are made whatever follows: the rows say what the
    // user wants now, and the host reads them back afresh next time.
    if (m_host)
        m_host->ApplyDefaultBrowser(after.DefaultBrowserRows);
    if (rdoStartupKoncoGroup->isChecked() && !QFileInfo(edtStartupKoncoGroup->text()).isFile())
    {
        ShowPage(PageStartup);
        edtStartupKoncoGroup->setFocus();
        WindowServices* services = Services();
        services->notify(windowTitle(),
                         services->GetGlobalText(QStringLiteral("StartupVostelGroup")));
        return;
    }
    if (m_host)
        m_host->ApplyOptions(m_before, after);
    accept();
}
