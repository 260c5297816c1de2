#include "core/engine/TDownloadManager.h"

#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineView>

namespace
{
TDownloadList::State listState(QWebEngineDownloadRequest::DownloadState state)
{
    switch (state)
    {
    case QWebEngineDownloadRequest::DownloadCompleted:
        return TDownloadList::Finished;
    case QWebEngineDownloadRequest::DownloadCancelled:
        return TDownloadList::Cancelled;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        return TDownloadList::Interrupted;
    case QWebEngineDownloadRequest::DownloadRequested:
    case QWebEngineDownloadRequest::DownloadInProgress:
        break;
    }
    return TDownloadList::Running;
}
} // namespace

TDownloadManager::TDownloadManager(QObject* parent)
    : QObject(parent), m_list(new TDownloadList(this))
{
}

TDownloadManager* TDownloadManager::instance()
{
    static QPointer<TDownloadManager> manager;
    if (!manager)
        manager = new TDownloadManager(QCoreApplication::instance());
    return manager;
}

QString TDownloadManager::suggestedPath(const QString& downloadFolder, const QString& suggestedName)
{
    // The name comes from the server: it must not lead out of the folder.
    QString name = QFileInfo(QString(suggestedName).replace(u'\\', u'/')).fileName();
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        name.clear();
    if (name.isEmpty())
        name = QStringLiteral("download");
    const QString folder = downloadFolder.isEmpty() ? QDir::homePath() : downloadFolder;
    return QDir(folder).filePath(name);
}

void TDownloadManager::handleDownload(QWebEngineDownloadRequest* download, QWidget* parent)
{
    if (!download)
        return;
    if (!parent && download->page())
    {
        if (QWebEngineView* view = QWebEngineView::forPage(download->page()))
            parent = view->window();
    }
    // A page saved with Save As: the user chose the file already and the
    // engine is writing it; it is shown like any download.
    if (download->isSavePageDownload() &&
        download->state() == QWebEngineDownloadRequest::DownloadInProgress)
    {
        track(download, QDir(download->downloadDirectory()).filePath(download->downloadFileName()));
        if (parent)
            showWindow(parent);
        return;
    }
    if (download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    const QString start =
        suggestedPath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                      download->downloadFileName().isEmpty() ? download->suggestedFileName()
                                                             : download->downloadFileName());
    WindowServices* services = WindowServices::of(parent);
    if (!services)
    {
        // Nobody to ask: the engine must not save what nobody agreed to.
        download->cancel();
        return;
    }
    const QString path = services->chooseSaveFile(
        services->GetGlobalText(QStringLiteral("DownloadSaveCaption")), start);
    if (path.isEmpty())
    {
        download->cancel();
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
    track(download, target.absoluteFilePath());
    showWindow(parent);
}

void TDownloadManager::track(QWebEngineDownloadRequest* download, const QString& path)
{
    QPointer<QWebEngineDownloadRequest> guard(download);
    const int row = m_list->add(path, download->totalBytes(),
                                [guard]
                                {
                                    if (guard)
                                        guard->cancel();
                                });
    const auto progress = [this, guard, row]
    {
        if (guard)
            m_list->setProgress(row, guard->receivedBytes(), guard->totalBytes());
    };
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, progress);
    connect(download, &QWebEngineDownloadRequest::totalBytesChanged, this, progress);
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, guard, row, path](QWebEngineDownloadRequest::DownloadState state)
            {
                // A saved page counts its parts, not its bytes: the file
                // written tells the size.
                if (guard && guard->isSavePageDownload() &&
                    state == QWebEngineDownloadRequest::DownloadCompleted)
                {
                    const qint64 size = QFileInfo(path).size();
                    m_list->setProgress(row, size, size);
                }
                else if (guard)
                    m_list->setProgress(row, guard->receivedBytes(), guard->totalBytes());
                m_list->setState(row, listState(state),
                                 guard ? guard->interruptReasonString() : QString());
            });
    // A download dropped by the engine (its profile went away) cannot go on.
    connect(download, &QObject::destroyed, this,
            [this, row] { m_list->setState(row, TDownloadList::Cancelled); });
    progress();
}

void TDownloadManager::showWindow(QWidget* owner)
{
    WindowServices* services = WindowServices::of(owner);
    if (!services)
        return;
    if (m_window && m_window->parentWidget() != owner->window())
        m_window->close();
    if (!m_window)
        m_window = new TfrmDownloads(m_list, services, owner->window());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
