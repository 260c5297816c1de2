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

    void limitTitle_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("click");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("spin");
        QTest::addColumn<int>("after");
        // clang-format off
        QTest::newRow("none") << 0 << false << false << TfrmOptions::DefaultTitleLimit << 0;
        QTest::newRow("none, checked") << 0 << true << true << TfrmOptions::DefaultTitleLimit << TfrmOptions::DefaultTitleLimit;
        QTest::newRow("37") << 37 << false << true << 37 << 37;
        QTest::newRow("37, unchecked") << 37 << true << false << 37 << 0;
        QTest::newRow("150 clamped") << 150 << false << true << 100 << 100;
        QTest::newRow("negative") << -5 << false << false << TfrmOptions::DefaultTitleLimit << 0;
        // clang-format on
    }
    void limitTitle()
    {
        QFETCH(int, stored);
        QFETCH(bool, click);
        m_host.values = OptionsValues();
        m_host.values.LimitTitleLength = stored;
        auto dialog = open();
        if (click)
            child<QCheckBox>(*dialog, "chkLimitTitles")->click();
        auto* spin = child<QSpinBox>(*dialog, "spnMaxTitle");
        QTEST(spin->isEnabled(), "enabled");
        QTEST(child<QCheckBox>(*dialog, "chkLimitTitles")->isChecked(), "enabled");
        QTEST(spin->value(), "spin");
        QTEST(okValues(*dialog).LimitTitleLength, "after");
    }

    void colorScheme_data()
    {
        const QColor stored(1, 2, 3), design(0xAA, 0xAA, 0xAA);
        const QPalette colors = QApplication::palette();
        const QColor face = colors.color(QPalette::Button);
        const QColor reverse = colors.color(QPalette::Inactive, QPalette::Highlight);
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<QColor>("preview");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QColor>("afterColor");
        // clang-format off
        QTest::newRow("std") << "std" << "" << "radColorStandard" << design << face << "std" << stored;
        QTest::newRow("rev") << "rev" << "" << "radColorReverse" << design << reverse << "rev" << stored;
        QTest::newRow("custom") << "custom" << "" << "radColorCustom" << stored << stored << "custom" << stored;
        QTest::newRow("junk") << "junk" << "" << "radColorReverse" << design << reverse << "rev" << stored;
        QTest::newRow("rev to custom") << "rev" << "radColorCustom" << "radColorCustom" << design << design << "custom" << design;
        QTest::newRow("custom to std") << "custom" << "radColorStandard" << "radColorStandard" << stored << face << "std" << stored;
        // clang-format on
    }
    void colorScheme()
    {
        QFETCH(QString, click);
        QFETCH(QString, checked);
        m_host.values = OptionsValues();
        QFETCH(QString, scheme);
        m_host.values.TabColorScheme = scheme;
        m_host.values.InactiveTabColor = QColor(1, 2, 3);
        auto dialog = open();
        if (!click.isEmpty())
            child<QRadioButton>(*dialog, click)->click();
        QVERIFY(child<QRadioButton>(*dialog, checked)->isChecked());
        QCOMPARE(child<QWidget>(*dialog, "pnlCustomColors")->isHidden(),
                 checked != "radColorCustom");
        QTEST(child<QFrame>(*dialog, "pnlTabColor")->palette().color(QPalette::Window), "panel");
        QTEST(child<TQWPageControl>(*dialog, "pg")->InactiveTabColor(), "preview");
        const OptionsValues after = okValues(*dialog);
        QTEST(after.TabColorScheme, "after");
        QTEST(after.InactiveTabColor, "afterColor");
    }

    void startup_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("click");
        QTest::addColumn<bool>("editEnabled");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("after");
        // clang-format off
        QTest::newRow("home") << "Home" << "" << "" << false << true << "Home";
        QTest::newRow("last") << "Last" << "" << "" << false << true << "Last";
        QTest::newRow("blank") << "Blank" << "" << "" << false << true << "Blank";
        QTest::newRow("group") << "VostelGroup" << "a.vgp" << "" << true << true << "VostelGroup";
        QTest::newRow("junk is a group") << "Junk" << "a.vgp" << "" << true << true << "VostelGroup";
        QTest::newRow("group missing") << "VostelGroup" << "none.vgp" << "" << true << false << "";
        QTest::newRow("group is a folder") << "VostelGroup" << "." << "" << true << false << "";
        QTest::newRow("home to empty group") << "Home" << "a.vgp" << "rdoStartupKoncoGroup" << true << false << "";
        QTest::newRow("missing group to home") << "VostelGroup" << "none.vgp" << "rdoStartupHome" << false << true << "Home";
        // clang-format on
    }
    void startup()
    {
        QFETCH(QString, mode);
        QFETCH(QString, group);
        QFETCH(QString, click);
        QFETCH(bool, accepted);
        m_host.values = OptionsValues();
        m_host.values.StartupMode = mode;
        m_host.values.StartupVostelGroup = QDir(m_dir.path()).filePath(group);
        m_host.values.DefaultBrowserRows = {{"http", "Web", true}};
        auto dialog = open();
        if (!click.isEmpty())
            child<QRadioButton>(*dialog, click)->click();
        auto* edit = child<QLineEdit>(*dialog, "edtStartupKoncoGroup");
        QTEST(edit->isEnabled(), "editEnabled");
        QTEST(child<QWidget>(*dialog, "cmdStartKoncoGroup")->isEnabled(), "editEnabled");
        const OptionsValues after = okValues(*dialog);
        QTEST(m_host.applyCalls.isEmpty() ? QString() : after.StartupMode, "after");
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

    void addressRowMirrorsTheBox_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("viaBox");
        QTest::addColumn<bool>("after");
        QTest::newRow("box on") << false << true << true;
        QTest::newRow("box off") << true << true << false;
        QTest::newRow("row on") << false << false << true;
        QTest::newRow("row off") << true << false << false;
    }
    void addressRowMirrorsTheBox()
    {
        QFETCH(bool, stored);
        QFETCH(bool, viaBox);
        QFETCH(bool, after);
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
