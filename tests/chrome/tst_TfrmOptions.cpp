#include "ScriptedServices.h"
#include "chrome/IOptionsHost.h"
#include "chrome/TfrmOptions.h"
#include "components/TQWPageControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace
{
class FakeHost : public IOptionsHost
{
public:
    using Rows = QList<OptionsValues::DefaultBrowserRow>;
    OptionsValues values;
    QList<Rows> browserCalls;
    QList<QPair<OptionsValues, OptionsValues>> applyCalls;

    OptionsValues CurrentOptions() const override { return values; }
    void ApplyDefaultBrowser(const Rows& rows) override { browserCalls << rows; }
    void ApplyOptions(const OptionsValues& a, const OptionsValues& b) override
    {
        applyCalls << qMakePair(a, b);
    }
    QString VostelGroupsFolder() const override { return QStringLiteral("/groups"); }
};

template <typename T> T* child(const QWidget& dialog, const QString& name)
{
    T* found = dialog.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QLineEdit* openEditor(const QTreeWidget* list)
{
    for (QLineEdit* editor : list->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}
} // namespace

class tst_TfrmOptions : public QObject
{
    Q_OBJECT

    QWidget m_window;
    ScriptedServices* m_services = new ScriptedServices(nullptr, &m_window);
    FakeHost m_host;
    QTemporaryDir m_dir;

    // A dialog over m_host.values; the last one made is the one tested.
    std::unique_ptr<TfrmOptions> open()
    {
        m_host.browserCalls.clear();
        m_host.applyCalls.clear();
        m_services->confirmCalls.clear();
        return std::make_unique<TfrmOptions>(&m_host, nullptr, &m_window);
    }
    OptionsValues okValues(TfrmOptions& dialog)
    {
        child<QPushButton>(dialog, "cmdOK")->click();
        return m_host.applyCalls.isEmpty() ? OptionsValues() : m_host.applyCalls.last().second;
    }

private slots:
    void initTestCase()
    {
        m_services->setGlobalText("StartupVostelGroup", "no such group");
        QFile file(m_dir.filePath("a.vgp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void okHandsBackWhatCameIn()
    {
        OptionsValues& values = m_host.values;
        values = OptionsValues();
        values.AllowMultiInstance = values.VBAutoExpand = values.LoadBHOs = values.TabsDown = true;
        values.VersionCheck = values.ShowGo = values.ConfirmShutdown = false;
        values.UseCustomIcons = values.ShowOpenAllFavorites = values.BreakFavorites = true;
        values.LimitTitleLength = 12;
        values.NewAction = 2;
        values.NewTabs = {true, false, true, false, true, true};
        values.StartupMode = "Last";
        values.CtrlPre = "www.";
        values.CtrlShiftPost = ".org";
        values.AutoCompleteStyle = 1;
        values.PopupPatterns = QStringList{"*a*", "*b*"};
        values.DefaultBrowserRows = {{"http", "Web", true}, {"htm", "Pages", false}};
        auto dialog = open();
        QCOMPARE(okValues(*dialog), values);
        QCOMPARE(m_host.browserCalls.size(), 1);
        QCOMPARE(m_host.browserCalls[0], values.DefaultBrowserRows);
        QCOMPARE(dialog->result(), QDialog::Accepted);
    }

    void cancelCallsNothing()
    {
        auto dialog = open();
        child<QPushButton>(*dialog, "cmdCancel")->click();
        QCOMPARE(dialog->result(), QDialog::Rejected);
        QVERIFY(m_host.browserCalls.isEmpty() && m_host.applyCalls.isEmpty());
    }

    void treeDrivesPages()
    {
        auto dialog = open();
        auto* tree = child<QTreeWidget>(*dialog, "tvOptions");
        auto* pages = child<QStackedWidget>(*dialog, "pgOptions");
        QVERIFY(tree->topLevelItem(1)->isExpanded());
        QCOMPARE(pages->currentWidget()->objectName(), "tsGeneral");
        tree->setCurrentItem(tree->topLevelItem(1)->child(1));
        QCOMPARE(pages->currentWidget()->objectName(), "tsNewBrowserTabs");
    }

    void hiddenAndDisabled()
    {
        m_host.values = OptionsValues();
        m_host.values.TrayAvailable = m_host.values.BreakFavoritesShown = false;
        auto dialog = open();
        QVERIFY(!child<QCheckBox>(*dialog, "chkMinToTray")->isEnabled());
        auto* breakBox = child<QCheckBox>(*dialog, "chkBreakFavorites");
        QVERIFY(breakBox->isHidden());
        QVERIFY(!child<QWidget>(*dialog, "rdoIE5AC")->isHidden());
        breakBox->setChecked(true);
        QCOMPARE(okValues(*dialog).BreakFavorites, false);
    }

    void limitTitle()
    {
        const int def = TfrmOptions::DefaultTitleLimit;
        // Stored limit, box clicked, limit on, spin value, limit handed back.
        // clang-format off
        const QList<std::tuple<int, bool, bool, int, int>> rows = {
            {0, false, false, def, 0}, {0, true, true, def, def}, {37, false, true, 37, 37},
            {37, true, false, 37, 0}, {150, false, true, 100, 100}, {-5, false, false, def, 0}};
        // clang-format on
        for (const auto& [stored, click, enabled, spinValue, after] : rows)
        {
            m_host.values = OptionsValues();
            m_host.values.LimitTitleLength = stored;
            auto dialog = open();
            if (click)
                child<QCheckBox>(*dialog, "chkLimitTitles")->click();
            auto* spin = child<QSpinBox>(*dialog, "spnMaxTitle");
            QCOMPARE(spin->isEnabled(), enabled);
            QCOMPARE(child<QCheckBox>(*dialog, "chkLimitTitles")->isChecked(), enabled);
            QCOMPARE(spin->value(), spinValue);
            QCOMPARE(okValues(*dialog).LimitTitleLength, after);
        }
    }

    void colorScheme()
    {
        const QColor stored(1, 2, 3), design(0xAA, 0xAA, 0xAA);
        const QPalette colors = QApplication::palette();
        const QColor face = colors.color(QPalette::Button);
        const QColor reverse = colors.color(QPalette::Inactive, QPalette::Highlight);
        // Stored scheme, radio clicked, radio checked, panel and preview
        // colours, scheme and colour handed back.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, QColor, QColor, QString, QColor>> rows = {
            {"std", "", "radColorStandard", design, face, "std", stored},
            {"rev", "", "radColorReverse", design, reverse, "rev", stored},
            {"custom", "", "radColorCustom", stored, stored, "custom", stored},
            {"junk", "", "radColorReverse", design, reverse, "rev", stored},
            {"rev", "radColorCustom", "radColorCustom", design, design, "custom", design},
            {"custom", "radColorStandard", "radColorStandard", stored, face, "std", stored}};
        // clang-format on
        for (const auto& [scheme, click, checked, panel, preview, after, afterColor] : rows)
        {
            m_host.values = OptionsValues();
            m_host.values.TabColorScheme = scheme;
            m_host.values.InactiveTabColor = stored;
            auto dialog = open();
            if (!click.isEmpty())
                child<QRadioButton>(*dialog, click)->click();
            QVERIFY(child<QRadioButton>(*dialog, checked)->isChecked());
            QCOMPARE(child<QWidget>(*dialog, "pnlCustomColors")->isHidden(),
                     checked != "radColorCustom");
            QCOMPARE(child<QFrame>(*dialog, "pnlTabColor")->palette().color(QPalette::Window),
                     panel);
            QCOMPARE(child<TQWPageControl>(*dialog, "pg")->InactiveTabColor(), preview);
            const OptionsValues values = okValues(*dialog);
            QCOMPARE(values.TabColorScheme, after);
            QCOMPARE(values.InactiveTabColor, afterColor);
        }
    }

    void startup()
    {
        // Stored mode and group, radio clicked, group editable, accepted, mode
        // handed back; an unusable group is refused and asked about.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, bool, bool, QString>> rows = {
            {"Home", "", "", false, true, "Home"},
            {"VostelGroup", "a.vgp", "", true, true, "VostelGroup"},
            {"Junk", "a.vgp", "", true, true, "VostelGroup"}, // junk is a group
            {"VostelGroup", "none.vgp", "", true, false, ""}, // group missing
            {"VostelGroup", ".", "", true, false, ""}, // group is a folder
            {"Home", "a.vgp", "rdoStartupKoncoGroup", true, false, ""}, // home to an empty group
            {"VostelGroup", "none.vgp", "rdoStartupHome", false, true, "Home"}};
        // clang-format on
        for (const auto& [mode, group, click, editEnabled, accepted, afterMode] : rows)
        {
            m_host.values = OptionsValues();
            m_host.values.StartupMode = mode;
            m_host.values.StartupVostelGroup = QDir(m_dir.path()).filePath(group);
            m_host.values.DefaultBrowserRows = {{"http", "Web", true}};
            auto dialog = open();
            if (!click.isEmpty())
                child<QRadioButton>(*dialog, click)->click();
            auto* edit = child<QLineEdit>(*dialog, "edtStartupKoncoGroup");
            QCOMPARE(edit->isEnabled(), editEnabled);
            QCOMPARE(child<QWidget>(*dialog, "cmdStartKoncoGroup")->isEnabled(), editEnabled);
            const OptionsValues after = okValues(*dialog);
            QCOMPARE(m_host.applyCalls.isEmpty() ? QString() : after.StartupMode, afterMode);
            QCOMPARE(m_host.browserCalls.size(), 1);
            QCOMPARE(dialog->result(), accepted ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(m_services->confirmCalls.size(), accepted ? 0 : 1);
            if (!accepted)
            {
                QCOMPARE(m_services->confirmCalls[0].prompt, "no such group");
                QCOMPARE(child<QStackedWidget>(*dialog, "pgOptions")->currentWidget()->objectName(),
                         "tsStartup");
                QCOMPARE(dialog->focusWidget(), edit);
            }
        }
    }

    void browseFillsTheGroup()
    {
        m_services->openFileAnswer = "/groups/b.vgp";
        auto dialog = open();
        child<QRadioButton>(*dialog, "rdoStartupKoncoGroup")->click();
        child<QPushButton>(*dialog, "cmdStartKoncoGroup")->click();
        QCOMPARE(m_services->openFileRequests.last(),
                 "__ChooseStartupVostelGroup|/groups|__VostelGroupFilter");
        QCOMPARE(child<QLineEdit>(*dialog, "edtStartupKoncoGroup")->text(), "/groups/b.vgp");
    }

    // The address-bar row of the list and its own box are one setting.
    void addressRowMirrorsTheBox()
    {
        for (const bool stored : {false, true})
            for (const bool viaBox : {true, false})
            {
                const bool after = !stored;
                m_host.values = OptionsValues();
                m_host.values.NewTabs[OptionsValues::NewFromAddress] = stored;
                auto dialog = open();
                auto* box = child<QCheckBox>(*dialog, "chkAddressNewWin");
                QListWidgetItem* row = child<QListWidget>(*dialog, "clbNewTabs")->item(4);
                QCOMPARE(box->isChecked(), stored);
                if (viaBox)
                    box->click();
                else
                    row->setCheckState(after ? Qt::Checked : Qt::Unchecked);
                QCOMPARE(box->isChecked(), after);
                QCOMPARE(row->checkState() == Qt::Checked, after);
                QCOMPARE(okValues(*dialog).NewTabs[OptionsValues::NewFromAddress], after);
            }
    }

    void patternsAreEditedInPlace()
    {
        m_host.values = OptionsValues();
        m_host.values.PopupPatterns = QStringList{"*m*", "*b*", "*x*"};
        auto dialog = open();
        dialog->show();
        dialog->ShowPage(TfrmOptions::PagePopupVostel);
        auto* list = child<QTreeWidget>(*dialog, "lvPopupVostel");
        QCOMPARE(list->topLevelItem(0)->text(0), "*b*");
        child<QPushButton>(*dialog, "btnInsert")->click();
        QTRY_VERIFY(openEditor(list));
        QLineEdit* editor = openEditor(list);
        QCOMPARE(editor->text(), "~~NewItem");
        editor->setText("*c*");
        QTest::keyClick(editor, Qt::Key_Return); // commits, and must not close the dialog
        QTRY_COMPARE(list->topLevelItem(1)->text(0), "*c*");
        QVERIFY(dialog->isVisible() && !openEditor(list));
        list->setCurrentItem(list->topLevelItem(3));
        child<QPushButton>(*dialog, "btnDelete")->click();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Space);
        QTRY_VERIFY(openEditor(list));
        QTest::keyClick(openEditor(list), Qt::Key_Escape);
        QVERIFY(!openEditor(list));
        QCOMPARE(okValues(*dialog).PopupPatterns, QStringList({"*b*", "*c*", "*m*"}));
    }
};

QTEST_MAIN(tst_TfrmOptions)
#include "tst_TfrmOptions.moc"
