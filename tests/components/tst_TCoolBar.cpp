#include "components/TCoolBar.h"

#include <QTest>
#include <QVBoxLayout>

class tst_TCoolBar : public QObject
{
    Q_OBJECT
private slots:
    // The window's top panel holds the bar in a layout and takes its height.
    void draggingAGripperUpJoinsTheRowAbove()
    {
        QWidget top;
        auto* layout = new QVBoxLayout(&top);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        auto* bar = new TCoolBar;
        layout->insertWidget(0, bar);
        QWidget* menu = new QWidget;
        QWidget* tool = new QWidget;
        QWidget* address = new QWidget;
        QWidget* links = new QWidget;
        bar->AddBand(menu, QStringLiteral("Menu"), {45, 23, 626, false, {}});
        bar->AddBand(tool, QStringLiteral("Tool"), {40, 27, 626, true, {}});
        bar->AddBand(address, QStringLiteral("Address"), {58, 23, 551, true, {}});
        bar->AddBand(links, QStringLiteral("Links"), {17, 23, 73, false, QStringLiteral("Links")});
        top.resize(800, 300);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QCOMPARE(bar->height(), 23 + 2 + 27 + 2 + 23);

        const QPoint grip = bar->GripperRect(1).center();
        const QPoint drop(300 + grip.x(), 10);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, drop);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, drop);

        QCOMPARE(bar->BandChild(1), tool);
        QVERIFY(!bar->BandBreak(1));
        QVERIFY(bar->BandBreak(2));
        QCOMPARE(bar->BandRect(1).topLeft(), QPoint(300, 0));
        QCOMPARE(tool->geometry().top(), 0);
        QCOMPARE(tool->geometry().right(), bar->width() - 1);
        QTRY_COMPARE(bar->height(), 27 + 2 + 23);
        QCOMPARE(address->geometry().top(), 27 + 2);
        // The links band keeps room for its text beside its gripper.
        const int linksLeft = links->geometry().left();
        QVERIFY(linksLeft > bar->BandRect(3).left() + bar->GripperWidth());
        bar->setTranslatableText(3, QStringLiteral("Verknuepfungen"));
        QVERIFY(links->geometry().left() > linksLeft);
    }
};

QTEST_MAIN(tst_TCoolBar)
#include "tst_TCoolBar.moc"
