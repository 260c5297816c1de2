#include "components/TQWStatusBar.h"
#include "core/dialogs/TfrmConfirm.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TLogoPanel.h"
#include "core/window/WindowPlacement.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

Q_DECLARE_METATYPE(TAppCommandFilter::AppCommand)

namespace
{
template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}
} // namespace

class tst_MainWindowParts : public QObject
{
    Q_OBJECT

private slots:
    void confirmHidesWhatHasNoText_data()
    {
        QTest::addColumn<QStringList>("texts"); // title, OK, Cancel, check box
        QTest::newRow("everything") << QStringList{"Title", "Yes", "No", "Don't ask"};
        QTest::newRow("nothing but the text") << QStringList{"", "", "", ""};
    }

    void confirmHidesWhatHasNoText()
    {
        QFETCH(QStringList, texts);
        TfrmConfirm dialog;
        dialog.setTexts("Caption", texts[0], "Explanation", texts[1], texts[2], texts[3]);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Caption"));
        const char* names[] = {"lblTitle", "cmdOK", "cmdCancel", "chkConfirm"};
        for (int i = 0; i < 4; ++i)
        {
            QWidget* widget = child<QWidget>(&dialog, names[i]);
            QVERIFY2(widget && widget->isVisible() == !texts[i].isEmpty(), names[i]);
            if (!texts[i].isEmpty())
                QCOMPARE(widget->property("text").toString(), texts[i]);
        }
        QCOMPARE(child<QPlainTextEdit>(&dialog, "mmoPrompt2")->toPlainText(),
                 QStringLiteral("Explanation"));
        QVERIFY(child<QPlainTextEdit>(&dialog, "mmoPrompt2")->isReadOnly());
    }

    void statusTextForHint()
    {
        for (const auto& [hint, shown] : std::initializer_list<std::pair<QString, QString>>{
                 {"first\nsecond", "second"}, // line break without bar
                 {"a|b|c", "b|c"},           // only the first bar counts
                 {"one\ntwo|three", "three"}}) // bar after the break
            QCOMPARE(TQWStatusBar::statusTextForHint(hint), shown);
    }

    void hintShowsOverThePanelsOwnText()
    {
        // Moving the pointer over menus must never wipe a message.
        TQWStatusBar bar;
        bar.setPanelText(0, QStringLiteral("before"));
        bar.showHint(QStringLiteral("Opens a page"));
        QCOMPARE(bar.panel(0)->text(), QStringLiteral("Opens a page"));
        bar.showHint(QString());
        QCOMPARE(bar.panel(0)->text(), QStringLiteral("before"));
    }

    void logoPanelFollowsItsHeight()
    {
        QWidget host;
        TLogoPanel panel(&host);
        host.resize(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        // The panel lays itself out by the rule above as its height changes.
        for (const int height : {70, 40})
        {
            panel.resize(panel.width(), height);
            const LogoLayout layout = LogoLayout::compute(height, 34, height, 16);
            QCOMPARE(panel.width(), layout.panelWidth);
            QCOMPARE(panel.pnlLogoBevel->geometry(), layout.bevel);
            QCOMPARE(panel.pnlCloseButtons->geometry(), layout.closeButtons);
            QCOMPARE(panel.spdClose->y(), layout.closeTop);
            QCOMPARE(panel.spdCloseAll->y(), panel.spdClose->y());
        }
    }

    void visibleRect_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<bool>("untouched");

        const QList<QRect> one{QRect(0, 0, 1280, 1024)};
        const QList<QRect> two{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};

        // clang-format off
        QTest::newRow("on screen")                                 << QRect(10, 10, 800, 600)       << one            << true;
        QTest::newRow("no screens known")                          << QRect(-5000, -5000, 800, 600) << QList<QRect>() << true;
        QTest::newRow("far above and left")                        << QRect(-5000, -5000, 800, 600) << one            << false;
        QTest::newRow("a sliver left on screen")                   << QRect(1280 - 20, 100, 800, 600) << one          << false;
        QTest::newRow("where an unplugged screen was")             << QRect(2400, 100, 600, 400)    << two            << false;
        // clang-format on
    }

    void visibleRect()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(bool, untouched);

        const QRect placed = WindowPlacement::visibleRect(stored, screens);
        if (untouched)
        {
            QCOMPARE(placed, stored);
            return;
        }
        // Brought back whole onto the first screen, keeping its size where it fits.
        QVERIFY2(screens.first().contains(placed), qPrintable(QTest::toString(placed)));
        QCOMPARE(placed.width(), qMin(stored.width(), screens.first().width() - 20));
        QCOMPARE(placed.height(), qMin(stored.height(), screens.first().height() - 20));
    }

    void everyCommandHasOneKey()
    {
        // Every key Qt can report, printable and special: each application
        // command is reached by exactly one of them.
        QHash<TAppCommandFilter::AppCommand, int> keys;
        for (const auto& [from, to] : {std::pair{0x20, 0xff}, std::pair{0x01000000, 0x0100ffff},
                                       std::pair{0x01100000, 0x0110ffff}})
            for (int key = from; key <= to; ++key)
                ++keys[TAppCommandFilter::commandForKey(key, Qt::NoModifier)];
        for (int command = TAppCommandFilter::None + 1; command <= TAppCommandFilter::Home;
             ++command)
            QCOMPARE(keys.value(TAppCommandFilter::AppCommand(command)), 1);
    }

    void commandForMouseButton()
    {
        for (const auto& [button, command] :
             {std::pair{Qt::BackButton, TAppCommandFilter::Back},
              {Qt::ForwardButton, TAppCommandFilter::Forward},
              {Qt::MiddleButton, TAppCommandFilter::None}})
            QCOMPARE(TAppCommandFilter::commandForMouseButton(button), command);
    }

    void realWindowDeliveryGivesOneCommand()
    {
        TAppCommandFilter filter;
        qApp->installEventFilter(&filter);
        QSignalSpy spy(&filter, &TAppCommandFilter::command);

        QWidget top;
        auto* layout = new QVBoxLayout(&top);
        auto* inner = new QWidget(&top);
        auto* edit = new QLineEdit(inner);
        layout->addWidget(inner);
        top.resize(300, 200);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        top.activateWindow();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());

        // Through the platform window, as the keyboard and mouse deliver them.
        QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
        QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
        QCOMPARE(spy.count(), 2);
        spy.clear();
        const QPoint onInner = inner->mapTo(&top, inner->rect().center());
        QTest::mousePress(top.windowHandle(), Qt::BackButton, {}, onInner);
        QTest::mouseRelease(top.windowHandle(), Qt::BackButton, {}, onInner);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<TAppCommandFilter::AppCommand>(),
                 TAppCommandFilter::Back);
        spy.clear();
        QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, onInner);
        QCOMPARE(spy.count(), 0);
        qApp->removeEventFilter(&filter);
    }
};

QTEST_MAIN(tst_MainWindowParts)
#include "tst_MainWindowParts.moc"
