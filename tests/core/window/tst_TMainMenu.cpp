#include "MainWindowFixture.h"
#include "components/TMenuBand.h"
#include "components/TQWPageControl.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/engine/TEngineProfile.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
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
            if (menu->actions().isEmpty())
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
        for (QToolButton* button : band->Buttons())
            QVERIFY(!button->isHidden());

        band->resize(band->sizeHint().width() / 2, band->height());
        QVERIFY(!band->Chevron()->isHidden());
        QVERIFY(band->Buttons().last()->isHidden());
        QVERIFY(!band->Buttons().first()->isHidden());
        emit band->Extender()->aboutToShow();
        QList<QMenu*> offered;
        for (QAction* entry : band->Extender()->actions())
        {
            QVERIFY(entry->menu());
            offered << entry->menu();
        }
        // The band's menus in its order, but for the Tabs menu, which takes no part.
        QList<QMenu*> expected;
        for (QToolButton* button : band->Buttons())
            if (button->objectName() != QLatin1String("tbMenuTabs"))
                expected << button->menu();
        QCOMPARE(offered, expected);
        QVERIFY(expected.size() < band->Buttons().size());
        // The menus are lent, not moved: they still hold their items.
        QVERIFY(!menuNamed(m_window, "pmFile")->isEmpty());

        QCOMPARE(TMenuBand::FittingButtons({10, 20, 30}, 60, 8), 3);
        QCOMPARE(TMenuBand::FittingButtons({10, 20, 30}, 59, 8), 2);
    }

    void closeAllMenuDefaultClosesOnlyFrontTab()
    {
        createWindow(3);
        TTabSet* tabs = m_window->TabSet();
        TBrowserTab* first = tabs->Tab(0);
        TBrowserTab* front = tabs->Tab(1);
        TBrowserTab* last = tabs->Tab(2);
        tabs->ActivateTab(front);
        QMenu* menu = m_window->MainMenu()->CloseAllMenu();
        QVERIFY(menu->defaultAction());
        QCOMPARE(menu->defaultAction()->objectName(), QStringLiteral("pmCloseAllCloseAll"));
        menu->defaultAction()->trigger();
        QCOMPARE(tabs->Count(), 2);
        QCOMPARE(tabs->Tab(0), first);
        QCOMPARE(tabs->Tab(1), last);
    }

    void clipboardItemFollowsClipboard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("image");
        QTest::addColumn<bool>("enabled");
        // clang-format off
        QTest::newRow("address")        << "http://example.test/" << false << true;
        QTest::newRow("image only")     << QString()              << true  << false;
        QTest::newRow("blanks only")    << "   "                  << false << false;
        // clang-format on
    }

    void clipboardItemFollowsClipboard()
    {
        QFETCH(QString, text);
        QFETCH(bool, image);
        QFETCH(bool, enabled);
        createWindow();
        auto* data = new QMimeData;
        if (!text.isNull())
            data->setText(text);
        if (image)
        {
            QImage picture(4, 4, QImage::Format_RGB32);
            picture.fill(Qt::red);
            data->setImageData(picture);
        }
        QGuiApplication::clipboard()->setMimeData(data);
        QMenu* newMenu = menuNamed(m_window, "pmFileNewMenu");
        QVERIFY(newMenu);
        emit newMenu->aboutToShow();
        auto* item = m_window->findChild<QAction*>(QStringLiteral("pmFileNewClipboard"));
        QVERIFY(item);
        QCOMPARE(item->isEnabled(), enabled);
        if (!enabled)
            return;
        item->trigger();
        QCOMPARE(m_window->TabSet()->Count(), 2);
        QVERIFY2(!m_f->made.last()->navigations.isEmpty(), "the new tab opens the address");
        QVERIFY(m_f->made.last()->navigations.last().contains(text.trimmed()));
    }

    void clipboardScriptAddressRefused()
    {
        createWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("javascript:alert(1)"));
        m_window->RunCommand(MainCommand::NewClipboardTab);
        QCOMPARE(m_window->TabSet()->Count(), 1);
        for (FakeBrowserControl* control : std::as_const(m_f->made))
            for (const QString& address : control->navigations)
                QVERIFY(!address.startsWith(QLatin1String("javascript:")));
    }

    void autoRefreshItemsSetTheTimer()
    {
        createWindow();
        const QList<QAction*> items = m_window->MainMenu()->AutoRefreshItems();
        QCOMPARE(items.size(), 6);
        QVERIFY(items.first()->isChecked());
        items.at(2)->trigger();
        QCOMPARE(m_window->TabSet()->AutoRefreshInterval(), 30000);
        QVERIFY(m_window->TabSet()->RefreshTimer()->isActive());
        QVERIFY(items.at(2)->isChecked());
        QVERIFY(!items.first()->isChecked());
        items.first()->trigger();
        QVERIFY(!m_window->TabSet()->RefreshTimer()->isActive());
    }

    void keysInsidePage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("tabsAfter");
        QTest::addColumn<int>("activeAfter");
        QTest::addColumn<QString>("pageCall");

        const Qt::KeyboardModifiers none, ctrl(Qt::ControlModifier), shift(Qt::ShiftModifier),
            alt(Qt::AltModifier);
        // Three tabs, the middle one in front. Which key means what is the key
        // decision's table; here: the key pressed in the page reaches the
        // command, never the page.
        // clang-format off
        QTest::newRow("Ctrl+W")                     << int(Qt::Key_W)       << ctrl          << 2 << 0 << "closed";
        QTest::newRow("Ctrl+N")                     << int(Qt::Key_N)       << ctrl          << 4 << 2 << "";
        QTest::newRow("Alt+Left")                   << int(Qt::Key_Left)    << alt           << 3 << 1 << "back";
        QTest::newRow("Esc")                        << int(Qt::Key_Escape)  << none          << 3 << 1 << "stop";
        QTest::newRow("Ctrl+R")                     << int(Qt::Key_R)       << ctrl          << 3 << 1 << "complete refresh";
        QTest::newRow("Ctrl+C")                     << int(Qt::Key_C)       << ctrl          << 3 << 1 << "copy";
        QTest::newRow("Shift+Ins")                  << int(Qt::Key_Insert)  << shift         << 3 << 1 << "paste";
        // clang-format on
    }

    void keysInsidePage()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, tabsAfter);
        QFETCH(int, activeAfter);
        QFETCH(QString, pageCall);
        QVERIFY(m_f->seed(QStringLiteral("NewAction"), QStringLiteral("0")));
        createWindow(3);
        TTabSet* tabs = m_window->TabSet();
        tabs->ActivateTab(tabs->Tab(1));
        activeControl()->events()->CommandStateChange(CommandBack, true);
        focusPage();
        FakeBrowserControl* page = activeControl();
        const QPointer<QWidget> pageWidget = page->widget();
        KeyRecorder recorder;
        pageWidget->installEventFilter(&recorder);

        QTest::keyClick(pageWidget, Qt::Key(key), modifiers);
        QTRY_COMPARE(tabs->Count(), tabsAfter);
        QTRY_COMPARE(tabs->GetActivePage(), tabs->Tab(activeAfter));
        // The window took the key: the page never saw it.
        QVERIFY(recorder.presses.isEmpty());
        if (pageCall == QLatin1String("closed"))
            return;
        QTRY_COMPARE(pageCalls(page), pageCall);
        pageWidget->removeEventFilter(&recorder);
    }

    void altShortcuts_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::newRow("Alt shortcuts on") << false;
        QTest::newRow("Alt shortcuts off") << true;
    }

    void altShortcuts()
    {
        QFETCH(bool, disabled);
        QVERIFY(m_f->seed(QStringLiteral("DisableALTShortcuts"), QString::number(int(disabled))));
        createWindow();
        focusPage();
        QWidget* page = activeControl()->widget();
        KeyRecorder recorder;
        page->installEventFilter(&recorder);
        QMenu* file = menuNamed(m_window, "pmFile");
        // Dropping the File menu from the keyboard reads the engine's state.
        TEngineProfile::setWorkOffline(true);

        QTest::keyClick(page, Qt::Key_F, Qt::AltModifier);
        if (disabled)
        {
            // The page has the key (an access key of its own, say); no menu opens.
            QTest::qWait(100);
            QCOMPARE(recorder.presses.size(), 1);
            QCOMPARE(recorder.presses.first().first, int(Qt::Key_F));
            QVERIFY(!file->isVisible());
            QVERIFY(!QApplication::activePopupWidget());
        }
        else
        {
            QTRY_VERIFY(file->isVisible());
            QVERIFY(recorder.presses.isEmpty());
            QVERIFY(m_window->MainMenu()->WorkOfflineItem()->isChecked());
            file->close();
        }
        TEngineProfile::setWorkOffline(false);
        page->removeEventFilter(&recorder);
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
        // Keys of the window still work from the box.
        QTest::keyClick(edit, Qt::Key_F5);
        QTRY_COMPARE(activeControl()->refreshes.size(), 1);
    }

    void aboutNamesEngine()
    {
        createWindow();
        QString shown;
        m_f->expectDialogs();
        ModalDialogAnswerer answerer(
            [&shown](QWidget* dialog)
            {
                for (const QLabel* label : dialog->findChildren<QLabel*>())
                    shown += label->text() + QLatin1Char('\n');
                for (const QPlainTextEdit* text : dialog->findChildren<QPlainTextEdit*>())
                    shown += text->toPlainText() + QLatin1Char('\n');
                dialog->close();
            });
        m_window->RunCommand(MainCommand::About);
        QCOMPARE(answerer.count(), 1);
        // The version the build defines, not one written into the text by hand.
        QVERIFY2(shown.contains(QStringLiteral("Quillwave " QW_VERSION)), qPrintable(shown));
        // The engine line: the key's text, then the engine's version.
        QVERIFY2(shown.contains(QStringLiteral("Browser engine: ")), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("Chromium")), qPrintable(shown));
    }

    void helpSupportAndSearchListsAreReachable()
    {
        createWindow();
        m_window->RunCommand(MainCommand::HelpTopics);
        QCOMPARE(m_window->TabSet()->Count(), 2);
        const QUrl help(m_f->made.last()->navigations.value(0));
        QVERIFY2(QFileInfo(help.toLocalFile()).isFile(), qPrintable(help.toString()));
        QVERIFY(help.path().endsWith(QLatin1String("/help/index.html")));

        m_window->RunCommand(MainCommand::HelpSupport);
        const QUrl support(m_f->made.last()->navigations.value(0));
        QCOMPARE(support.fragment(), QStringLiteral("support"));
        QFile page(support.toLocalFile());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("id=\"support\""));

        m_f->expectDialogs();
        QStringList captions;
        ModalDialogAnswerer answerer(
            [&captions](QWidget* dialog)
            {
                captions << dialog->windowTitle();
                dialog->close();
            });
        m_window->RunCommand(MainCommand::OrganizeSearchEngines);
        m_window->RunCommand(MainCommand::OrganizeSearchBar);
        QCOMPARE(captions, QStringList({QStringLiteral("Organize Search Engines"),
                                        QStringLiteral("Organize Search Pages")}));
    }

    void workOfflineFollowsEngine()
    {
        createWindow();
        QAction* item = m_window->MainMenu()->WorkOfflineItem();
        item->trigger();
        QVERIFY(TEngineProfile::workOffline());
        item->trigger();
        QVERIFY(!TEngineProfile::workOffline());
    }

private:
    void createWindow(int tabs = 1)
    {
        QVERIFY(m_f->createActive(tabs));
        m_window = m_f->window.get();
    }
    TBrowserTab* activeTab() const { return m_window->TabSet()->GetActivePage(); }
    FakeBrowserControl* activeControl() const
    {
        return dynamic_cast<FakeBrowserControl*>(activeTab()->Browser());
    }
    void focusPage();

    std::unique_ptr<MainWindowFixture> m_f;
    TfrmMain* m_window = nullptr;
};

void tst_TMainMenu::focusPage()
{
    QWidget* page = activeControl()->widget();
    page->setFocusPolicy(Qt::StrongFocus);
    page->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), page);
}

QTEST_MAIN(tst_TMainMenu)
#include "tst_TMainMenu.moc"
