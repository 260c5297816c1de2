#pragma once

#include <QString>
#include <QUrl>

// Which titles of a page reach the listener: the first real title after each
// document arrives, and every change after it; never the same title twice in
// a row, and never the name the engine makes up from the address while a
// load is in progress.
class PageTitleReport
{
public:
    // The engine names an untitled document after its address until (or
    // unless) the document gives a title of its own.
    static bool isPlaceholder(const QString& title, const QUrl& url);

    // True when title is to be raised; it is then the last one raised.
    bool take(const QString& title);
    // A new document arrived: its first title is raised even when the old
    // document had the same one.
    void documentArrived() { m_raised = false; }
    // The last title raised, kept across documents.
    const QString& last() const { return m_last; }

private:
    bool m_raised = false;
    QString m_last;
};
