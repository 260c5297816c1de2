#pragma once

#include "core/engine/TEngineProfile.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QVariant>
#include <QWebEngineScript>

#include <functional>
#include <optional>

class QWebEnginePage;
class QWebEngineView;

// Waiting helpers for engine tests: each runs an event loop until the engine
// answers or the time is up.
namespace EngineTestHelpers
{
// Loads url into the view and waits for its loadFinished; its ok, or false
// on timeout.
bool loadSync(QWebEngineView* view, const QUrl& url, int timeoutMs = 20000);
// Runs start, which begins a load in view, and waits for its loadFinished:
// its ok, or nothing when the time is up.
std::optional<bool> loadStartedBy(QWebEngineView* view, const std::function<void()>& start,
                                  int timeoutMs = 20000);
// Waits for the next loadFinished of the page (a load already started).
bool waitForLoad(QWebEnginePage* page, int timeoutMs = 20000);
// The script's result; an invalid QVariant on timeout.
QVariant runJavaScriptSync(QWebEnginePage* page, const QString& script,
                           quint32 worldId = QWebEngineScript::MainWorld, int timeoutMs = 10000);
// Waits until done() holds, or false when the time is up. Unlike
// QTest::qWaitFor, which hands all the remaining time to processEvents(),
// it looks again every few milliseconds: the engine keeps posting events
// for seconds after a load, and processEvents() returns only when they stop.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 20000);
// The page's text content, through an isolated world.
QString bodyText(QWebEnginePage* page);
// Sets up the process for the engine before the application object exists:
// Chromium switches for a headless machine.
void prepareEngineEnvironment();

// The main() of an engine test: a program folder of its own, the engine's
// switches and scheme, then the application and the test object.
template <typename Test> int engineTestMain(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("QUILLWAVE_HOME", home.path().toLocal8Bit());
    prepareEngineEnvironment();
    TEngineProfile::registerSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
} // namespace EngineTestHelpers
