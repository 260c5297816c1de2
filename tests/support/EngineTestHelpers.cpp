#include "EngineTestHelpers.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace EngineTestHelpers
{
std::optional<bool> loadStartedBy(QWebEngineView* view, const std::function<void()>& start,
                                  int timeoutMs)
{
    QEventLoop loop;
    std::optional<bool> result;
    const QMetaObject::Connection connection =
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, &loop,
                         [&](bool ok)
                         {
                             result = ok;
                             loop.quit();
                         });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    start();
    if (!result)
        loop.exec();
    QObject::disconnect(connection);
    return result;
}

bool waitForLoad(QWebEnginePage* page, int timeoutMs)
{
    QEventLoop loop;
    bool ok = false;
    bool finished = false;
    const QMetaObject::Connection connection =
        QObject::connect(page, &QWebEnginePage::loadFinished, &loop,
                         [&](bool result)
                         {
                             ok = result;
                             finished = true;
                             loop.quit();
                         });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return finished && ok;
}

bool loadSync(QWebEngineView* view, const QUrl& url, int timeoutMs)
{
    QEventLoop loop;
    bool ok = false;
    bool finished = false;
    const QMetaObject::Connection connection =
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, &loop,
                         [&](bool result)
                         {
                             ok = result;
                             finished = true;
                             loop.quit();
                         });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    view->load(url);
    if (!finished)
        loop.exec();
    QObject::disconnect(connection);
    return finished && ok;
}

QVariant runJavaScriptSync(QWebEnginePage* page, const QString& script, quint32 worldId,
                           int timeoutMs)
{
    // The callback may come after this function gave up; it must not touch
    // the stack then.
    struct State
    {
        QVariant result;
        bool done = false;
        QPointer<QEventLoop> loop;
    };
    auto state = std::make_shared<State>();
    QEventLoop loop;
    state->loop = &loop;
    page->runJavaScript(script, worldId,
                        [state](const QVariant& result)
                        {
                            state->result = result;
                            state->done = true;
                            if (state->loop)
                                state->loop->quit();
                        });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!state->done)
        loop.exec();
    return state->done ? state->result : QVariant();
}

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done())
    {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

QString bodyText(QWebEnginePage* page)
{
    return runJavaScriptSync(page, QStringLiteral("document.body ? document.body.innerText : ''"),
                             QWebEngineScript::ApplicationWorld)
        .toString();
}

void prepareEngineEnvironment()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const QByteArray& flag :
         {QByteArrayLiteral("--disable-gpu"), QByteArrayLiteral("--no-sandbox")})
        if (!flags.contains(flag))
            flags += (flags.isEmpty() ? "" : " ") + flag;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
} // namespace EngineTestHelpers
