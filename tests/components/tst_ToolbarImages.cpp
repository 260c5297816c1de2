#include "components/ToolbarImages.h"

#include <QPixmap>
#include <QtTest>

class tst_ToolbarImages : public QObject
{
    Q_OBJECT

private slots:
    // Grey until the mouse is over the button; colour always when asked.
    void looks_data()
    {
        QTest::addColumn<bool>("showColor");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRgb>("pixel");
        const QRgb red = qRgb(200, 0, 0);
        const QRgb grey = qRgb(qGray(red), qGray(red), qGray(red));
        // clang-format off
        QTest::newRow("grey look, normal") << false << int(QIcon::Normal) << grey;
        QTest::newRow("grey look, under the mouse") << false << int(QIcon::Active) << red;
        QTest::newRow("colour look, normal") << true << int(QIcon::Normal) << red;
        // clang-format on
    }
    void looks()
    {
        QFETCH(bool, showColor);
        QFETCH(int, mode);
        QImage image(24, 24, QImage::Format_ARGB32);
        image.fill(QColor(200, 0, 0));
        image.setPixel(0, 0, qRgba(0, 0, 0, 0));
        const QIcon icon = ToolbarImages::ForBar(QIcon(QPixmap::fromImage(image)), showColor);
        const QImage shown = icon.pixmap(QSize(24, 24), 1.0, QIcon::Mode(mode))
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), QSize(24, 24));
        QTEST(shown.pixel(5, 5), "pixel");
        QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
    }
};

QTEST_MAIN(tst_ToolbarImages)
#include "tst_ToolbarImages.moc"
