// The bars: the toolbar's buttons, the chevron for those cut off (and where
// it cuts), the customize dialog and the model it edits, the toolbar's file,
// and the bands' layout as the store keeps it.

#include "ScriptedServices.h"
#include "TestStore.h"
#include "ToolbarText.h"
#include "chrome/BandLayoutStore.h"
#include "chrome/TLanguage.h"
#include "chrome/TQWToolBar.h"
#include "chrome/TfrmCustomizeToolbar.h"
#include "chrome/ToolbarButtonTable.h"
#include "chrome/ToolbarCustomizeModel.h"
#include "chrome/ToolbarOverflow.h"
#include "components/ThemeIcon.h"
#include "core/store/RegistryKeys.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace
{
// Object names in order, "|" for a separator.
template <typename T> QString names(const QList<T*>& items, bool (*isSeparator)(const T*))
{
    QStringList names;
    for (const T* item : items)
        names << (isSeparator(item) ? QStringLiteral("|") : item->objectName());
    return names.join(u' ');
}
// "30 |5 30": widths from the left, "|" marking a separator.
QList<ToolbarOverflow::Place> places(const QString& widths)
{
    QList<ToolbarOverflow::Place> result;
    int right = 0;
    for (QString word : widths.split(u' ', Qt::SkipEmptyParts))
    {
        const bool separator = word.startsWith(u'|');
        right += word.remove(u'|').toInt();
        result.append({right, separator});
    }
    return result;
}
QString listText(const QList<int>& numbers, int selected)
{
    QStringList words;
    for (int number : numbers)
        words << (number < 0 ? QStringLiteral("|") : QString::number(number));
    return words.join(u' ') + QStringLiteral(" @%1").arg(selected);
}

// Steps: "c2"/"a0" select a row of the current/available list; "A" add,
// "R" remove, "U" up, "D" down, each once or as often as its number says.
void run(ToolbarCustomizeModel& model, const QString& steps)
{
    using M = ToolbarCustomizeModel;
    const QHash<QChar, bool (M::*)()> ops{
        {u'A', &M::Add}, {u'R', &M::Remove}, {u'U', &M::MoveUp}, {u'D', &M::MoveDown}};
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts))
    {
        const int n = step.mid(1).toInt();
        if (step.at(0) == u'c' || step.at(0) == u'a')
            (step.at(0) == u'c' ? model.SelectCurrent(n) : model.SelectAvailable(n));
        else
            for (int i = 0; i < qMax(1, n); ++i)
                (model.*ops.value(step.at(0)))();
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The bands as the window places them at first; minimums of 50 stand in
// for the bands' own.
const QList<BandState> Design = {{"Menu", 626, false, 50},
                                 {"Tool", 626, true, 50},
                                 {"Address", 551, true, 50},
                                 {"Links", 73, false, 50}};
const QStringList Names = {"Menu", "Tool", "Address", "Links"};

QString Written(const QList<BandState>& bands)
{
    QStringList items;
    for (const BandState& band : bands)
        items << QString("%1:%2:%3").arg(band.name).arg(band.width).arg(int(band.breakBefore));
    return items.join(' ');
}
} // namespace

class tst_TQWToolBar : public QObject
{
    Q_OBJECT

    ScriptedServices m_services;
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("tbmain.dat"); }
    bool writeText(const QByteArray& text)
    {
        QFile file(path());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) >= 0;
    }

    static bool separatorPlace(const QWidget* place) { return TQWToolBar::NumberOf(place) < 0; }
    static bool separatorItem(const QAction* action) { return action->isSeparator(); }

