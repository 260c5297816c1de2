// The band bar: where its bands go and how they are dragged, as a layout
// and through the widget; and how toolbar images look on it.

#include "components/CoolBarLayout.h"
#include "components/TCoolBar.h"
#include "components/ToolbarImages.h"

#include <QPixmap>
#include <QTest>
#include <QVBoxLayout>

namespace
{
// A bar 300 wide, grippers of 10, rows 2 apart.
const CoolBarLayout::Metrics Bar{300, 10, 2};

// Bands written "width:minWidth:minHeight", with "-" before a hidden band
// and "|" before a band that begins a row.
QList<CoolBand> Bands(const QString& text)
{
    QList<CoolBand> bands;
    for (QString item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    {
        CoolBand band;
        band.visible = !item.startsWith(QLatin1Char('-'));
        item.remove(QLatin1Char('-'));
        band.breakBefore = item.startsWith(QLatin1Char('|'));
        item.remove(QLatin1Char('|'));
        const QStringList numbers = item.split(QLatin1Char(':'));
        band.width = numbers.value(0).toInt();
        band.minWidth = numbers.value(1).toInt();
        band.minHeight = numbers.value(2).toInt();
        bands.append(band);
    }
    return bands;
}

// Widths and breaks in the same way.
QString Written(const QList<CoolBand>& bands)
{
    QStringList items;
    for (const CoolBand& band : bands)
        items << QStringLiteral("%1%2%3")
                     .arg(band.visible ? "" : "-", band.breakBefore ? "|" : "")
                     .arg(band.width);
    return items.join(QLatin1Char(' '));
}
} // namespace

class tst_TCoolBar : public QObject
{
    Q_OBJECT
private slots:
    void compute()
    {
        // Bands, their rectangles ("-" for one not shown), the bar's height.
        // clang-format off
        const QList<std::tuple<QString, QString, int>> rows = {
            {"100:10:20 100:10:24", "0,0,100,24 100,0,200,24", 24}, // the last band stretches
            {"100:10:20 |100:10:24 100:10:22", "0,0,300,20 0,22,100,24 100,22,200,24", 46},
            {"100:10:20 -|100:10:40 100:10:22", "0,0,100,22 - 100,0,200,22", 22}, // a hidden band and its break count for nothing
            {"-100:10:20 |100:10:20", "- 0,0,300,20", 20}, // the first shown band begins the first row
            {"200:50:20 200:50:20", "0,0,200,20 200,0,100,20", 20}, // too wide: the right band gives way
            {"200:50:20 200:50:20 200:50:20", "0,0,180,20 180,0,60,20 240,0,60,20", 20}, // then the bands left of it
            {"200:150:20 200:150:20", "0,0,160,20 160,0,140,20", 20}, // never below the minimum: cut at the edge
            {"200:290:20 100:50:20", "0,0,300,20 300,0,0,20", 20}, // a band beyond the edge is 0 wide
            {"5:40:20 0:10:20", "0,0,50,20 50,0,250,20", 20}, // too narrow a width is raised
            {"-100:10:20", "-", 0},
        };
        // clang-format on
        for (const auto& [bands, rects, height] : rows)
        {
            const CoolBarLayout::Result result = CoolBarLayout::Compute(Bands(bands), Bar);
            QStringList got;
            for (qsizetype i = 0; i < result.rects.size(); ++i)
            {
                const QRect r = result.rects.at(i);
                got << (result.rows.at(i) < 0 ? "-"
                                              : QString::asprintf("%d,%d,%d,%d", r.x(), r.y(),
                                                                  r.width(), r.height()));
            }
            QCOMPARE(got.join(QLatin1Char(' ')), rects);
            QCOMPARE(result.height, height);
        }
    }

