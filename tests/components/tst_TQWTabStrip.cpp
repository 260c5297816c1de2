// The page control and its tab strip: pages shown and hidden, what the
// mouse does to tabs, how tabs share, wrap and scroll the row, and how they
// are drawn.

#include "PageControlProbe.h"
#include "components/TQWPageControl.h"
#include "components/TQWTabStrip.h"
#include "components/TabStripLayout.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
using namespace PageControlProbe;

// A tab's centre in the strip's own coordinates, where mouse events go.
QPoint tabCentre(const TQWPageControl& control, int visibleIndex)
{
    return stripOf(control)->mapFromParent(control.tabRect(visibleIndex).center());
}

// A point on the strip's row but right of every tab.
QPoint pastLastTab(const TQWPageControl& control)
{
    const QRect last = control.tabRect(control.visibleCount() - 1);
    return stripOf(control)->mapFromParent(QPoint(last.right() + 20, last.center().y()));
}

QWidget* pageNamed(const TQWPageControl& control, const QString& name)
{
    for (int i = 0; i < control.count(); ++i)
        if (control.page(i)->objectName() == name)
            return control.page(i);
    return nullptr;
}

void showAndWait(QWidget& widget)
{
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
}
} // namespace

class tst_TQWTabStrip : public QObject
{
    Q_OBJECT

private slots:
    void indexMapping()
    {
        // Pages ("V" shown, "H" hidden), the tabs shown, the active page.
        const QList<std::tuple<QString, QString, QString>> rows = {
            {"VVV", "0,1,2", "0"}, {"HVV", "1,2", "1"}, {"HHH", "", ""}};
        for (const auto& [pattern, visible, active] : rows)
        {
            const auto control = makeControl(pattern);
            QCOMPARE(names(*control), visible);
            QCOMPARE(stripOf(*control)->count(), control->visibleCount());
            QCOMPARE(activeName(*control), active);
            int visibleIndex = 0;
            for (int i = 0; i < control->count(); ++i)
            {
                QWidget* page = control->page(i);
                const bool shown = pattern[i] == QLatin1Char('V');
                QCOMPARE(control->isPageVisible(page), shown);
                QCOMPARE(control->visibleIndexOf(page), shown ? visibleIndex : -1);
                if (shown)
                    QCOMPARE(stripOf(*control)->tabCaption(visibleIndex++),
                             control->pageCaption(page));
            }
            QCOMPARE(control->visiblePage(control->visibleCount()), nullptr);
        }
    }

    void setActivePageOnHiddenIsRefused()
    {
        const auto control = makeControl("VHV");
        showAndWait(*control);
        QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);

        control->setActivePage(control->page(1));
        QCOMPARE(activeName(*control), "0");
        QVERIFY(!control->page(1)->isVisible());

        control->setActivePage(control->page(2));
        auto foreign = std::make_unique<QWidget>();
        control->setActivePage(foreign.get());
        control->setActivePage(nullptr);
        QCOMPARE(activeName(*control), "2");
        // Choices made by the program are not the user's.
        QCOMPARE(changed.count(), 0);

