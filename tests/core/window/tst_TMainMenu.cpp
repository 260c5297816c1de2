#include "MainWindowFixture.h"
#include "components/TMenuBand.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressBand.h"
#include "navigation/TQWComboBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace
{
// Whether anything listens to an item: an item nobody listens to is dead.
struct SignalPeek : QObject
{
    static int triggeredReceivers(QAction* action)
    {
        return static_cast<SignalPeek*>(static_cast<QObject*>(action))
            ->receivers(SIGNAL(triggered(bool)));
    }
};

// Records the keys that reach a widget.
class KeyRecorder : public QObject
{
public:
    QList<QPair<int, Qt::KeyboardModifiers>> presses;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
        {
            const auto* key = static_cast<QKeyEvent*>(event);
            static const QList<int> modifierKeys = {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,
                                                    Qt::Key_Meta};
            if (!modifierKeys.contains(key->key()))
                presses.append({key->key(), key->modifiers()});
        }
        return false;
    }
};

// What the page was asked to do, in the words of the key table below.
QString pageCalls(const FakeBrowserControl* page)
{
    QStringList calls;
    for (int i = 0; i < page->stops; ++i)
        calls << QStringLiteral("stop");
    for (int i = 0; i < page->backs; ++i)
        calls << QStringLiteral("back");
    for (const bool complete : page->refreshes)
        calls << (complete ? QStringLiteral("complete refresh") : QStringLiteral("refresh"));
    for (const EditCommand command : page->editCommands)
        calls << (command == EditCopy    ? QStringLiteral("copy")
                  : command == EditPaste ? QStringLiteral("paste")
                                         : QStringLiteral("edit"));
    return calls.join(QStringLiteral(", "));
}

QMenu* menuNamed(QWidget* window, const char* name)
{
    return window->findChild<QMenu*>(QString::fromLatin1(name));
}
} // namespace