    void drag()
    {
        const QString rows = "100:10:20 |100:10:20 100:10:20";
        // Bands, the drag, the bands after it, the dragged band's index after it.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, int>> drags = {
            {"100:10:20 100:10:20", "along 1 50", "150 100", 1}, // right: the band before widens
            {"100:10:20 100:10:20", "along 1 -200", "20 100", 1}, // left: not below its minimum
            {"100:10:20 100:10:20 100:10:20", "along 2 200", "100 180 100", 2}, // right: room kept for the bands after
            {"100:10:20 100:10:20", "along 0 50", "100 100", 0}, // the first band of a row stays
            {"200:50:20 200:50:20 200:50:20", "along 1 -50", "130 200 200", 1}, // on a narrow bar the shown widths move
            {rows, "row 0 1 150", "|100 50 100", 2}, // down behind the last band
            {rows, "row 2 0 50", "50 100 |100", 1}, // up behind a band
            {rows, "row 1 0 0", "100 100 |100", 0}, // to a row's front; its follower begins its row
            {"100:10:20 -|100:10:20 |100:10:20", "row 2 0 50", "50 100 -|100", 1}, // past a hidden band
            {rows, "row 2 1 150", "100 |150 100", 2}, // onto its own row: a move along it
            {rows, "above 2", "100 |100 |100", 0},
            {rows, "below 0", "|100 100 |100", 2},
            {rows, "below 1", "100 |100 |100", 2}, // below, from a shared row
        };
        // clang-format on
        for (const auto& [bands, drag, after, index] : drags)
        {
            const QStringList words = drag.split(QLatin1Char(' '));
            const QList<CoolBand> before = Bands(bands);
            const int band = words.at(1).toInt();
            CoolBarLayout::Move move{before, band};
            if (words.first() == QLatin1String("along"))
                move.bands = CoolBarLayout::MoveWithinRow(before, Bar, band, words.at(2).toInt());
            else if (words.first() == QLatin1String("row"))
                move = CoolBarLayout::MoveToRow(before, Bar, band, words.at(2).toInt(),
                                                words.at(3).toInt());
            else
                move = CoolBarLayout::MoveToNewRow(before, Bar, band,
                                                   words.first() == QLatin1String("above"));
            QVERIFY2(Written(move.bands) == after, qPrintable(drag + " -> " + Written(move.bands)));
            QCOMPARE(move.index, index);
        }
    }

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

    // The window's top panel holds the bar in a layout and takes its height.
    void draggingAGripperUpJoinsTheRowAbove()
    {
        QWidget top;
        auto* layout = new QVBoxLayout(&top);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        auto* bar = new TCoolBar;
        layout->insertWidget(0, bar);
        QWidget *menu = new QWidget, *tool = new QWidget, *address = new QWidget,
                *links = new QWidget;
        bar->AddBand(menu, "Menu", {45, 23, 626, false, {}});
        bar->AddBand(tool, "Tool", {40, 27, 626, true, {}});
        bar->AddBand(address, "Address", {58, 23, 551, true, {}});
        bar->AddBand(links, "Links", {17, 23, 73, false, "Links"});
        top.resize(800, 300);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QCOMPARE(bar->height(), 23 + 2 + 27 + 2 + 23);

        const QPoint grip = bar->GripperRect(1).center();
        const QPoint drop(300 + grip.x(), 10);
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, drop);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, drop);

        // Where the band goes is the layout's to say; the widgets follow it.
        QCOMPARE(bar->BandRect(1).topLeft(), QPoint(300, 0));
        QCOMPARE(tool->geometry().top(), 0);
        QCOMPARE(tool->geometry().right(), bar->width() - 1);
        QTRY_COMPARE(bar->height(), 27 + 2 + 23);
        QCOMPARE(address->geometry().top(), 27 + 2);
        // The links band keeps room for its text beside its gripper.
        const int linksLeft = links->geometry().left();
        QVERIFY(linksLeft > bar->BandRect(3).left() + bar->GripperWidth());
        bar->setTranslatableText(3, "Verknuepfungen");
        QVERIFY(links->geometry().left() > linksLeft);
    }
};

QTEST_MAIN(tst_TCoolBar)
#include "tst_TCoolBar.moc"
