#pragma once

#include "MainWindowHome.h"
#include "TestHttpServer.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class TBrowserTab;
class TfrmMain;

// A real main window with the real engine, in a program folder of its own,
// and a test server for its pages. Give the server its routes, then open().
class EngineWindow
{
public:
    EngineWindow();
    ~EngineWindow();

    bool isValid() const { return home.isValid() && m_listening; }
    // Seeds the store (a blank start, then values) and shows the window.
    bool open(const QList<QPair<QString, QString>>& values = {});
    QString url(const QString& path) const { return server.url(path); }
    // Waits until tab shows url and has finished loading.
    static bool shows(const TBrowserTab* tab, const QString& url);

    // Declared in this order: the window ends before its server and home.
    MainWindowHome home;
    TestHttpServer server;
    std::unique_ptr<TfrmMain> window;

private:
    bool m_listening = false;
};
