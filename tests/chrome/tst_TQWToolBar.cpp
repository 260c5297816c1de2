#include "ScriptedServices.h"
#include "ToolbarText.h"
#include "chrome/TQWToolBar.h"
#include "chrome/ToolbarButtonTable.h"
#include "components/ThemeIcon.h"

#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace
{
QString placeNames(const TQWToolBar& bar)
{
    QStringList names;
    for (const QWidget* place : bar.Places())
        names << (TQWToolBar::NumberOf(place) < 0 ? QStringLiteral("|") : place->objectName());
    return names.join(u' ');
}

QString menuNames(const QMenu* menu)
{
    QStringList names;
    for (const QAction* action : menu->actions())
        names << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return names.join(u' ');
}
} // namespace

class tst_TQWToolBar : public QObject
{
    Q_OBJECT

    ScriptedServices m_services;

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
        QVERIFY(!bar.CreateToolbarButton(22));
        QVERIFY(!bar.CreateToolbarButton(-2));
        QCOMPARE(placeNames(bar), "tbFavorites | tbForward");
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
        QVERIFY(!bar.Button(13)->isEnabled());
        QVERIFY(bar.Button(2)->isEnabled());
        // A button that only drops a menu waits for its menu.
        QVERIFY(!bar.Button(21)->isEnabled());
        QMenu security;
        bar.SetDropDownMenu(21, &security);
        QVERIFY(bar.Button(21)->isEnabled());
        missing = {MainCommand::Back};
        bar.RefreshAvailability();
        QVERIFY(bar.Button(13)->isEnabled());
        QVERIFY(!bar.Button(2)->isEnabled());
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
        bar.resize(bar.sizeHint());
        bar.show();
        QVERIFY(!bar.pnlToolbarRight->isVisible());
        bar.resize(bar.Button(13)->geometry().right() + 1 + bar.tbxBar->sizeHint().width(), 40);
        QVERIFY(bar.pnlToolbarRight->isVisible());
        emit bar.pmToolBarExtender->aboutToShow();
        QCOMPARE(menuNames(bar.pmToolBarExtender),
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
};

QTEST_MAIN(tst_TQWToolBar)
#include "tst_TQWToolBar.moc"
