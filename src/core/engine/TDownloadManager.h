#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

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
    using TextLookup = std::function<QString(const QString& section, const QString& key)>;
    // Gets the file to save to, starting at suggestedPath; empty = cancel.
    using SavePathChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;

    static TDownloadManager* instance();

    // The main window passes its GetLangText.
    static void setTextLookup(TextLookup lookup);
    static QString lookupText(const QString& section, const QString& key);
    // An empty function brings the save dialog back.
    static void setSavePathChooser(SavePathChooser chooser);

    // Must be called from the profile's downloadRequested handler itself:
    // the engine drops a download that is not accepted there. Downloads the
    // engine has already accepted (saving a page) are left to whoever
    // started them.
    void handleDownload(QWebEngineDownloadRequest* download, QWidget* parent = nullptr);

    // Where the save dialog starts: the user's download folder and the
    // file name the server suggested, reduced to a plain file name.
    static QString suggestedPath(const QString& downloadFolder, const QString& suggestedName);

    TDownloadList* list() const { return m_list; }
    // Opens the downloads window, or raises it.
    void showWindow();

private:
    explicit TDownloadManager(QObject* parent = nullptr);
    void track(QWebEngineDownloadRequest* download, const QString& path);

    TDownloadList* m_list;
    QPointer<TfrmDownloads> m_window;
};
