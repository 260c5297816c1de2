// The browser control's page commands against the real engine and a loopback
// server: the clipboard commands and the page-properties query.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "core/engine/IBrowserControl.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TVostelBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEnginePage>

#include <memory>
#include <optional>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

// The control's answer to a properties query, waited for.
std::optional<PageProperties> queryProperties(IBrowserControl* control)
{
    auto answer = std::make_shared<std::optional<PageProperties>>();
    control->QueryPageProperties([answer](const PageProperties& properties)
                                 { *answer = properties; });
    if (!waitFor([&] { return answer->has_value(); }))
        return std::nullopt;
    return *answer;
}

const QByteArray DatedPage = "<!DOCTYPE html><title>Dated</title><p>old news</p>";
} // namespace

class tst_TVostelBrowserCommands : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    // The browser shares a window with an edit, so that the page is not the
    // only thing that could have the keyboard focus.
    std::unique_ptr<QWidget> window;
    TVostelBrowser* browser = nullptr;
    QLineEdit* edit = nullptr;

    const QByteArray fieldsPage = "<!DOCTYPE html><title>Fields</title>"
                                  "<input id='a' value='hello clipboard'><input id='b' value=''>"
                                  "<p id='text'>Paragraph one</p>";

    bool load(const QString& path)
    {
        return loadStartedBy(browser, [&] { browser->Navigate(server.url(path)); }).value_or(false);
    }
    QVariant js(const QString& script) { return runJavaScriptSync(browser->page(), script); }
    void focusField(const QString& id)
    {
        js(QStringLiteral("document.getElementById('%1').focus()").arg(id));
        // The edit takes the window's focus back; the command must still
        // reach the page's field.
        edit->setFocus();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.routeHtml("/fields.html", fieldsPage);
        server.route("/dated.html",
                     TestHttpServer::Response{200,
                                              "text/html; charset=utf-8",
                                              DatedPage,
                                              {{"Last-Modified", "Wed, 21 Oct 2015 07:28:00 GMT"}},
                                              0});
        server.route("/notes.txt",
                     TestHttpServer::Response{200, "text/plain; charset=utf-8", "notes\n", {}, 0});
    }

    void init()
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        edit = new QLineEdit(window.get());
        browser = new TVostelBrowser(window.get());
        layout->addWidget(edit);
        layout->addWidget(browser, 1);
        window->resize(800, 600);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QGuiApplication::clipboard()->clear();
    }

    void cleanup() { window.reset(); }

    void clipboardCommandsReachThePagesField()
    {
        QVERIFY(load("/fields.html"));
        focusField("a");
        browser->ExecEdit(EditSelectAll);
        browser->ExecEdit(EditCopy);
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(),
                                  QStringLiteral("hello clipboard"), Timeout);
        QGuiApplication::clipboard()->clear();
        browser->ExecEdit(EditCut);
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(),
                                  QStringLiteral("hello clipboard"), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(js("document.getElementById('a').value").toString(), QString(),
                                  Timeout);

        focusField("b");
        browser->ExecEdit(EditPaste);
        QTRY_COMPARE_WITH_TIMEOUT(js("document.getElementById('b').value").toString(),
                                  QStringLiteral("hello clipboard"), Timeout);
    }

    // The text size is the user's for the tab, not the site's: it stays
    // on the next page, on another host too, and when going back.
    void zoomStaysAcrossNavigations()
    {
        const auto zoomed = [&]
        {
            const auto shown = [&] { return js("window.devicePixelRatio").toDouble(); };
            return waitFor([&] { return qAbs(shown() - 1.45) < 0.01; }) &&
                   qAbs(browser->ZoomFactor() - 1.45) < 0.01;
        };
        QVERIFY(load("/fields.html"));
        browser->SetZoomFactor(1.45);
        QVERIFY(zoomed());
        const QString otherHost = server.url("/fields.html").replace("127.0.0.1", "localhost");
        QVERIFY(loadStartedBy(browser, [&] { browser->Navigate(otherHost); }) == true);
        QVERIFY(zoomed());
        QVERIFY(loadStartedBy(browser, [&] { browser->GoBack(); }) == true);
        QVERIFY(zoomed());
    }

    // How the page measures itself; the rules for what it answers are
    // PagePropertiesReader's.
    void propertiesOfServedAndWrittenPages()
    {
        QVERIFY(load("/dated.html"));
        std::optional<PageProperties> properties = queryProperties(browser);
        QVERIFY(properties);
        QCOMPARE(properties->mimeType, QStringLiteral("text/html"));
        QCOMPARE(properties->size, DatedPage.size());
        QCOMPARE(properties->modified, QDateTime(QDate(2015, 10, 21), QTime(7, 28), Qt::UTC));

        QVERIFY(load("/notes.txt"));
        properties = queryProperties(browser);
        QVERIFY(properties);
        QCOMPARE(properties->mimeType, QStringLiteral("text/plain"));
        QCOMPARE(properties->size, 6);
        QVERIFY(!properties->modified.isValid());

        // An answer still on its way when the browser goes touches nothing of
        // it, and comes once.
        auto answers = std::make_shared<QList<PageProperties>>();
        browser->QueryPageProperties([answers](const PageProperties& p) { answers->append(p); });
        window.reset();
        browser = nullptr;
        QVERIFY(answers->isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(answers->size(), 1, Timeout);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(answers->size(), 1);
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TVostelBrowserCommands>(argc, argv);
}

#include "tst_TVostelBrowserCommands.moc"