        // A deleted page is forgotten, and the active one is replaced.
        delete control->page(2);
        QCOMPARE(names(*control, false), "0,1");
        QCOMPARE(stripOf(*control)->count(), 1);
        QCOMPARE(activeName(*control), "0");
    }

    // Removing or hiding the active page makes the next shown one active.
    void removeOrHideActive()
    {
        // Pages, the active one, the one active afterwards.
        const QList<std::tuple<QString, QString, QString>> rows = {
            {"VVV", "0", "1"}, {"VHV", "2", "0"}, {"VHH", "0", ""}};
        for (const auto& [pattern, active, expected] : rows)
            for (const bool remove : {true, false})
            {
                const auto control = makeControl(pattern);
                showAndWait(*control);
                QWidget* page = pageNamed(*control, active);
                control->setActivePage(page);
                std::unique_ptr<QWidget> released;
                if (remove)
                {
                    control->removePage(page);
                    released.reset(page);
                    QCOMPARE(page->parentWidget(), nullptr);
                }
                else
                    control->setPageVisible(page, false);
                QCOMPARE(control->indexOf(page) < 0, remove);
                QVERIFY(!page->isVisible());
                QCOMPARE(activeName(*control), expected);
                QCOMPARE(stripOf(*control)->currentIndex(),
                         control->visibleIndexOf(control->activePage()));
            }
    }

    void movePage()
    {
        // Pages, from, to, every page and the shown ones afterwards.
        const QList<std::tuple<QString, int, int, QString, QString>> rows = {
            {"VHVV", 0, 2, "1,2,0,3", "2,0,3"},  // past a hidden page
            {"VVHV", 3, 2, "0,1,3,2", "0,1,3"}}; // onto a hidden page's place
        for (const auto& [pattern, from, to, all, visible] : rows)
        {
            const auto control = makeControl(pattern);
            QWidget* active = control->activePage();
            control->movePage(from, to);
            QCOMPARE(names(*control, false), all);
            QCOMPARE(names(*control), visible);
            QCOMPARE(control->activePage(), active);
            QCOMPARE(stripOf(*control)->currentIndex(), control->visibleIndexOf(active));
        }
    }

    void badArgumentsAreIgnored()
    {
        const auto control = makeControl("VVV");
        control->movePage(-1, 2);
        control->movePage(0, 3);
        control->insertPage(1, nullptr);
        control->insertPage(0, control->page(2)); // already one of ours
        auto foreign = std::make_unique<QWidget>();
        control->removePage(foreign.get());
        control->setPageVisible(foreign.get(), false);
        control->setPageCaption(foreign.get(), "x");
        QCOMPARE(names(*control, false), "0,1,2");
        QCOMPARE(stripOf(*control)->count(), 3);
        QCOMPARE(control->tabRect(3), QRect());
    }

    void imagesAndPageIcons()
    {
        const auto control = makeControl("VHV");
        const QList<QIcon> images = TQWPageControl::defaultTabImages();
        control->setImages(images);
        TQWTabStrip* strip = stripOf(*control);
        QWidget* page = control->page(0);
        QVERIFY(strip->tabIcon(0).isNull());

        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::magenta);
        const QIcon favicon(pixmap);
        control->setPageIcon(page, favicon);
        QCOMPARE(strip->tabIcon(0).cacheKey(), favicon.cacheKey());
        control->setPageImageIndex(page, 2);
        QCOMPARE(strip->tabIcon(0).cacheKey(), images[2].cacheKey());
        // No image, or an index past the list, falls back to the page's own icon.
        for (const int index : {-1, 99})
        {
            control->setPageImageIndex(page, index);
            QCOMPARE(strip->tabIcon(0).cacheKey(), favicon.cacheKey());
        }

        // A hidden page takes no place, and its image shows once it has a tab.
        const QRect second = control->tabRect(1);
        control->setPageCaption(control->page(1), "A caption that would need a wide tab");
        QCOMPARE(control->tabRect(1), second);
        QCOMPARE(control->tabRect(2), QRect());
        control->setPageImageIndex(control->page(1), 3);
        control->setPageVisible(control->page(1), true);
        QCOMPARE(strip->tabIcon(1).cacheKey(), images[3].cacheKey());
    }

    void press()
    {
        // Button, visible tab pressed (-1: right of every tab), active page after.
        const QList<std::tuple<Qt::MouseButton, int, QString>> rows = {
            {Qt::LeftButton, 2, "2"}, {Qt::LeftButton, -1, "0"}, {Qt::RightButton, 1, "0"}};
        for (const auto& [button, tab, active] : rows)
        {
            const auto control = makeControl("VVV");
            showAndWait(*control);
            QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);
            QSignalSpy mouseDown(control.get(), &TQWPageControl::tabMouseDown);
            const QPoint pos = tab >= 0 ? tabCentre(*control, tab) : pastLastTab(*control);
            QTest::mousePress(stripOf(*control), button, {}, pos);
            QTest::mouseRelease(stripOf(*control), button, {}, pos);
            QCOMPARE(activeName(*control), active);
            QCOMPARE(changed.count(), active == QLatin1String("0") ? 0 : 1);
            QCOMPARE(mouseDown.count(), 1);
            QCOMPARE(mouseDown.first().at(1).toInt(), tab);
        }
    }

    void drag()
    {
        // Pages, set-up, visible tab dragged onto visible tab target, the
        // page's index after (-1: nothing moves), the tabs shown after.
        // clang-format off
        const QList<std::tuple<QString, QString, int, int, int, QString>> rows = {
            {"VVVV", "", 0, 2, 2, "1,2,0,3"},
            {"VHVV", "", 0, 2, 3, "2,3,0"}, // over a hidden page
            {"VVVV", "noshift", 0, 2, -1, "0,1,2,3"},
            {"VVVV", "lines", 0, 2, -1, "0,1,2,3"},
            {"VVVV", "inactive", 0, 2, -1, "0,1,2,3"}}; // a press on an inactive tab
        // clang-format on
        for (const auto& [pattern, setup, dragged, target, to, visible] : rows)
        {
            const auto control = makeControl(pattern);
            showAndWait(*control);
            QWidget* draggedPage = control->visiblePage(dragged);
            control->setActivePage(setup == QLatin1String("inactive") ? control->page(3)
                                                                      : draggedPage);
            if (setup == QLatin1String("noshift"))
                control->SetAllowTabShifting(false);
            if (setup == QLatin1String("lines"))
            {
                // Shifting rows of wrapped tabs would reshuffle every row: refused.
                control->SetMultipleLines(true);
                control->SetAllowTabShifting(true);
                QVERIFY(!control->AllowTabShifting());
            }
            const int from = control->indexOf(draggedPage);
            QSignalSpy moved(control.get(), &TQWPageControl::pageMoved);
            QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);
            TQWTabStrip* strip = stripOf(*control);

            QTest::mousePress(strip, Qt::LeftButton, {}, tabCentre(*control, dragged));
            QTest::mouseMove(strip, tabCentre(*control, target));
            QCOMPARE(strip->testAttribute(Qt::WA_SetCursor), to >= 0);
            QTest::mouseRelease(strip, Qt::LeftButton, {}, tabCentre(*control, target));

            QCOMPARE(names(*control), visible);
            const QList<QVariantList> move{{from, to}};
            QCOMPARE(QList<QVariantList>(moved), to >= 0 ? move : QList<QVariantList>());
            QCOMPARE(control->indexOf(draggedPage), to >= 0 ? to : from);
            QCOMPARE(strip->currentIndex(), control->visibleIndexOf(draggedPage));
            // The user chose only the page pressed while inactive.
            QCOMPARE(changed.count(), int(setup == QLatin1String("inactive")));
            // A press on an inactive tab selects it, but does not start a drag.
            QCOMPARE(control->activePage(), draggedPage);
            QVERIFY(!strip->testAttribute(Qt::WA_SetCursor));
        }
    }

    void multipleLinesWrap()
    {
        const auto control = makeControl(QString(30, QLatin1Char('V')), 400);
        TQWTabStrip* strip = stripOf(*control);
        QCOMPARE(strip->rowCount(), 1);

        control->SetMultipleLines(true);
        const int rows = strip->rowCount();
        QVERIFY(rows > 1);
        QCOMPARE(strip->height(), rows * strip->tabHeight() + TQWTabStrip::EdgeMargin + 1);
        for (int i = 0; i < control->visibleCount(); ++i)
        {
            const QRect rect = control->tabRect(i);
            for (int j = 0; j < i; ++j)
                QVERIFY(!rect.intersects(control->tabRect(j)));
        }

        // Whichever row holds the selected tab moves next to the pages.
        const int nearestTop = strip->geometry().top() + TQWTabStrip::EdgeMargin;
        QCOMPARE(control->tabRect(0).top(), nearestTop);
        control->setActivePage(control->page(29));
        QCOMPARE(control->tabRect(29).top(), nearestTop);
        QVERIFY(control->tabRect(0).top() > nearestTop);
    }

    void singleRowShrinksThenScrolls()
    {
        const auto control = makeControl(QString());
        TQWTabStrip* strip = stripOf(*control);
        const int rowHeight = strip->height();
        for (int i = 0; i < 5; ++i)
        {
            auto* page = new QWidget;
            control->addPage(page);
            control->setPageCaption(page, "A page title long enough for a wide tab");
        }
        // Five wide tabs do not fit in 640 pixels: they share the row.
        QVERIFY(!strip->isScrolling());
        int total = 0;
        for (int i = 0; i < 5; ++i)
        {
            const int width = control->tabRect(i).width();
            total += width;
            QVERIFY(width < TQWTabStrip::MaxTabWidth && width >= TQWTabStrip::MinTabWidth &&
                    strip->drawnCaption(i).endsWith(QChar(0x2026)));
        }
        QVERIFY(total <= control->width());

        for (int i = 5; i < 200; ++i)
            control->addPage(new QWidget);
        QVERIFY(strip->isScrolling());
        QCOMPARE(strip->height(), rowHeight);
        QCOMPARE(control->tabRect(0).width(), TQWTabStrip::MinTabWidth);

        control->setActivePage(control->page(150));
        QCOMPARE(control->tabAt(control->tabRect(150).center()), 150);
        QVERIFY(control->tabRect(0).isEmpty());

        // The arrows scroll by whole tabs and never past either end.
        const int first = strip->firstShownTab();
        strip->scrollBy(-1);
        QCOMPARE(strip->firstShownTab(), first - 1);
        strip->scrollBy(-1000);
        QCOMPARE(strip->firstShownTab(), 0);
        strip->scrollBy(1000);
        QCOMPARE(control->tabAt(control->tabRect(199).center()), 199);

        // Fixed-width tabs (icons only) ignore their captions and scroll
        // only when that width no longer fits.
        strip->setFixedTabWidth(28);
        QCOMPARE(control->tabRect(0).width(), 28);
        for (int i = 199; i >= 4; --i)
            control->removePage(control->page(i));
        QVERIFY(!strip->isScrolling());
        QCOMPARE(control->tabRect(3), QRect(control->tabRect(0).topLeft() + QPoint(84, 0),
                                            QSize(28, control->tabRect(0).height())));
    }

    void captionText()
    {
        // Caption, with an icon, the text drawn.
        const QList<std::tuple<QString, bool, QString>> rows = {
            {"A&&B", false, "A&B"},
            {"first\nsecond", false, "first second"},
            {"WWW MMM", true, "WWW MMM"}}; // with room and an icon, whole
        for (const auto& [caption, icon, shown] : rows)
        {
            QCOMPARE(TQWTabStrip::displayCaption(caption), shown);
            // The active tab is drawn bolder: it must not cut a caption that fits.
            for (const bool active : {true, false})
            {
                const auto control = makeControl("VV");
                QWidget* page = control->page(0);
                control->setPageCaption(page, caption);
                if (icon)
                    control->setPageIcon(page, QIcon(":/quillwave/quillwave.svg"));
                control->setActivePage(active ? page : control->page(1));
                showAndWait(*control);
                QCOMPARE(stripOf(*control)->drawnCaption(0), shown);
            }
        }
    }

    void indexAfterMove()
    {
        // The index, the move from and to, the index after.
        // clang-format off
        const QList<std::array<int, 4>> rows = {
            {1, 1, 4, 4}, // the moved tab
            {3, 1, 4, 2}, // passed over to the right
            {4, 1, 4, 3}, // at the target, moved right
            {2, 4, 1, 3}, // passed over to the left
            {2, 2, 2, 2}, // moved nowhere
        };
        // clang-format on
        for (const auto& [index, from, to, after] : rows)
            QCOMPARE(TabStripLayout::IndexAfterMove(index, from, to), after);
    }
};

QTEST_MAIN(tst_TQWTabStrip)
#include "tst_TQWTabStrip.moc"
