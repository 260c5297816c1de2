#include "core/dialogs/WindowServices.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

class tst_WindowServices : public QObject
{
    Q_OBJECT

private slots:
    void widgetsFindTheServicesOfTheirOwnWindow()
    {
        auto* window = new QWidget;
        auto* services = new WindowServices(nullptr, window);
        auto* inner = new QWidget(new QWidget(window));
        QWidget other;
        // A window's own child widgets may hold services of their own parts;
        // only the window's count.
        new WindowServices(nullptr, static_cast<QObject*>(inner));

        QCOMPARE(WindowServices::of(inner), services);
        QCOMPARE(WindowServices::of(window), services);
        QCOMPARE(services->window(), window);
        QCOMPARE(WindowServices::of(&other), nullptr);
        QCOMPARE(WindowServices::of(nullptr), nullptr);

        const QPointer<WindowServices> gone(services);
        delete window;
        QVERIFY(!gone);
    }
};

QTEST_MAIN(tst_WindowServices)
#include "tst_WindowServices.moc"
