#include "core/window/TKeyFilter.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

class tst_TKeyFilter : public QObject
{
    Q_OBJECT
private slots:
    // Typing right after Alt+D must land in the address box even when the
    // keys were already on their way to the page when Alt+D was pressed.
    void keysAfterACommandFollowItsFocus()
    {
        QWidget window;
        auto* page = new QLineEdit(&window);
        auto* address = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(page);
        layout->addWidget(address);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        page->setFocus();

        TKeyFilter filter([] { return TKeyDecision::WindowState{}; });
        qApp->installEventFilter(&filter);
        int commands = 0;
        connect(&filter, &TKeyFilter::command, address,
                [&](MainCommand command)
                {
                    QCOMPARE(command, MainCommand::FocusAddressBox);
                    ++commands;
                    address->setFocus();
                });
        // A modifier alone, or a key the page hands back unused, does not
        // follow: an Alt would close a menu the command opened.
        struct AltCount : QObject
        {
            int count = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                count += event->type() == QEvent::KeyPress &&
                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt;
                return false;
            }
        } alts;
        address->installEventFilter(&alts);
        QTest::keyClick(page, Qt::Key_D, Qt::AltModifier);
        QKeyEvent handedBack(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(page, &handedBack);
        QTest::keyPress(page, Qt::Key_Alt);
        QTest::keyClicks(page, "qw", Qt::NoModifier);
        QCOMPARE(page->text(), QString());
        QTRY_COMPARE(address->text(), QStringLiteral("qw"));
        QCOMPARE(commands, 1);
        QCOMPARE(alts.count, 0);
        QTest::keyClicks(address, "x");
        QCOMPARE(address->text(), QStringLiteral("qwx"));
    }
};

QTEST_MAIN(tst_TKeyFilter)
#include "tst_TKeyFilter.moc"
