#include "EngineTestHelpers.h"
#include "EngineWindow.h"
#include "chrome/TQWToolBar.h"
#include "core/tabs/TBrowserTab.h"
#include "core/window/MainBars.h"
#include "core/window/TfrmMain.h"

#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace EngineTestHelpers;

// The toolbar of a real window with the real engine: a fresh start shows
// the default buttons, and Back, Forward, Reload, Home and Stop do what
// they say to the page in front, each enabled only when it can.
class tst_ToolbarE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<EngineWindow> m_e;

    TQWToolBar* toolbar() const { return m_e->window->Bars()->ToolBar(); }
    TBrowserTab* tab() const { return m_e->window->GetActivePage(); }
    bool shows(const QString& url) const { return EngineWindow::shows(tab(), url); }
    // A click as the user makes it, on the button's face.
    bool click(int number) const
    {
        QToolButton* button = toolbar()->Button(number);
        if (!button || !button->isVisible() || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        return true;
    }
    bool enabled(int number) const { return toolbar()->Button(number)->isEnabled(); }

private slots:
    void initTestCase()
    {
        m_e = std::make_unique<EngineWindow>();
        QVERIFY(m_e->isValid());
        for (const char* path : {"/a", "/b"})
            m_e->server.routeHtml(QString::fromLatin1(path), "<html><body>page</body></html>");
        m_e->server.routeHtml("/slow", "<html><body>slow</body></html>", 4000);
        QVERIFY(m_e->open());
    }
    void cleanupTestCase() { m_e.reset(); }

    void freshStartShowsTheDefaultButtons()
    {
        QList<int> shown;
        QList<int> hidden;
        for (QWidget* place : toolbar()->Places())
            (place->isHidden() ? hidden : shown) << TQWToolBar::NumberOf(place);
        QCOMPARE(shown, (QList<int>{0, -1, 2,  3,  -1, 4,  5,  6,  7,  -1, 8,
                                    9, -1, 10, 11, 12, -1, 13, 14, 15, 16, 21}));
        QCOMPARE(hidden, (QList<int>{1, 17, 18, 19, 20}));
    }

    void buttonsDriveTheActivePage()
    {
        tab()->Navigate(m_e->url("/a"));
        QVERIFY(shows(m_e->url("/a")));
        QVERIFY(!enabled(2));
        tab()->Navigate(m_e->url("/b"));
        QVERIFY(shows(m_e->url("/b")));

        QVERIFY(waitFor([&] { return enabled(2) && !enabled(3) && !enabled(4); }));
        QVERIFY(click(2));
        QVERIFY(shows(m_e->url("/a")));
        QVERIFY(waitFor([&] { return enabled(3); }));
        QVERIFY(click(3));
        QVERIFY(shows(m_e->url("/b")));

        const int requests = m_e->server.requestCount("/b");
        QVERIFY(click(5));
        QVERIFY(waitFor([&] { return m_e->server.requestCount("/b") == requests + 1; }));
        QVERIFY(shows(m_e->url("/b")));

        QVERIFY(click(6));
        QVERIFY(shows(TBrowserTab::HomeUrl()));
    }

    void stopEndsALoadAndGreysOut()
    {
        tab()->Navigate(m_e->url("/slow"));
        QVERIFY(waitFor([&] { return m_e->server.wasRequested("/slow") && enabled(4); }));
        QVERIFY(click(4));
        QVERIFY(waitFor([&] { return !tab()->Busy && !enabled(4); }));
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_ToolbarE2E>(argc, argv);
}
#include "tst_ToolbarE2E.moc"
