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
        QTest::keyClick(page, Qt::Key_D, Qt::AltModifier);
        QTest::keyClicks(page, "qw", Qt::NoModifier);
        QCOMPARE(page->text(), QString());
        QTRY_COMPARE(address->text(), QStringLiteral("qw"));
        QCOMPARE(commands, 1);
        QTest::keyClicks(address, "x");
        QCOMPARE(address->text(), QStringLiteral("qwx"));
    }
};

QTEST_MAIN(tst_TKeyFilter)
#include "tst_TKeyFilter.moc"
