#include "components/TQWPageControl.h"
#include "components/TQWTabStrip.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
// Pages are named by their first position so orders read as "1,2,0".
// The pattern gives each page's visibility: 'V' has a tab, 'H' is hidden.
std::unique_ptr<TQWPageControl> makeControl(const QString& pattern, int width = 640)
{
    auto control = std::make_unique<TQWPageControl>();
    control->resize(width, 300);
    for (int i = 0; i < pattern.size(); ++i)
    {
        auto* page = new QWidget;
        page->setObjectName(QString::number(i));
        control->addPage(page, pattern[i] == QLatin1Char('V'));
        control->setPageCaption(page, QStringLiteral("Tab %1").arg(i));
        control->setPageHint(page, QStringLiteral("Full title of page %1").arg(i));
    }
    return control;
}

TQWTabStrip* stripOf(const TQWPageControl& control)
{
    return qobject_cast<TQWTabStrip*>(control.tabStrip());
}

QString allNames(const TQWPageControl& control)
{
    QStringList names;
    for (int i = 0; i < control.count(); ++i)
        names << control.page(i)->objectName();
    return names.join(QLatin1Char(','));
}

QString visibleNames(const TQWPageControl& control)
{
    QStringList names;
    for (int i = 0; i < control.visibleCount(); ++i)
        names << control.visiblePage(i)->objectName();
    return names.join(QLatin1Char(','));
}

QString activeName(const TQWPageControl& control)
{
    return control.activePage() ? control.activePage()->objectName() : QString();
}

QWidget* pageNamed(const TQWPageControl& control, const QString& name)
{
    for (int i = 0; i < control.count(); ++i)
        if (control.page(i)->objectName() == name)
            return control.page(i);
    return nullptr;
}

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

void hover(QWidget* widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void showAndWait(QWidget& widget)
{
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
}
} // namespace

class tst_TQWPageControl : public QObject
{
    Q_OBJECT

private slots:
    void indexMapping_data();
    void indexMapping();
    void hiddenPageTakesNoPlace();
    void showingPageGivesItsTabBack();
    void setActivePageOnHiddenIsRefused();
    void removeActive_data();
    void removeActive();
    void hideActive_data();
    void hideActive();
    void deletedPageIsForgotten();
    void movePage_data();
    void movePage();
    void badArgumentsAreIgnored();
    void hitTest();
    void press_data();
    void press();
    void dragShiftsTab_data();
    void dragShiftsTab();
    void dragCursorShapes();
    void dragDoesNothing_data();
    void dragDoesNothing();
    void multipleLinesWrap();
    void tabsAtTopOrBottom_data();
    void tabsAtTopOrBottom();
    void singleRowShrinksThenScrolls();
    void paintsTabColours();
    void captionText_data();
    void captionText();
    void captionWithRoomShowsWhole_data();
    void captionWithRoomShowsWhole();
    void tooltipFollowsTabUnderMouse();
    void imagesAndPageIcons();
    void defaultTabImages();
    void beginEndUpdateNest();
};

void tst_TQWPageControl::indexMapping_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("visible");
    QTest::addColumn<QString>("active");
    // clang-format off
    QTest::newRow("all visible") << "VVV" << "0,1,2" << "0";
    QTest::newRow("hidden in the middle") << "VHV" << "0,2" << "0";
    QTest::newRow("hidden first") << "HVV" << "1,2" << "1";
    QTest::newRow("all hidden") << "HHH" << "" << "";
    // clang-format on
}

