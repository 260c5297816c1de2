#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWebEngineScript>

class QWebEnginePage;
class QWebEngineView;

// Waiting helpers for engine tests: each runs an event loop until the engine
// answers or the time is up.
namespace EngineTestHelpers
{
// Loads url into the view and waits for its loadFinished; its ok, or false
// on timeout.
bool loadSync(QWebEngineView* view, const QUrl& url, int timeoutMs = 20000);
// Waits for the next loadFinished of the page (a load already started).
bool waitForLoad(QWebEnginePage* page, int timeoutMs = 20000);
// The script's result; an invalid QVariant on timeout.
QVariant runJavaScriptSync(QWebEnginePage* page, const QString& script,
                           quint32 worldId = QWebEngineScript::MainWorld, int timeoutMs = 10000);
// The page's text content, through an isolated world.
QString bodyText(QWebEnginePage* page);
// Sets up the process for the engine before the application object exists:
// Chromium switches for a headless machine.
void prepareEngineEnvironment();
} // namespace EngineTestHelpers