private slots:
    void initTestCase()
    {
        // Short form the key, long form its section and key.
        m_services.textFn = [](const QString& section, const QString& key)
        { return key + "|" + section + " " + key; };
        m_services.setGlobalText("Customize", "Customize");
        SetUpIconTheme();
    }

    // Every button shows a picture of the theme (the program ships none).
    void everyButtonHasAThemePicture()
    {
        for (const ToolbarButtonInfo& info : ToolbarButtonTable::All())
            QVERIFY2(QIcon::hasThemeIcon(info.iconName), qPrintable(info.iconName));
    }

    void createPutsAtTheFront()
    {
        TQWToolBar bar(&m_services);
        bar.CreateToolbarButton(3);
        bar.CreateToolbarButton(-1);
        QToolButton* fav = qobject_cast<QToolButton*>(bar.CreateToolbarButton(9));
        QVERIFY(!bar.CreateToolbarButton(22) && !bar.CreateToolbarButton(-2));
        QCOMPARE(names(bar.Places(), separatorPlace), "tbFavorites | tbForward");
        QCOMPARE(TQWToolBar::NumberOf(fav), 9);
        QCOMPARE(fav->toolTip(), "ShowFavoritesHint");
        QCOMPARE(fav->statusTip(), "FAVORITES_POPUP ShowFavoritesHint");
        QCOMPARE(toolbarText(bar.Entries()), "9 | 3");
    }

    void unavailableButtonsStayDisabled()
    {
        TQWToolBar bar(&m_services);
        QSet<MainCommand> missing{MainCommand::PrintWithoutDialog};
        bar.SetAvailability([&missing](MainCommand c) { return !missing.contains(c); });
        bar.BuildDefaultToolbar();
        const auto enabled = [&bar](int a, int b) {
            return QList<bool>{bar.Button(a)->isEnabled(), bar.Button(b)->isEnabled()};
        };
        // A button that only drops a menu waits for its menu.
        QCOMPARE(enabled(13, 21), QList<bool>({false, false}));
        QVERIFY(bar.Button(2)->isEnabled());
        QMenu security;
        bar.SetDropDownMenu(21, &security);
        QVERIFY(bar.Button(21)->isEnabled());
        missing = {MainCommand::Back};
        bar.RefreshAvailability();
        QCOMPARE(enabled(13, 2), QList<bool>({true, false}));
        bar.SetButtonEnabled(13, false);
        bar.BuildDefaultToolbar();
        QVERIFY(!bar.Button(13)->isEnabled());
    }

    // A check button shows what the window says, not the click.
    void clicksNameCommands()
    {
        TQWToolBar bar(&m_services);
        bar.BuildDefaultToolbar();
        QSignalSpy commands(&bar, &TQWToolBar::command);
        bar.Button(2)->click();
        bar.Button(10)->click();
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.at(0).at(0).value<MainCommand>(), MainCommand::Back);
        QCOMPARE(commands.at(1).at(0).value<MainCommand>(), MainCommand::ToggleSideBar);
        QVERIFY(!bar.Button(10)->isChecked());
        bar.SetDown(10, true);
        bar.BuildDefaultToolbar();
        QVERIFY(bar.Button(10)->isChecked());
    }

    // Narrowed so that buttons 14 on are cut off, the chevron offers exactly
    // the cut-off shown ones, a drop-down's menu as a submenu, then Customize.
    void chevronOffersTheCutOffButtons()
    {
        TQWToolBar bar(&m_services);
        bar.BuildDefaultToolbar();
        QMenu source;
        QAction* notepad = source.addAction("Editor");
        bar.SetDropDownMenu(14, &source);
        bar.SetDown(16, true);
        bar.show();
        bar.resize(bar.Button(13)->geometry().right() + 1 + bar.tbxBar->sizeHint().width(), 40);
        QVERIFY(bar.pnlToolbarRight->isVisible());
        emit bar.pmToolBarExtender->aboutToShow();
        QCOMPARE(names(bar.pmToolBarExtender->actions(), separatorItem),
                 "tbViewSource tbLoadImages tbFullScreen tbSecurity | Customize");
        const QList<QAction*> items = bar.pmToolBarExtender->actions();
        QVERIFY(items.at(2)->isChecked());
        QCOMPARE(items.at(0)->text(), "MenuViewSourceHint");
        QSignalSpy triggered(notepad, &QAction::triggered);
        items.at(0)->menu()->actions().at(0)->trigger();
        QCOMPARE(triggered.size(), 1);
        QSignalSpy customize(&bar, &TQWToolBar::customizeRequested);
        items.constLast()->trigger();
        QCOMPARE(customize.size(), 1);
    }

    void cutOff()
    {
        // Widths, toolbar width, chevron shown, indexes of the chevron menu's
        // places; the chevron is 12 wide.
        // clang-format off
        const QList<std::tuple<QString, int, bool, QString>> rows = {
            {"30 30 |5 30", 100, false, ""},
            {"30 30 |5 30", 95, false, ""},       // last one ends on the edge
            {"30 30 |5 30", 94, true, "3"},       // a pixel over
            {"30 30 |5 30", 70, true, "1 2 3"},   // the chevron's room cuts off more
            {"30 |5 30", 45, true, "2"},          // separator at the cut not first
            {"30 |5 |5 30", 20, true, "0 2 3"},   // two separators count once
            {"30 30 |5", 62, false, ""},          // trailing separator cut off alone
            {"|5 |5", 3, false, ""},
            {"30 |5 30", 5, true, "0 1 2"},       // no room at all
            {"", 50, false, ""}};
        // clang-format on
        for (const auto& [widths, width, chevron, menu] : rows)
        {
            const auto shown = places(widths);
            QCOMPARE(ToolbarOverflow::ChevronNeeded(shown, width), chevron);
            QStringList cut;
            for (int index :
                 ToolbarOverflow::CutOff(shown, ToolbarOverflow::MainWidth(shown, width, 12)))
                cut << QString::number(index);
            QCOMPARE(cut.join(u' '), menu);
        }
    }

    void customizeDialogAppliesOrCancels()
    {
        TLanguage language;
        language.LoadFromData("[CUSTOMIZE_TOOLBAR]\nSeparator=Sep\nAdd=Add\n[GLOBAL]\nOK=OK\n");
        for (const bool apply : {true, false})
        {
            TQWToolBar bar(&m_services);
            bar.SetEntries(toolbarEntries("0 | 2 3h"));
            TfrmCustomizeToolbar dialog(&bar, &language);
            QCOMPARE(dialog.cmdAdd->text(), "Add");
            QStringList captions;
            for (int i = 0; i < dialog.lvCurrent->count(); ++i)
                captions << dialog.lvCurrent->item(i)->text();
            QCOMPARE(captions, QStringList({"MenuFileNewHint", "Sep", "MenuGoBackHint"}));
            QCOMPARE(dialog.lvAvailable->item(1)->text(), "MenuGoForwardHint");
            QVERIFY(!dialog.lvAvailable->item(1)->icon().isNull());
            dialog.lvCurrent->setCurrentRow(0);
            dialog.cmdRemove->click();
            dialog.lvAvailable->setCurrentRow(0);
            dialog.cmdAdd->click();
            (apply ? dialog.cmdClose : dialog.cmdCancel)->click();
            QCOMPARE(dialog.Result(), apply ? TfrmCustomizeToolbar::Outcome::Applied
                                            : TfrmCustomizeToolbar::Outcome::Cancelled);
            QCOMPARE(toolbarText(bar.Entries()),
                     apply
                         ? "| | 2 3h 1h 4h 5h 6h 7h 8h 9h 10h 11h 12h 13h 14h 15h 16h 17h 18h 19h "
                           "20h 21h 0h"
                         : "0 | 2 3h");
        }
    }

    void steps()
    {
        // Toolbar, steps, current and available lists with their selections,
        // the toolbar that results.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, QString, QString>> rows = {
            {"0 1h | 2 |h 3", "", "0 | 2 3 @-1", "| 1 | @-1", "0 | 2 3 1h |h"}, // opening
            {"0 1h 2h", "a2 A", "0 2 @1", "| 1 @-1", "0 2 1h"}, // add to the end without selection
            {"0 2 1h", "c0 a1 A", "0 1 2 @1", "| @-1", "0 1 2"}, // add after the selected current item
            {"0 1h", "a0 A a0 A", "0 | | @2", "| 1 @1", "0 | | 1h"}, // a separator twice stays on offer
            {"0 1h", "a0 A A", "0 | 1 @2", "| @-1", "0 | 1"}, // adding a separator moves the selection on
            {"0 1 2h 3h", "a1 c1 R", "0 @-1", "| 2 1 3 @2", "0 2h 1h 3h"}, // remove after the available selection
            {"0 1 2h", "c0 R", "1 @0", "| 2 0 @2", "1 2h 0h"}, // remove to the end, next selected
            {"0 | 2", "c1 R", "0 2 @1", "| @-1", "0 2"}, // removing a separator adds nothing
            {"0 1h | 2 | 21", "c0 R6", " @-1", "| 1 0 2 21 @4", "1h 0h 2h 21h"}, // remove all
            {"0 1h", "A R U D", "0 @-1", "| 1 @-1", "0 1h"}, // nothing selected: nothing happens
            {"0 1 2", "c0 U", "0 1 2 @0", "| @-1", "0 1 2"}, // up at the top
            {"0 1 2", "c2 D", "0 1 2 @2", "| @-1", "0 1 2"}, // down at the bottom
            {"0 1 2", "c2 U U D", "0 2 1 @1", "| @-1", "0 2 1"},
            {"0 1h", "c5 a9 A R", "0 @-1", "| 1 @-1", "0 1h"}}; // a row beyond the list selects nothing
        // clang-format on
        for (const auto& [toolbar, steps, current, available, result] : rows)
        {
            ToolbarCustomizeModel model(toolbarEntries(toolbar));
            run(model, steps);
            const QString got = listText(model.Current(), model.CurrentSelection()) + " / " +
                                listText(model.Available(), model.AvailableSelection()) + " / " +
                                toolbarText(model.Result());
            QCOMPARE(got, current + " / " + available + " / " + result);
        }
    }

    // An emptied toolbar is saved as every button hidden, and comes back
    // from the file with every button on offer.
    void emptiedToolbarComesBack()
    {
        ToolbarCustomizeModel model(ToolbarLayout::DefaultLayout());
        run(model, "c0 R30");
        QVERIFY(model.Current().isEmpty());
        QVERIFY(ToolbarLayout::Write(path(), model.Result()));
        const QList<ToolbarEntry> reread = ToolbarLayout::Read(path()).value();
        QCOMPARE(reread.size(), 22);
        QVERIFY(std::none_of(reread.begin(), reread.end(), [](auto e) { return e.shown; }));
        ToolbarCustomizeModel again(reread);
        QVERIFY(again.Current().isEmpty());
        QCOMPARE(again.Available().size(), 23);
    }

    void buttonsLeftOutAreOffered()
    {
        const auto entries = ToolbarCustomizeModel::WithEveryButton(toolbarEntries("5 3 | 21 0h"));
        QCOMPARE(toolbarText(entries),
                 "5 3 | 21 0h 1h 2h 4h 6h 7h 8h 9h 10h 11h 12h 13h 14h 15h 16h 17h 18h 19h 20h");
    }

    void read()
    {
        QVERIFY(!ToolbarLayout::Read(m_dir.filePath("none.dat"))); // absent: the default
        // A file's text and the toolbar read from it.
        // clang-format off
        const QList<QPair<QByteArray, QString>> rows = {
            {"[Toolbar]\n5=1\n3=1\nSep2=1\n", "5 3 | 21"}, // order of the file, 21 appended
            {"[Toolbar]\n0=1\n1=0\n", "0 1h 21"},
            {"[Toolbar]\n21=0\n0=1\n", "21h 0"}, // 21 kept where it stands
            {"[Toolbar]\nSep0=0\nsep1=1\n4=1\n", "| | 4 21"}, // a separator's value is not read
            {"[Toolbar]\nx=1\n22=1\n-1=1\n+2=1\n5a=1\n0=1\n", "0 21"},
            {"[Toolbar]\n5=1\n3=1\n05=0\n4=1\n", "5 3 4 21"}, // a number keeps its first place
            {"[Toolbar]\n5=1\n3=1\n5=0\n", "5h 3 21"}, // a repeated key: first place, last value
            {"[Other]\n4=1\n[toolbar]\n2=1\n", "2 21"}};
        // clang-format on
        for (const auto& [file, toolbar] : rows)
        {
            QVERIFY(writeText(file));
            QCOMPARE(toolbarText(ToolbarLayout::Read(path()).value()), toolbar);
        }
    }

    void fileText()
    {
        QVERIFY(ToolbarLayout::Write(path(), toolbarEntries("0 1h | 2 | 21h")));
        QCOMPARE(readAll(path()), QByteArray("[Toolbar]\n0=1\n1=0\nSep2=1\n2=1\nSep4=1\n21=0\n"));
        // A file that was there is replaced whole, whatever it held.
        QVERIFY(writeText("[Other]\na=b\n[Toolbar]\n9=1\n"));
        QVERIFY(ToolbarLayout::Write(path(), toolbarEntries("3")));
        QCOMPARE(readAll(path()), QByteArray("[Toolbar]\n3=1\n"));
    }

    // Neither a folder in the file's place nor a file in the folder's place
    // loses what was there.
    void failedWriteKeepsWhatWasThere()
    {
        const QString folder = m_dir.filePath("taken");
        QFile old(folder + "/tbmain.dat/inside");
        QVERIFY(QDir().mkpath(folder + "/tbmain.dat") && old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write("old"), 3);
        old.close();
        for (const QString& target : {folder + "/tbmain.dat", old.fileName() + "/tbmain.dat"})
        {
            QString error;
            QVERIFY(!ToolbarLayout::Write(target, ToolbarLayout::DefaultLayout(), &error) &&
                    !error.isEmpty());
            QCOMPARE(readAll(old.fileName()), QByteArray("old"));
        }
    }

    void savesUnderTheKeysAsNamed()
    {
        TestStore test;
        const QString bands = RegistryKeys::ValueKey + "\\Bands", band1 = bands + "\\Band1";
        test.store->setString(bands + "\\Band7", "Name", "Menu");
        QList<BandState> saved = Design;
        saved[2].name.clear(); // a band that holds some other control
        QVERIFY(BandLayoutStore::Save(*test.store, saved));
        QCOMPARE(test.store->subKeyNames(bands), QStringList({"Band0", "Band1", "Band3"}));
        QCOMPARE(test.store->valueNames(band1), QStringList({"Name", "Width", "Break"}));
        QCOMPARE(
            QList({test.store->value(band1, "Name"), test.store->value(band1, "Width"),
                   test.store->value(band1, "Break"),
                   test.store->value(bands + "\\Band3", "Break")}),
            QList<std::optional<RegValue>>({RegValue::fromString("Tool"), RegValue::fromDWord(626),
                                            RegValue::fromDWord(1), RegValue::fromDWord(0)}));
        const auto loaded = BandLayoutStore::Load(*test.store, Names);
        QVERIFY(loaded.size() == 4 && !loaded.at(2));
        QCOMPARE(Written(BandLayoutStore::Apply(Design, loaded)), Written(Design));
    }

    void load()
    {
        // Each stored band: "position:Name:Width:Break"; an empty part is not
        // stored, a name written "#" is a number, a width written "'300" is text.
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"", "Menu:626:0 Tool:626:1 Address:551:1 Links:73:0"},
            {"0:Menu:626:0 1:Tool:300:1 2:Address:400:0 3:Links:73:1", "Menu:626:0 Tool:300:1 Address:400:0 Links:73:1"}, // Address beside Tool
            {"0:Bogus:10:1 2:Menu:500:1", "Tool:626:1 Address:551:1 Menu:500:1 Links:73:0"}, // unknown name and missing key skipped
            {"0:Links::", "Links:73:0 Menu:626:0 Tool:626:1 Address:551:1"}, // missing width and break kept
            {"0:Menu:0:0 1:Tool:4294967295:1", "Menu:50:0 Tool:50:1 Address:551:1 Links:73:0"}, // zero and absurd widths raised to the minimum
            {"0:#:100:1 1:Links:'300:1", "Menu:626:0 Links:73:1 Tool:626:1 Address:551:1"}, // values of the wrong type ignored
            {"0:Tool:100:0 1:Tool:200:1", "Menu:626:0 Tool:200:1 Address:551:1 Links:73:0"}, // a name twice loses no band
            {"4:Menu:10:1", "Menu:626:0 Tool:626:1 Address:551:1 Links:73:0"}}; // positions past the last band unread
        // clang-format on
        for (const auto& [stored, after] : rows)
        {
            TestStore test;
            for (const QString& item : stored.split(' ', Qt::SkipEmptyParts))
            {
                const QStringList p = item.split(':');
                const QString key = BandLayoutStore::BandKey(p[0].toInt());
                p[1] == "#" ? test.store->setDWord(key, "Name", 0)
                            : test.store->setString(key, "Name", p[1]);
                if (p[2].startsWith('\''))
                    test.store->setString(key, "Width", p[2].mid(1));
                else if (!p[2].isEmpty())
                    test.store->setDWord(key, "Width", p[2].toUInt());
                if (!p[3].isEmpty())
                    test.store->setDWord(key, "Break", p[3].toUInt());
            }
            QCOMPARE(
                Written(BandLayoutStore::Apply(Design, BandLayoutStore::Load(*test.store, Names))),
                after);
        }
    }
};

QTEST_MAIN(tst_TQWToolBar)
#include "tst_TQWToolBar.moc"