void tst_TQWPageControl::indexMapping()
{
    QFETCH(QString, pattern);
    QFETCH(QString, visible);
    QFETCH(QString, active);

    const auto control = makeControl(pattern);
    QCOMPARE(control->count(), pattern.size());
    QCOMPARE(visibleNames(*control), visible);
    QCOMPARE(control->visibleCount(), int(pattern.count(QLatin1Char('V'))));
    QCOMPARE(stripOf(*control)->count(), control->visibleCount());
    QCOMPARE(activeName(*control), active);

    int visibleIndex = 0;
    for (int i = 0; i < control->count(); ++i)
    {
        QWidget* page = control->page(i);
        QCOMPARE(control->indexOf(page), i);
        QCOMPARE(page->parentWidget(), control.get());
        const bool shown = pattern[i] == QLatin1Char('V');
        QCOMPARE(control->isPageVisible(page), shown);
        QCOMPARE(control->visibleIndexOf(page), shown ? visibleIndex : -1);
        if (shown)
        {
            QCOMPARE(control->visiblePage(visibleIndex), page);
            QCOMPARE(stripOf(*control)->tabCaption(visibleIndex), control->pageCaption(page));
            ++visibleIndex;
        }
    }
    QCOMPARE(control->visiblePage(-1), nullptr);
    QCOMPARE(control->visiblePage(control->visibleCount()), nullptr);
    QCOMPARE(control->page(control->count()), nullptr);
}

void tst_TQWPageControl::hiddenPageTakesNoPlace()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    QList<QRect> before;
    for (int i = 0; i < 3; ++i)
        before << control->tabRect(i);

    auto* hidden = new QWidget;
    control->insertPage(1, hidden, false);
    control->setPageCaption(hidden, QStringLiteral("A caption that would need a wide tab"));

    QCOMPARE(control->count(), 4);
    QCOMPARE(control->visibleCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(control->tabRect(i), before[i]);
    QCOMPARE(control->tabRect(3), QRect());
}

void tst_TQWPageControl::showingPageGivesItsTabBack()
{
    const auto control = makeControl(QStringLiteral("VHV"));
    QWidget* hidden = control->page(1);
    control->setPageCaption(hidden, QStringLiteral("Pop-up"));
    control->setPageHint(hidden, QStringLiteral("The pop-up page"));

    control->setPageVisible(hidden, true);
    QCOMPARE(visibleNames(*control), QStringLiteral("0,1,2"));
    QCOMPARE(control->visibleIndexOf(hidden), 1);
    QCOMPARE(stripOf(*control)->tabCaption(1), QStringLiteral("Pop-up"));
    QCOMPARE(stripOf(*control)->tabHint(1), QStringLiteral("The pop-up page"));
    // Showing a page does not make it active.
    QCOMPARE(activeName(*control), QStringLiteral("0"));
    QCOMPARE(stripOf(*control)->currentIndex(), 0);
    QVERIFY(control->tabRect(1).left() > control->tabRect(0).left());
}

void tst_TQWPageControl::setActivePageOnHiddenIsRefused()
{
    const auto control = makeControl(QStringLiteral("VHV"));
    showAndWait(*control);
    QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);

    control->setActivePage(control->page(1));
    QCOMPARE(activeName(*control), QStringLiteral("0"));
    QVERIFY(!control->page(1)->isVisible());

    control->setActivePage(control->page(2));
    QCOMPARE(activeName(*control), QStringLiteral("2"));
    QVERIFY(control->page(2)->isVisible());
    QVERIFY(!control->page(0)->isVisible());
    QCOMPARE(stripOf(*control)->currentIndex(), 1);

    auto foreign = std::make_unique<QWidget>();
    control->setActivePage(foreign.get());
    control->setActivePage(nullptr);
    QCOMPARE(activeName(*control), QStringLiteral("2"));
    // Choices made by the program are not the user's.
    QCOMPARE(changed.count(), 0);
}

void tst_TQWPageControl::removeActive_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("first tab: the next one") << "VVV" << "0" << "1";
    QTest::newRow("middle tab: the previous one") << "VVV" << "1" << "0";
    QTest::newRow("last tab: the previous one") << "VVV" << "2" << "1";
    QTest::newRow("hidden pages are skipped") << "VHV" << "2" << "0";
    QTest::newRow("first visible after a hidden one") << "HVHV" << "1" << "3";
    QTest::newRow("no other visible page") << "VHH" << "0" << "";
    // clang-format on
}

void tst_TQWPageControl::removeActive()
{
    QFETCH(QString, pattern);
    QFETCH(QString, active);
    QFETCH(QString, expected);

    const auto control = makeControl(pattern);
    showAndWait(*control);
    QWidget* page = pageNamed(*control, active);
    control->setActivePage(page);
    QCOMPARE(activeName(*control), active);

    control->removePage(page);
    std::unique_ptr<QWidget> released(page);
    QCOMPARE(page->parentWidget(), nullptr);
    QCOMPARE(control->indexOf(page), -1);
    QCOMPARE(control->count(), pattern.size() - 1);
    QCOMPARE(activeName(*control), expected);
    QCOMPARE(stripOf(*control)->currentIndex(), control->visibleIndexOf(control->activePage()));
    if (control->activePage())
        QVERIFY(control->activePage()->isVisible());
}

