#pragma once

#include "core/engine/IBrowserControl.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QWebEngineDownloadRequest;
class QWebEngineView;

// The page commands of one view that the engine carries out on its own
// time: find, save and print. Nothing here waits for the engine; every
// answer comes back through the caller's function. A save or print still
// running when the view goes is reported as failed, so that nobody waits
// for it forever.
class TPageCommands : public QObject
{
    Q_OBJECT
public:
    // view owns this object; its page may be set later.
    explicit TPageCommands(QWebEngineView* view);
    ~TPageCommands() override;

    void FindText(const QString& text, bool backward, bool matchCase,
                  const std::function<void(const FindResult&)>& done);
    void SavePage(const QString& path, PageSaveFormat format,
                  const std::function<void(bool ok)>& done);
    bool PrintPage(QPrinter* printer, const std::function<void(bool ok)>& done);

private:
    using Done = std::function<void(bool ok)>;

    void saveText(const QString& path, int id);
    void saveInEngine(const QString& path, PageSaveFormat format, int id);
    void onDownloadRequested(QWebEngineDownloadRequest* download);
    int pending(const Done& done);
    void finish(int id, bool ok);

    QWebEngineView* m_view;
    Done m_printDone;
    int m_nextId = 1;
    QHash<int, Done> m_pending;
    // Saves handed to the engine that have no download yet, by target path.
    QHash<QString, int> m_engineSaves;
    // Answers of the engine arriving after this object hold a weak reference.
    std::shared_ptr<bool> m_lifetime = std::make_shared<bool>(true);
};