class tst_TMainMenu : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<MainWindowFixture>();
        QVERIFY(m_f->isValid());
    }

    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void everyItemDoesSomething()
    {
        createWindow(2);
        QStringList dead;
        const QList<QMenu*> menus = m_window->findChildren<QMenu*>();
        QVERIFY(menus.size() > 8);
        for (QMenu* menu : menus)
        {
            // Qt's own widgets' menus are not ours.
            if (menu->parent() && menu->parent()->objectName().startsWith(QLatin1String("qt_")))
                continue;
            // Menus filled as they open are walked full.
            emit menu->aboutToShow();
            // The links bar opens its menus only when they have entries; a
            // submenu whose item is disabled while it is empty never opens.
            const bool showsOnlyFilled =
                menu->parent()->inherits("TLinksBar") || !menu->menuAction()->isEnabled();
            if (menu->actions().isEmpty() && !showsOnlyFilled)
                dead << menu->objectName() + QStringLiteral(" (empty, in ") +
                            QString::fromLatin1(menu->parent()->metaObject()->className()) +
                            QLatin1Char(' ') + menu->parent()->objectName() + QLatin1Char(')');
            for (QAction* action : menu->actions())
            {
                if (action->isSeparator() || action->menu())
                    continue;
                if (SignalPeek::triggeredReceivers(action) == 0)
                    dead << menu->objectName() + QLatin1Char('/') + action->objectName() +
                                QLatin1Char(' ') + action->text();
            }
        }
        QVERIFY2(dead.isEmpty(), qPrintable(dead.join(QLatin1Char('\n'))));
    }

    void chevronOffersTheMenus()
    {
        createWindow();
        TMenuBand* band = m_window->MainMenu()->Band();
        band->resize(band->sizeHint());
        QVERIFY(band->Chevron()->isHidden());
        band->resize(band->sizeHint().width() / 2, band->height());
        QVERIFY(!band->Chevron()->isHidden());
        emit band->Extender()->aboutToShow();
        QList<QMenu*> offered;
        for (QAction* entry : band->Extender()->actions())
            offered << entry->menu();
        // The band's menus in its order, but for the Tabs menu, which takes no part.
        QList<QMenu*> expected;
        for (QToolButton* button : band->Buttons())
            if (button->objectName() != QLatin1String("tbMenuTabs"))
                expected << button->menu();
        QCOMPARE(offered, expected);
        QVERIFY(expected.size() < band->Buttons().size());
        // The menus are lent, not moved: they still hold their items.
        QVERIFY(!menuNamed(m_window, "pmFile")->isEmpty());
    }

    void clipboardItemFollowsClipboard()
    {
        createWindow();
        QMenu* newMenu = menuNamed(m_window, "pmFileNewMenu");
        auto* item = m_window->findChild<QAction*>(QStringLiteral("pmFileNewClipboard"));
        QVERIFY(newMenu && item);
        const auto enabled = [&]
        {
            emit newMenu->aboutToShow();
            return item->isEnabled();
        };
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(picture);
        QVERIFY(!enabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("   "));
        QVERIFY(!enabled());
        QGuiApplication::clipboard()->setText(QStringLiteral(" http://example.test/ "));
        QVERIFY(enabled());
        item->trigger();
        QCOMPARE(m_window->TabSet()->Count(), 2);
        QVERIFY(m_f->made.last()->navigations.value(0).contains(u"http://example.test/"));
    }

    void keysInsidePage_data()
    {
        // Three tabs, the middle one in front. Which key means what is the key
        // decision's table; here: the key pressed in the page reaches the
        // command, never the page.
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("tabsAfter");
        QTest::addColumn<int>("activeAfter");
        QTest::addColumn<QString>("pageCall");
        QTest::newRow("Ctrl+W") << (Qt::CTRL | Qt::Key_W).toCombined() << 2 << 0 << "closed";
        QTest::newRow("Alt+Left") << (Qt::ALT | Qt::Key_Left).toCombined() << 3 << 1 << "back";
        QTest::newRow("Ctrl+C") << (Qt::CTRL | Qt::Key_C).toCombined() << 3 << 1 << "copy";
    }

    void keysInsidePage()
    {
        QFETCH(int, key);
        QFETCH(int, tabsAfter);
        QFETCH(int, activeAfter);
        QFETCH(QString, pageCall);
        QVERIFY(m_f->seed(QStringLiteral("NewAction"), QStringLiteral("0")));
        createWindow(3);
        TTabSet* tabs = m_window->TabSet();
        tabs->ActivateTab(tabs->Tab(1));
        FakeBrowserControl* page = activeControl();
        page->events()->CommandStateChange(CommandBack, true);
        const QPointer<QWidget> pageWidget = page->widget();
        pageWidget->setFocusPolicy(Qt::StrongFocus);
        pageWidget->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), pageWidget.data());
        KeyRecorder recorder;
        pageWidget->installEventFilter(&recorder);

        const auto stroke = QKeyCombination::fromCombined(key);
        QTest::keyClick(pageWidget, stroke.key(), stroke.keyboardModifiers());
        QTRY_COMPARE(tabs->Count(), tabsAfter);
        QTRY_COMPARE(tabs->GetActivePage(), tabs->Tab(activeAfter));
        // The window took the key: the page never saw it.
        QVERIFY(recorder.presses.isEmpty());
        if (pageCall == QLatin1String("closed"))
            return;
        QTRY_COMPARE(pageCalls(page), pageCall);
        pageWidget->removeEventFilter(&recorder);
    }

    void textBoxKeepsItsEditKeys()
    {
        createWindow();
        QLineEdit* edit = m_window->findChild<TAddressBand*>()->cboAddress->lineEdit();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->setText(QStringLiteral("typed text"));
        edit->deselect();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), QStringLiteral("typed text"));
        QTest::qWait(50);
        QVERIFY(activeControl()->editCommands.isEmpty());
    }

    void helpPagesOpenInNewTabs()
    {
        createWindow();
        m_window->RunCommand(MainCommand::HelpTopics);
        QCOMPARE(m_window->TabSet()->Count(), 2);
        const QUrl help(m_f->made.last()->navigations.value(0));
        QVERIFY2(QFileInfo(help.toLocalFile()).isFile(), qPrintable(help.toString()));
        QVERIFY(help.path().endsWith(QLatin1String("/help/index.html")));
    }

private:
    void createWindow(int tabs = 1)
    {
        QVERIFY(m_f->createActive(tabs));
        m_window = m_f->window.get();
    }
    FakeBrowserControl* activeControl() const
    {
        return dynamic_cast<FakeBrowserControl*>(m_window->TabSet()->GetActivePage()->Browser());
    }

    std::unique_ptr<MainWindowFixture> m_f;
    TfrmMain* m_window = nullptr;
};

QTEST_MAIN(tst_TMainMenu)
#include "tst_TMainMenu.moc"