void tst_TQWPageControl::hideActive_data()
{
    removeActive_data();
}

void tst_TQWPageControl::hideActive()
{
    QFETCH(QString, pattern);
    QFETCH(QString, active);
    QFETCH(QString, expected);

    const auto control = makeControl(pattern);
    showAndWait(*control);
    QWidget* page = pageNamed(*control, active);
    control->setActivePage(page);

    control->setPageVisible(page, false);
    QCOMPARE(control->count(), pattern.size());
    QCOMPARE(control->visibleIndexOf(page), -1);
    QVERIFY(!page->isVisible());
    QCOMPARE(activeName(*control), expected);
    QCOMPARE(stripOf(*control)->currentIndex(), control->visibleIndexOf(control->activePage()));
}

void tst_TQWPageControl::deletedPageIsForgotten()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    control->setActivePage(control->page(1));
    delete control->page(1);
    QCOMPARE(control->count(), 2);
    QCOMPARE(allNames(*control), QStringLiteral("0,2"));
    QCOMPARE(stripOf(*control)->count(), 2);
    QCOMPARE(activeName(*control), QStringLiteral("0"));
}

void tst_TQWPageControl::movePage_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("visible");
    // clang-format off
    QTest::newRow("first to last") << "VVVV" << 0 << 3 << "1,2,3,0" << "1,2,3,0";
    QTest::newRow("last to first") << "VVVV" << 3 << 0 << "3,0,1,2" << "3,0,1,2";
    QTest::newRow("past a hidden page") << "VHVV" << 0 << 2 << "1,2,0,3" << "2,0,3";
    QTest::newRow("onto a hidden page's place") << "VVHV" << 3 << 2 << "0,1,3,2" << "0,1,3";
    QTest::newRow("a hidden page") << "VHV" << 1 << 0 << "1,0,2" << "0,2";
    // clang-format on
}

void tst_TQWPageControl::movePage()
{
    QFETCH(QString, pattern);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, all);
    QFETCH(QString, visible);

    const auto control = makeControl(pattern);
    QWidget* active = control->activePage();
    control->movePage(from, to);
    QCOMPARE(allNames(*control), all);
    QCOMPARE(visibleNames(*control), visible);
    for (int i = 0; i < control->visibleCount(); ++i)
        QCOMPARE(stripOf(*control)->tabCaption(i), control->pageCaption(control->visiblePage(i)));
    QCOMPARE(control->activePage(), active);
    QCOMPARE(stripOf(*control)->currentIndex(), control->visibleIndexOf(active));
}

void tst_TQWPageControl::badArgumentsAreIgnored()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    control->movePage(-1, 2);
    control->movePage(0, 3);
    control->insertPage(1, nullptr);
    control->insertPage(0, control->page(2)); // already one of ours
    auto foreign = std::make_unique<QWidget>();
    control->removePage(foreign.get());
    control->setPageVisible(foreign.get(), false);
    control->setPageCaption(foreign.get(), QStringLiteral("x"));
    QCOMPARE(allNames(*control), QStringLiteral("0,1,2"));
    QCOMPARE(stripOf(*control)->count(), 3);
    QCOMPARE(control->tabRect(-1), QRect());
    QCOMPARE(control->tabRect(3), QRect());
    QVERIFY(foreign->parentWidget() == nullptr);
}

