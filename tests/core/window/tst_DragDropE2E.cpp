#include "EngineTestHelpers.h"
#include "EngineWindow.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainDragDrop.h"
#include "core/window/MainFavorites.h"
#include "core/window/TfrmMain.h"
#include "groups/FolderListing.h"

#include <QFile>
#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace EngineTestHelpers;

// The page link leaves the window as a shortcut file the Favorites menu
// reads, and that file dropped on a background tab's header sends that tab
// to its address, as a file manager and the tab strip would pass it on.
class tst_DragDropE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<EngineWindow> m_e;

private slots:
    void initTestCase()
    {
        m_e = std::make_unique<EngineWindow>();
        QVERIFY(m_e->isValid());
        m_e->server.routeHtml("/cartoon", "<html><head><title>Tom &amp; Jerry</title></head>"
                                          "<body>cartoon</body></html>");
        m_e->server.routeHtml("/other", "<html><body>other</body></html>");
        QVERIFY(m_e->open());
    }
    void cleanupTestCase() { m_e.reset(); }

    void pageLinkBecomesAFavoriteAndOpensInABackgroundTab()
    {
        TBrowserTab* front = m_e->window->GetActivePage();
        const QString cartoon = m_e->url("/cartoon");
        front->Navigate(cartoon);
        QVERIFY(EngineWindow::shows(front, cartoon));
        QVERIFY(waitFor([&] { return front->GetLocationName() == "Tom & Jerry"; }));

        auto* dragDrop = m_e->window->findChild<MainDragDrop*>();
        QVERIFY(dragDrop);
        std::unique_ptr<QMimeData> link(dragDrop->PageLinkData());
        QVERIFY(link && link->urls().size() == 1 && link->urls()[0].isLocalFile());
        QCOMPARE(link->text(), cartoon);

        // The file manager's part: a copy of the dragged file in the folder.
        const QString source = link->urls()[0].toLocalFile();
        const QString favorites = m_e->window->Favorites()->FavoritesFolder();
        const QString copy = favorites + '/' + QFileInfo(source).fileName();
        QVERIFY(QFile::copy(source, copy));
        bool read = false;
        for (const FolderEntry& entry : FolderListing::list(favorites))
            read |= entry.path == copy && FolderListing::target(entry) == cartoon &&
                    entry.caption.startsWith("Tom");
        QVERIFY2(read, qPrintable(copy));

        TBrowserTab* back = m_e->window->TabSet()->AddTab();
        const QString other = m_e->url("/other");
        back->Navigate(other);
        QVERIFY(EngineWindow::shows(back, other));
        m_e->window->TabSet()->ActivateTab(front);
        QCOMPARE(m_e->window->GetActivePage(), front);

        TQWPageControl* pages = m_e->window->PageControl();
        int visible = 0;
        while (visible < pages->visibleCount() && pages->visiblePage(visible) != back)
            ++visible;
        QVERIFY(visible < pages->visibleCount());
        const QPoint header = pages->tabStrip()->mapFrom(pages, pages->tabRect(visible).center());
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(copy)});
        // The application hands a drop only to the widget that took the
        // drag's entry.
        QDragEnterEvent enter(header, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pages->tabStrip(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(header, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        const int tabs = m_e->window->TabSet()->Count();
        QApplication::sendEvent(pages->tabStrip(), &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(EngineWindow::shows(back, cartoon));
        QCOMPARE(m_e->window->TabSet()->Count(), tabs);
        QCOMPARE(m_e->window->GetActivePage(), front);
        QCOMPARE(front->GetLocationURL(), cartoon);
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_DragDropE2E>(argc, argv);
}
#include "tst_DragDropE2E.moc"
