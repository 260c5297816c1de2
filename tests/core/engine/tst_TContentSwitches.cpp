// The content switches on the real engine: switched off, a page's pictures
// and media never reach the server, its sound is muted and its animations
// end at once; switched on again, open pages follow at once and the
// pictures come with the next load.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "chrome/TIEOptions.h"
#include "core/engine/TContentInterceptor.h"
#include "core/engine/TVostelBrowser.h"

#include <QTest>
#include <QWebEnginePage>

#include <memory>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;
// What the test page asks for that a switch keeps away.
constexpr const char* Content[] = {"/picture.png", "/back.png", "/clip.webm"};

void storeAll(bool on)
{
    TIEOptions options;
    QVERIFY(options.SetLoadImages(on) && options.SetLoadVideos(on) && options.SetPlaySounds(on) &&
            options.SetPlayAnimations(on));
    TIEOptions::NotifySettingsChanged();
}
} // namespace

class tst_TContentSwitches : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;

    QString animationDuration(QWebEnginePage* page)
    {
        return runJavaScriptSync(page, "getComputedStyle(document.getElementById('moving'))"
                                       ".animationDuration")
            .toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        // The page asks for /loaded after its load event and for /settled
        // once its video has given up or loaded: by then every request the
        // page makes by itself has been made.
        server.routeHtml("/page.html",
                         "<!DOCTYPE html><title>Content</title><style>"
                         "@keyframes fade { from { opacity: 0 } to { opacity: 1 } }"
                         "#moving { animation: fade 5s infinite }"
                         "#box { background: url(/back.png); width: 20px; height: 20px }</style>"
                         "<div id='moving'>moving</div><div id='box'></div>"
                         "<img src='/picture.png'>"
                         "<video id='clip' src='/clip.webm' preload='auto'></video><script>"
                         "var clip = document.getElementById('clip');"
                         "clip.onerror = clip.onloadeddata = function () { fetch('/settled'); };"
                         "addEventListener('load', function () { fetch('/loaded'); });</script>");
        for (const char* path : Content)
            server.route(path, TestHttpServer::Response{200, "image/png", "not a png", {}, 0});
        server.routeHtml("/loaded", "");
        server.routeHtml("/settled", "");
    }

    void interceptorRefusesOnlySwitchedOffKinds()
    {
        using R = QWebEngineUrlRequestInfo;
        const QList<std::tuple<R::ResourceType, bool, bool, bool>> rows = {
            // type, images, media, refused
            {R::ResourceTypeImage, false, true, true},
            {R::ResourceTypeImage, true, false, false},
            {R::ResourceTypeMedia, true, false, true},
            {R::ResourceTypeMedia, false, true, false},
            {R::ResourceTypeFavicon, false, false, false},
            {R::ResourceTypeMainFrame, false, false, false},
            {R::ResourceTypeScript, false, false, false},
        };
        for (const auto& [type, images, media, refused] : rows)
            QCOMPARE(TContentInterceptor::refuses(type, images, media), refused);
    }

    void switchedOffContentStaysAwayAndComesBack()
    {
        // Made before the switches change: the announcement reaches open pages.
        auto browser = std::make_unique<TVostelBrowser>();
        browser->resize(400, 300);
        browser->show();
        QWebEnginePage* page = browser->page();
        QVERIFY(!page->isAudioMuted());
        storeAll(false);
        QVERIFY(page->isAudioMuted());

        server.clearRequests();
        QVERIFY(loadSync(browser.get(), QUrl(server.url("/page.html"))));
        QVERIFY(waitFor([&] { return server.wasRequested("/loaded"); }, Timeout));
        QVERIFY(waitFor([&] { return server.wasRequested("/settled"); }, Timeout));
        for (const char* path : Content)
            QVERIFY2(!server.wasRequested(path), path);
        QCOMPARE(animationDuration(page), QStringLiteral("0s"));

        // On again: sound and motion at once, pictures and media on refresh.
        storeAll(true);
        QVERIFY(!page->isAudioMuted());
        QVERIFY(waitFor([&] { return animationDuration(page) == QStringLiteral("5s"); }, Timeout));
        server.clearRequests();
        QCOMPARE(loadStartedBy(browser.get(), [&] { browser->Refresh(false); }), true);
        for (const char* path : Content)
            QVERIFY2(waitFor([&] { return server.wasRequested(path); }, Timeout), path);
        QCOMPARE(animationDuration(page), QStringLiteral("5s"));
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TContentSwitches>(argc, argv);
}

#include "tst_TContentSwitches.moc"