void tst_TQWPageControl::hitTest()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    control->setImages(TQWPageControl::defaultTabImages());
    control->setPageImageIndex(control->page(1), 0);

    const QRect tab = control->tabRect(1);
    const QPoint onIcon(tab.left() + TQWTabStrip::IconLeft + TQWTabStrip::IconSize / 2,
                        tab.center().y());
    const QPoint onLabel(tab.left() + TQWTabStrip::IconLeft + TQWTabStrip::IconSize +
                             TQWTabStrip::IconGap + 4,
                         tab.center().y());
    QCOMPARE(control->tabAt(onIcon), 1);
    QCOMPARE(control->tabAt(onLabel), 1);

    // Neighbouring tabs share their border: every point belongs to exactly one.
    const int y = tab.center().y();
    for (int x = control->tabRect(0).left(); x <= control->tabRect(2).right(); ++x)
    {
        int expected = -1;
        for (int i = 0; i < 3; ++i)
            if (control->tabRect(i).contains(QPoint(x, y)))
                expected = i;
        QVERIFY(expected >= 0);
        QCOMPARE(control->tabAt(QPoint(x, y)), expected);
    }

    QCOMPARE(control->tabAt(QPoint(control->tabRect(2).right() + 10, y)), -1);
    QCOMPARE(control->tabAt(QPoint(10, 10)), -1); // on the page
    const QRect strip = stripOf(*control)->geometry();
    QCOMPARE(control->tabAt(QPoint(tab.center().x(), strip.top())), -1); // the margin
}

void tst_TQWPageControl::press_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("active");
    QTest::addColumn<int>("changes");
    // clang-format off
    QTest::newRow("left on another tab") << Qt::LeftButton << 2 << "2" << 1;
    QTest::newRow("left on the active tab") << Qt::LeftButton << 0 << "0" << 0;
    QTest::newRow("left away from tabs") << Qt::LeftButton << -1 << "0" << 0;
    QTest::newRow("right on another tab") << Qt::RightButton << 1 << "0" << 0;
    QTest::newRow("right away from tabs") << Qt::RightButton << -1 << "0" << 0;
    QTest::newRow("middle on another tab") << Qt::MiddleButton << 2 << "0" << 0;
    // clang-format on
}

void tst_TQWPageControl::press()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, tab);
    QFETCH(QString, active);
    QFETCH(int, changes);

    const auto control = makeControl(QStringLiteral("VVV"));
    showAndWait(*control);
    QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);
    QSignalSpy mouseDown(control.get(), &TQWPageControl::tabMouseDown);

    const QPoint pos = tab >= 0 ? tabCentre(*control, tab) : pastLastTab(*control);
    QTest::mousePress(stripOf(*control), button, {}, pos);
    QTest::mouseRelease(stripOf(*control), button, {}, pos);

    QCOMPARE(activeName(*control), active);
    QCOMPARE(changed.count(), changes);
    if (changes)
        QCOMPARE(changed.first().at(0).value<QWidget*>(), control->activePage());
    QCOMPARE(mouseDown.count(), 1);
    QCOMPARE(mouseDown.first().at(0).value<Qt::MouseButton>(), button);
    QCOMPARE(mouseDown.first().at(1).toInt(), tab);
    QCOMPARE(mouseDown.first().at(2).toPoint(), stripOf(*control)->mapToGlobal(pos));
}

void tst_TQWPageControl::dragShiftsTab_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("dragged");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("visible");
    // clang-format off
    QTest::newRow("to the right") << "VVVV" << 0 << 2 << 0 << 2 << "1,2,0,3";
    QTest::newRow("to the left") << "VVVV" << 3 << 1 << 3 << 1 << "0,3,1,2";
    QTest::newRow("over a hidden page") << "VHVV" << 0 << 2 << 0 << 3 << "2,3,0";
    // clang-format on
}

void tst_TQWPageControl::dragShiftsTab()
{
    QFETCH(QString, pattern);
    QFETCH(int, dragged);
    QFETCH(int, target);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, visible);

    const auto control = makeControl(pattern);
    showAndWait(*control);
    QWidget* draggedPage = control->visiblePage(dragged);
    control->setActivePage(draggedPage);
    QSignalSpy moved(control.get(), &TQWPageControl::pageMoved);
    QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);
    TQWTabStrip* strip = stripOf(*control);

    QTest::mousePress(strip, Qt::LeftButton, {}, tabCentre(*control, dragged));
    QTest::mouseMove(strip, tabCentre(*control, target));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, tabCentre(*control, target));

    QCOMPARE(visibleNames(*control), visible);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.first().at(0).toInt(), from);
    QCOMPARE(moved.first().at(1).toInt(), to);
    QCOMPARE(control->indexOf(draggedPage), to);
    QCOMPARE(control->activePage(), draggedPage);
    QCOMPARE(strip->currentIndex(), target);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!strip->testAttribute(Qt::WA_SetCursor));
}

