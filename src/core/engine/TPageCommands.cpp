#include "core/engine/TPageCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

TPageCommands::TPageCommands(QWebEngineView* view) : QObject(view), m_view(view)
{
    connect(view, &QWebEngineView::printFinished, this,
            [this](bool ok)
            {
                if (const Done done = std::exchange(m_printDone, {}))
                    done(ok);
            });
}

TPageCommands::~TPageCommands()
{
    if (const Done done = std::exchange(m_printDone, {}))
        done(false);
    const QHash<int, Done> left = std::exchange(m_pending, {});
    for (const Done& done : left)
        done(false);
}

void TPageCommands::FindText(const QString& text, bool backward, bool matchCase,
                             const std::function<void(const FindResult&)>& done)
{
    QWebEnginePage::FindFlags flags;
    if (backward)
        flags |= QWebEnginePage::FindBackward;
    if (matchCase)
        flags |= QWebEnginePage::FindCaseSensitively;
    const std::weak_ptr<bool> alive = m_lifetime;
    m_view->page()->findText(text, flags,
                             [alive, done](const QWebEngineFindTextResult& result)
                             {
                                 if (alive.expired() || !done)
                                     return;
                                 done(FindResult{result.activeMatch(), result.numberOfMatches()});
                             });
}

void TPageCommands::SavePage(const QString& path, PageSaveFormat format, const Done& done)
{
    const int id = pending(done);
    if (format == PageSaveFormat::PlainText)
        saveText(path, id);
    else
        saveInEngine(path, format, id);
}

bool TPageCommands::PrintPage(QPrinter* printer, const Done& done)
{
    // The view takes one printer at a time and ignores a second one without
    // ever finishing it.
    if (m_printDone || !printer)
        return false;
    m_printDone = done ? done : [](bool) {};
    m_view->print(printer);
    return true;
}

int TPageCommands::pending(const Done& done)
{
    const int id = m_nextId++;
    m_pending.insert(
        id, done ? done : [](bool) {});
    return id;
}

void TPageCommands::finish(int id, bool ok)
{
    if (const Done done = m_pending.take(id))
        done(ok);
}

void TPageCommands::saveText(const QString& path, int id)
{
    const std::weak_ptr<bool> alive = m_lifetime;
    m_view->page()->toPlainText(
        [this, alive, path, id](const QString& text)
        {
            if (alive.expired())
                return;
            QSaveFile file(path);
            const bool ok =
                file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
            finish(id, ok);
        });
}

void TPageCommands::saveInEngine(const QString& path, PageSaveFormat format, int id)
{
    QWebEnginePage* page = m_view->page();
    if (m_engineSaves.isEmpty())
        connect(page->profile(), &QWebEngineProfile::downloadRequested, this,
                &TPageCommands::onDownloadRequested, Qt::UniqueConnection);
    const QString target = QFileInfo(path).absoluteFilePath();
    // A save to the same file replaces the one before, as the engine does.
    if (const int before = m_engineSaves.take(target))
        finish(before, false);
    m_engineSaves.insert(target, id);
    page->save(target, format == PageSaveFormat::SingleFile
                           ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                           : QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

void TPageCommands::onDownloadRequested(QWebEngineDownloadRequest* download)
{
    if (!download->isSavePageDownload() || download->page() != m_view->page())
        return;
    const QString target =
        QFileInfo(QDir(download->downloadDirectory()).filePath(download->downloadFileName()))
            .absoluteFilePath();
    const int id = m_engineSaves.take(target);
    if (!id)
        return;
    if (m_engineSaves.isEmpty())
        disconnect(m_view->page()->profile(), &QWebEngineProfile::downloadRequested, this,
                   &TPageCommands::onDownloadRequested);
    const auto ended = [this, id, download = QPointer(download)]
    {
        if (!download)
            finish(id, false);
        else if (download->isFinished())
            finish(id, download->state() == QWebEngineDownloadRequest::DownloadCompleted);
    };
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, ended);
    connect(download, &QObject::destroyed, this, ended);
    ended();
}
