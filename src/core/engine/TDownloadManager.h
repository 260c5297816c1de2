#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWebEngineDownloadRequest;
class QWidget;
class TDownloadList;
class TfrmDownloads;

// Takes the engine's download requests: asks where to save, starts the
// download, and shows it in the downloads window. One for the program,
// shared by every tab.
class TDownloadManager : public QObject
{
    Q_OBJECT
public:
    static TDownloadManager* instance();

    // Must be called from the profile's downloadRequested handler itself:
    // the engine drops a download that is not accepted there. A page being
    // saved (accepted by the engine already) is only listed. The save
    // dialog and the downloads window belong to the window of parent, or of
    // the page's view when parent is null.
    void handleDownload(QWebEngineDownloadRequest* download, QWidget* parent = nullptr);

    // Where the save dialog starts: the user's download folder and the
    // file name the server suggested, reduced to a plain file name.
    static QString suggestedPath(const QString& downloadFolder, const QString& suggestedName);

    TDownloadList* list() const { return m_list; }
    // Opens the downloads window of owner's window, or raises it; it goes
    // with that window.
    void showWindow(QWidget* owner);

private:
    explicit TDownloadManager(QObject* parent = nullptr);
    void track(QWebEngineDownloadRequest* download, const QString& path);

    TDownloadList* m_list;
    QPointer<TfrmDownloads> m_window;
};