void tst_TQWPageControl::dragCursorShapes()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    showAndWait(*control);
    TQWTabStrip* strip = stripOf(*control);
    QSignalSpy moved(control.get(), &TQWPageControl::pageMoved);

    QTest::mousePress(strip, Qt::LeftButton, {}, tabCentre(*control, 0));
    QTest::mouseMove(strip, tabCentre(*control, 1));
    QCOMPARE(strip->cursor().shape(), Qt::DragMoveCursor);
    QTest::mouseMove(strip, tabCentre(*control, 0));
    QCOMPARE(strip->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(strip, pastLastTab(*control));
    QCOMPARE(strip->cursor().shape(), Qt::ForbiddenCursor);

    // Let go where there is no tab: nothing moves and the cursor is back.
    QTest::mouseRelease(strip, Qt::LeftButton, {}, pastLastTab(*control));
    QCOMPARE(moved.count(), 0);
    QCOMPARE(allNames(*control), QStringLiteral("0,1,2"));
    QVERIFY(!strip->testAttribute(Qt::WA_SetCursor));

    // Let go on the dragged tab itself: nothing moves either.
    QTest::mousePress(strip, Qt::LeftButton, {}, tabCentre(*control, 0));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, tabCentre(*control, 0));
    QCOMPARE(moved.count(), 0);
}

void tst_TQWPageControl::dragDoesNothing_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("active");
    // clang-format off
    QTest::newRow("shifting off") << "noshift" << "0";
    QTest::newRow("multiple lines") << "lines" << "0";
    QTest::newRow("press on an inactive tab") << "inactive" << "0";
    // clang-format on
}

void tst_TQWPageControl::dragDoesNothing()
{
    QFETCH(QString, setup);
    QFETCH(QString, active);

    const auto control = makeControl(QStringLiteral("VVVV"));
    showAndWait(*control);
    if (setup == QLatin1String("noshift"))
        control->SetAllowTabShifting(false);
    else if (setup == QLatin1String("lines"))
    {
        control->SetMultipleLines(true);
        QVERIFY(!control->AllowTabShifting());
        control->SetAllowTabShifting(true);
        QVERIFY(!control->AllowTabShifting());
    }
    else
        control->setActivePage(control->page(3));
    QSignalSpy moved(control.get(), &TQWPageControl::pageMoved);
    TQWTabStrip* strip = stripOf(*control);

    QTest::mousePress(strip, Qt::LeftButton, {}, tabCentre(*control, 0));
    QTest::mouseMove(strip, tabCentre(*control, 2));
    QVERIFY(!strip->testAttribute(Qt::WA_SetCursor));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, tabCentre(*control, 2));

    QCOMPARE(moved.count(), 0);
    QCOMPARE(allNames(*control), QStringLiteral("0,1,2,3"));
    QCOMPARE(activeName(*control), active);
}

void tst_TQWPageControl::multipleLinesWrap()
{
    const auto control = makeControl(QString(30, QLatin1Char('V')), 400);
    TQWTabStrip* strip = stripOf(*control);
    const int singleRowHeight = strip->height();
    QCOMPARE(strip->rowCount(), 1);

    control->SetMultipleLines(true);
    const int rows = strip->rowCount();
    QVERIFY(rows > 1);
    QVERIFY(strip->height() > singleRowHeight);
    QCOMPARE(strip->height(), rows * strip->tabHeight() + TQWTabStrip::EdgeMargin + 1);
    QCOMPARE(control->activePage()->geometry().height(), control->height() - strip->height());

    for (int i = 0; i < control->visibleCount(); ++i)
    {
        const QRect rect = control->tabRect(i);
        QVERIFY(strip->geometry().contains(rect));
        QVERIFY(rect.width() >= TQWTabStrip::MinTabWidth);
        for (int j = 0; j < i; ++j)
            QVERIFY(!rect.intersects(control->tabRect(j)));
    }

    // Whichever row holds the selected tab moves next to the pages.
    const int nearestTop = strip->geometry().top() + TQWTabStrip::EdgeMargin;
    QCOMPARE(control->tabRect(0).top(), nearestTop);
    control->setActivePage(control->page(29));
    QCOMPARE(control->tabRect(29).top(), nearestTop);
    QVERIFY(control->tabRect(0).top() > nearestTop);

    control->SetMultipleLines(false);
    QCOMPARE(strip->height(), singleRowHeight);
}

