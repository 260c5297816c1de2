#include "PageControlProbe.h"
#include "components/TQWPageControl.h"
#include "components/TQWTabStrip.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace
{
using namespace PageControlProbe;

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

class tst_TQWPageControl : public QObject
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

    void hiddenPageTakesNoPlaceUntilShown()
    {
        const auto control = makeControl(QStringLiteral("VV"));
        const QRect second = control->tabRect(1);
        auto* hidden = new QWidget;
        hidden->setObjectName(QStringLiteral("new"));
        control->insertPage(1, hidden, false);
        control->setPageCaption(hidden, QStringLiteral("A caption that would need a wide tab"));
        QCOMPARE(control->tabRect(1), second);
        QCOMPARE(control->tabRect(2), QRect());

        control->setPageVisible(hidden, true);
        QCOMPARE(names(*control), QStringLiteral("0,new,1"));
    }

    void setActivePageOnHiddenIsRefused()
    {
        const auto control = makeControl(QStringLiteral("VHV"));
        showAndWait(*control);
        QSignalSpy changed(control.get(), &TQWPageControl::pageChanged);

        control->setActivePage(control->page(1));
        QCOMPARE(activeName(*control), QStringLiteral("0"));
        QVERIFY(!control->page(1)->isVisible());

        control->setActivePage(control->page(2));
        auto foreign = std::make_unique<QWidget>();
        control->setActivePage(foreign.get());
        control->setActivePage(nullptr);
        QCOMPARE(activeName(*control), QStringLiteral("2"));
        // Choices made by the program are not the user's.
        QCOMPARE(changed.count(), 0);

        // A deleted page is forgotten, and the active one is replaced.
        delete control->page(2);
        QCOMPARE(names(*control, false), QStringLiteral("0,1"));
        QCOMPARE(stripOf(*control)->count(), 1);
        QCOMPARE(activeName(*control), QStringLiteral("0"));
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
        const auto control = makeControl(QStringLiteral("VVV"));
        control->movePage(-1, 2);
        control->movePage(0, 3);
        control->insertPage(1, nullptr);
        control->insertPage(0, control->page(2)); // already one of ours
        auto foreign = std::make_unique<QWidget>();
        control->removePage(foreign.get());
        control->setPageVisible(foreign.get(), false);
        control->setPageCaption(foreign.get(), QStringLiteral("x"));
        QCOMPARE(names(*control, false), QStringLiteral("0,1,2"));
        QCOMPARE(stripOf(*control)->count(), 3);
        QCOMPARE(control->tabRect(3), QRect());
    }

    void imagesAndPageIcons()
    {
        const auto control = makeControl(QStringLiteral("VVH"));
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

        // A hidden page's image shows once it has a tab.
        control->setPageImageIndex(control->page(2), 3);
        control->setPageVisible(control->page(2), true);
        QCOMPARE(strip->tabIcon(2).cacheKey(), images[3].cacheKey());
    }
};

QTEST_MAIN(tst_TQWPageControl)
#include "tst_TQWPageControl.moc"
