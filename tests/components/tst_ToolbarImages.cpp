#include "components/ToolbarImages.h"

#include <QPixmap>
#include <QtTest>

class tst_ToolbarImages : public QObject
{
    Q_OBJECT

private slots:
    // Grey until the mouse is over the button; colour always when asked.
    void looks()
    {
        const QRgb red = qRgb(200, 0, 0);
        const QRgb grey = qRgb(qGray(red), qGray(red), qGray(red));
        QImage image(24, 24, QImage::Format_ARGB32);
        image.fill(QColor(200, 0, 0));
        image.setPixel(0, 0, qRgba(0, 0, 0, 0));
        // Colour look, mode, the pixel shown.
        const QList<std::tuple<bool, QIcon::Mode, QRgb>> rows = {
            {false, QIcon::Normal, grey}, {false, QIcon::Active, red}, {true, QIcon::Normal, red}};
        for (const auto& [showColor, mode, pixel] : rows)
        {
            const QIcon icon = ToolbarImages::ForBar(QIcon(QPixmap::fromImage(image)), showColor);
            const QImage shown = icon.pixmap(QSize(24, 24), 1.0, mode)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown.size(), QSize(24, 24));
            QCOMPARE(shown.pixel(5, 5), pixel);
            QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
        }
    }
};

QTEST_MAIN(tst_ToolbarImages)
#include "tst_ToolbarImages.moc"