void tst_TQWPageControl::tabsAtTopOrBottom_data()
{
    QTest::addColumn<bool>("bottom");
    // clang-format off
    QTest::newRow("bottom") << true;
    QTest::newRow("top") << false;
    // clang-format on
}

void tst_TQWPageControl::tabsAtTopOrBottom()
{
    QFETCH(bool, bottom);

    const auto control = makeControl(QStringLiteral("VV"));
    QVERIFY(control->TabsAtBottom());
    control->SetTabsAtBottom(bottom);
    showAndWait(*control);
    const QRect strip = stripOf(*control)->geometry();
    const QRect page = control->activePage()->geometry();
    QCOMPARE(strip.width(), control->width());
    QCOMPARE(strip.height() + page.height(), control->height());
    if (bottom)
    {
        QCOMPARE(strip.bottom(), control->height() - 1);
        QCOMPARE(page.top(), 0);
        QCOMPARE(page.bottom() + 1, strip.top());
    }
    else
    {
        QCOMPARE(strip.top(), 0);
        QCOMPARE(page.top(), strip.bottom() + 1);
        QCOMPARE(page.bottom(), control->height() - 1);
    }
    for (int i = 0; i < 2; ++i)
        QVERIFY(strip.contains(control->tabRect(i)));
    // A page activated later is put in the same place.
    control->setActivePage(control->page(1));
    QCOMPARE(control->page(1)->geometry(), page);
}

void tst_TQWPageControl::singleRowShrinksThenScrolls()
{
    const auto control = makeControl(QString());
    TQWTabStrip* strip = stripOf(*control);
    const int rowHeight = strip->height();
    const QString longTitle = QStringLiteral("A page title long enough to need a wide tab");
    for (int i = 0; i < 5; ++i)
    {
        auto* page = new QWidget;
        control->addPage(page);
        control->setPageCaption(page, longTitle);
    }
    // Five wide tabs do not fit in 640 pixels: they share the row.
    QVERIFY(!strip->isScrolling());
    int total = 0;
    for (int i = 0; i < 5; ++i)
    {
        const QRect rect = control->tabRect(i);
        QVERIFY(rect.width() < TQWTabStrip::MaxTabWidth);
        QVERIFY(rect.width() >= TQWTabStrip::MinTabWidth);
        total += rect.width();
        QVERIFY(strip->drawnCaption(i).endsWith(QChar(0x2026)));
    }
    QVERIFY(total <= control->width());

    for (int i = 5; i < 200; ++i)
        control->addPage(new QWidget);
    QVERIFY(strip->isScrolling());
    QCOMPARE(strip->height(), rowHeight);
    QCOMPARE(control->tabRect(0).width(), TQWTabStrip::MinTabWidth);

    control->setActivePage(control->page(150));
    const QRect shown = control->tabRect(150);
    QCOMPARE(shown.width(), TQWTabStrip::MinTabWidth);
    QCOMPARE(control->tabAt(shown.center()), 150);
    QVERIFY(control->tabRect(0).isEmpty());

    // The arrows scroll by whole tabs and never past either end.
    const int first = strip->firstShownTab();
    strip->scrollBy(-1);
    QCOMPARE(strip->firstShownTab(), first - 1);
    strip->scrollBy(-1000);
    QCOMPARE(strip->firstShownTab(), 0);
    QVERIFY(!control->tabRect(0).isEmpty());
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->scrollRightRect().center());
    QCOMPARE(strip->firstShownTab(), 1);
    strip->scrollBy(1000);
    QVERIFY(!control->tabRect(199).isEmpty());
    QCOMPARE(control->tabAt(control->tabRect(199).center()), 199);
}

