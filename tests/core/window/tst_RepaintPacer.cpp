#include "core/window/RepaintPacer.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace
{
// Paints the number it shows and records what it painted; each paint takes
// a few milliseconds, as a composition in software does, so that later
// repaints are held back.
class CountingWidget : public QWidget
{
public:
    int shown = 0;
    int painted = -1;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, QString::number(shown));
        painted = shown;
        ++paints;
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 5)
        {
        }
    }
};
} // namespace

class tst_RepaintPacer : public QObject
{
    Q_OBJECT

private slots:
    void hold()
    {
        // Since the last composition ended, how long it took, the hold.
        QCOMPARE(RepaintPacer::holdMs(-1, 0), 0); // the first composition
        QCOMPARE(RepaintPacer::holdMs(0, 20), 20); // just after a slow one
        QCOMPARE(RepaintPacer::holdMs(30, 400), RepaintPacer::MaxHoldMs - 30); // very slow
    }

    void everyChangeIsPainted()
    {
        CountingWidget window;
        window.resize(200, 100);
        new RepaintPacer(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.painted, 0);

        // A stream of changes, one per turn of the event loop: whatever is held
        // back, the last state reaches the screen.
        int next = 1;
        QTimer changes;
        changes.setInterval(0);
        connect(&changes, &QTimer::timeout, &window,
                [&]
                {
                    window.shown = next++;
                    window.update();
                    if (next > 40)
                        changes.stop();
                });
        changes.start();
        QTRY_VERIFY(!changes.isActive());
        QTRY_COMPARE(window.painted, 40);

        // A single change long after the stream is painted as well.
        window.shown = 41;
        window.update();
        QTRY_COMPARE(window.painted, 41);
    }
};

QTEST_MAIN(tst_RepaintPacer)
#include "tst_RepaintPacer.moc"
