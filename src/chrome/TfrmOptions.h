#pragma once

#include "chrome/OptionsValues.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <array>

class IOptionsHost;
class PopupPatternList;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;
class TLanguage;
class TabColorsPage;
class WindowServices;

// The options dialog: a tree of sections on the left drives the pages on
// the right. It shows what the host gives when it opens and hands the edited
// values back on OK; the host stores and applies them.
class TfrmOptions : public QDialog
{
    Q_OBJECT
public:
    static const QString Section;
    // Page numbers as the tree's nodes name them; 8 is kept free for a page
    // this program does not have, so that numbers stay those of stored layouts.
    enum Page
    {
        PageGeneral = 0,
        PageBrowserTabs = 1,
        PageColors = 2,
        PageNewTabs = 3,
        PageStartup = 4,
        PageAddressCompletion = 5,
        PagePopupVostel = 6,
        PageAddressBar = 7,
        PageConfirmation = 9,
        PageFavorites = 10,
        PageDefBrowser = 11,
        PageCount = 12
    };
    // What the spin shows while titles are not limited.
    static constexpr int DefaultTitleLimit = 30;

    // language may be null: the placeholders then stay as written. Message
    // boxes go through the window services of parent's window when it has
    // them.
    TfrmOptions(IOptionsHost* host, const TLanguage* language, QWidget* parent = nullptr);

    // The values as the controls show them now.
    OptionsValues Values() const;
    // Shows a page and selects its node.
    void ShowPage(int page);

    void cmdOKClick();
    void tvOptionsChange(QTreeWidgetItem* node);
    void chkLimitTitlesClick();
    void rdoStartupClick();
    void cmdStartKoncoGroupClick();
    void chkAddressNewWinClick();
    void clbNewTabsClickCheck(QListWidgetItem* item);

private:
    struct Radio
    {
        const char* name;
        const char* caption;
        int id;
    };

    void CreateControls();
    void CreateTree();
    void AddPage(Page page, const char* name);
    void CreateBoxes();
    void CreateBrowserTabsPage();
    void CreateNewTabsPage();
    void CreateStartupPage();
    void CreateCompletionPage();
    void CreatePopupPage();
    void CreateAddressBarPage();
    void CreateDefBrowserPage();
    QButtonGroup* AddRadios(QVBoxLayout* layout, std::initializer_list<Radio> radios);
    QListWidget* AddCheckList(QVBoxLayout* layout, const char* name);
    void Fill(const OptionsValues& values);
    QString Text(const QString& key) const;
    WindowServices* Services();

    IOptionsHost* m_host;
    const TLanguage* m_language;
    OptionsValues m_before;
    WindowServices* m_ownServices = nullptr;

    QTreeWidget* tvOptions;
    QStackedWidget* pgOptions;
    std::array<QWidget*, PageCount> m_pages{};
    std::array<QVBoxLayout*, PageCount> m_layouts{};
    QList<QPair<QCheckBox*, bool OptionsValues::*>> m_boxes;
    QCheckBox* chkMinToTray;
    QCheckBox* chkBreakFavorites;
    QCheckBox* chkLimitTitles;
    QSpinBox* spnMaxTitle;
    TabColorsPage* m_colors;
    QButtonGroup* m_newAction;
    QListWidget* clbNewTabs;
    QButtonGroup* m_startupMode;
    QRadioButton* rdoStartupKoncoGroup;
    QLineEdit* edtStartupKoncoGroup;
    QPushButton* cmdStartKoncoGroup;
    std::array<QLineEdit*, 6> m_completion{};
    PopupPatternList* m_patterns;
    QCheckBox* chkAddressNewWin;
    QButtonGroup* m_autoComplete;
    QListWidget* clbDefaultBrowser;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};