void tst_TQWPageControl::paintsTabColours()
{
    const auto control = makeControl(QStringLiteral("VVV"));
    QPalette palette = control->palette();
    palette.setColor(QPalette::Button, QColor(0, 160, 0));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Mid, QColor(60, 60, 60));
    control->setPalette(palette);
    control->SetInactiveTabColor(QColor(200, 0, 0));
    control->SetInactiveFontColor(QColor(255, 255, 0));
    QCOMPARE(control->InactiveTabColor(), QColor(200, 0, 0));
    showAndWait(*control);
    TQWTabStrip* strip = stripOf(*control);

    auto sample = [&](int tab)
    {
        const QImage image = strip->grab().toImage();
        const QRect rect = strip->tabRect(tab);
        return image.pixelColor(rect.right() - 5, rect.center().y());
    };
    QCOMPARE(sample(0), QColor(0, 160, 0));
    QCOMPARE(sample(1), QColor(200, 0, 0));

    // The inactive caption is drawn in the inactive font colour.
    const QImage image = strip->grab().toImage();
    const QRect inactive = strip->tabRect(1);
    bool yellowish = false;
    for (int x = inactive.left() + 2; x <= inactive.right() - 4 && !yellowish; ++x)
        for (int y = inactive.top() + 2; y <= inactive.bottom() - 2 && !yellowish; ++y)
            yellowish = image.pixelColor(x, y).green() > 128;
    QVERIFY(yellowish);

    control->SetInactiveTabColor(QColor(0, 0, 200));
    QCOMPARE(sample(1), QColor(0, 0, 200));
    control->setActivePage(control->page(1));
    QCOMPARE(sample(1), QColor(0, 160, 0));
    QCOMPARE(sample(0), QColor(0, 0, 200));
}

void tst_TQWPageControl::captionText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("doubled ampersand") << "A&&B" << "A&B";
    QTest::newRow("surrounding blanks") << "  Tom && Jerry  " << "Tom & Jerry";
    QTest::newRow("single ampersand is text") << "R&D" << "R&D";
    QTest::newRow("two literal ampersands") << "a&&&&b" << "a&&b";
    QTest::newRow("one line") << "first\nsecond" << "first second";
    // clang-format on
}

void tst_TQWPageControl::captionWithRoomShowsWhole_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("icon");
    // clang-format off
    QTest::newRow("blank page") << "Blank Page" << false;
    QTest::newRow("sticky name") << "My Sticky Name" << false;
    QTest::newRow("with icon") << "Blank Page" << true;
    QTest::newRow("narrow letters") << "illicit lilt" << false;
    QTest::newRow("wide letters") << "WWW MMM" << true;
    QTest::newRow("one letter") << "W" << false;
    // clang-format on
}

void tst_TQWPageControl::captionWithRoomShowsWhole()
{
    QFETCH(QString, caption);
    QFETCH(bool, icon);
    for (const bool active : {true, false})
    {
        const auto control = makeControl(QStringLiteral("VV"));
        QWidget* page = control->page(0);
        control->setPageCaption(page, caption);
        if (icon)
            control->setPageIcon(page, QIcon(QStringLiteral(":/quillwave/quillwave.svg")));
        control->setActivePage(active ? page : control->page(1));
        showAndWait(*control);
        QCOMPARE(stripOf(*control)->drawnCaption(0), caption);
    }
}

void tst_TQWPageControl::captionText()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);

    QCOMPARE(TQWTabStrip::displayCaption(caption), shown);
    const auto control = makeControl(QStringLiteral("V"));
    control->setPageCaption(control->page(0), caption);
    QCOMPARE(control->pageCaption(control->page(0)), caption);
    QCOMPARE(stripOf(*control)->drawnCaption(0), shown);
}

void tst_TQWPageControl::tooltipFollowsTabUnderMouse()
{
    const auto control = makeControl(QStringLiteral("VHVV"));
    showAndWait(*control);
    TQWTabStrip* strip = stripOf(*control);

    hover(strip, tabCentre(*control, 1));
    QCOMPARE(strip->hoveredIndex(), 1);
    QCOMPARE(strip->toolTip(), QStringLiteral("Full title of page 2"));
    hover(strip, tabCentre(*control, 0));
    QCOMPARE(strip->toolTip(), QStringLiteral("Full title of page 0"));

    // A new title of the tab under the mouse is the hint at once.
    control->setPageHint(control->page(0), QStringLiteral("Renamed"));
    QCOMPARE(strip->toolTip(), QStringLiteral("Renamed"));
    control->setPageHint(control->page(2), QStringLiteral("Elsewhere"));
    QCOMPARE(strip->toolTip(), QStringLiteral("Renamed"));

    hover(strip, pastLastTab(*control));
    QCOMPARE(strip->hoveredIndex(), -1);
    QVERIFY(strip->toolTip().isEmpty());
}

