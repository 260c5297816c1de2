#include "core/engine/PageScriptQueries.h"

#include "core/engine/PagePropertiesReader.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

void PageScriptQueries::properties(QWebEnginePage* page, QObject* browser,
                                   const std::weak_ptr<bool>& alive, const Read& read,
                                   const Done& done, int timeoutMs)
{
    struct Query
    {
        Done done;
        bool finished = false;
        QMetaObject::Connection browserGone;
    };
    auto query = std::make_shared<Query>();
    query->done = done;
    const auto finish = [query](const PageProperties& properties)
    {
        if (query->finished)
            return;
        query->finished = true;
        QObject::disconnect(query->browserGone);
        if (query->done)
            query->done(properties);
    };
    const PageProperties known = read(QVariant());
    // Answering from inside the browser's destructor would hand the caller
    // a half-destroyed object to look at: the answer comes afterwards.
    const auto finishLater = [finish, known]
    { QTimer::singleShot(0, QCoreApplication::instance(), [finish, known] { finish(known); }); };
    query->browserGone =
        QObject::connect(browser, &QObject::destroyed, QCoreApplication::instance(),
                         [finishLater] { finishLater(); });

    page->runJavaScript(PagePropertiesReader::script(), QWebEngineScript::ApplicationWorld,
                        [alive, read, finish, finishLater](const QVariant& result)
                        {
                            if (alive.expired())
                            {
                                finishLater();
                                return;
                            }
                            finish(read(result));
                        });
    QTimer::singleShot(timeoutMs, browser, [finish, known] { finish(known); });
}

void PageScriptQueries::nextLink(QWebEnginePage* page,
                                 const std::function<void(const QString& href)>& found)
{
    page->runJavaScript(nextLinkScript(), QWebEngineScript::ApplicationWorld,
                        [found](const QVariant& result) { found(result.toString()); });
}

QString PageScriptQueries::nextLinkScript()
{
    return QStringLiteral(R"((function () {
  var links = document.links;
  for (var i = 0; i < links.length; ++i) {
    var text = links[i].innerText || links[i].textContent || '';
    if (String(text).toUpperCase().indexOf('NEXT') >= 0)
      return links[i].href || null;
  }
  return null;
})())");
}