void tst_TQWPageControl::imagesAndPageIcons()
{
    const auto control = makeControl(QStringLiteral("VVH"));
    const QList<QIcon> images = TQWPageControl::defaultTabImages();
    control->setImages(images);
    QCOMPARE(control->images().size(), images.size());
    TQWTabStrip* strip = stripOf(*control);
    QWidget* page = control->page(0);
    QVERIFY(strip->tabIcon(0).isNull());

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::magenta);
    const QIcon favicon(pixmap);
    control->setPageIcon(page, favicon);
    QCOMPARE(strip->tabIcon(0).cacheKey(), favicon.cacheKey());

    control->setPageImageIndex(page, 2);
    QCOMPARE(control->pageImageIndex(page), 2);
    QCOMPARE(strip->tabIcon(0).cacheKey(), images[2].cacheKey());

    control->setPageImageIndex(page, -1);
    QCOMPARE(strip->tabIcon(0).cacheKey(), favicon.cacheKey());

    // An index past the list falls back to the page's own icon.
    control->setPageImageIndex(page, 99);
    QCOMPARE(strip->tabIcon(0).cacheKey(), favicon.cacheKey());

    // A hidden page's image shows once it has a tab.
    control->setPageImageIndex(control->page(2), 3);
    control->setPageVisible(control->page(2), true);
    QCOMPARE(strip->tabIcon(2).cacheKey(), images[3].cacheKey());

    // An icon takes room: the tab grows by the icon and its gap.
    control->setPageCaption(control->page(1), QStringLiteral("A caption wider than the least"));
    const int plain = control->tabRect(1).width();
    control->setPageImageIndex(control->page(1), 1);
    QCOMPARE(control->tabRect(1).width(),
             std::clamp(plain + TQWTabStrip::IconSize + TQWTabStrip::IconGap,
                        int(TQWTabStrip::MinTabWidth), int(TQWTabStrip::MaxTabWidth)));
}

void tst_TQWPageControl::defaultTabImages()
{
    const QList<QIcon> images = TQWPageControl::defaultTabImages();
    const char* names[] = {"busy", "unseen", "arrived", "locked", "crashed"};
    QCOMPARE(images.size(), int(std::size(names)));
    QImage previous;
    for (int i = 0; i < images.size(); ++i)
    {
        QVERIFY(QFile::exists(QStringLiteral(":/quillwave/tab-%1.svg").arg(names[i])));
        const QImage image = images[i].pixmap(16, 16).toImage();
        QVERIFY(!image.isNull());
        // Something is drawn, and each state looks different.
        bool drawn = false;
        for (int x = 0; x < 16 && !drawn; ++x)
            for (int y = 0; y < 16 && !drawn; ++y)
                drawn = image.pixelColor(x, y).alpha() > 0;
        QVERIFY(drawn);
        QVERIFY(image != previous);
        previous = image;
    }
}

void tst_TQWPageControl::beginEndUpdateNest()
{
    const auto control = makeControl(QStringLiteral("VV"));
    QWidget* strip = control->tabStrip();
    control->beginUpdate();
    control->beginUpdate();
    QVERIFY(!strip->updatesEnabled());
    control->endUpdate();
    QVERIFY(!strip->updatesEnabled());
    control->endUpdate();
    QVERIFY(strip->updatesEnabled());
    // An unmatched end does not unbalance the next pair.
    control->endUpdate();
    control->beginUpdate();
    QVERIFY(!strip->updatesEnabled());
    control->endUpdate();
    QVERIFY(strip->updatesEnabled());
}

QTEST_MAIN(tst_TQWPageControl)
#include "tst_TQWPageControl.moc"
