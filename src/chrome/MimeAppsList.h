#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The user's mimeapps.list, edited in place.
//
// Desktop tools and people both write this file, so an edit changes only the
// one entry it is about: every other line, group, comment, blank line and line
// ending stays byte for byte as it was. Keys are matched exactly, so localised
// keys ("text/html[de]") are never touched. A group that occurs more than once
// is edited in its first occurrence; stale copies of the same key in the later
// occurrences are dropped, since desktop readers merge such groups and the
// last copy would otherwise win.
class MimeAppsList
{
public:
    static inline const QString DefaultApplications = QStringLiteral("Default Applications");
    static inline const QString AddedAssociations = QStringLiteral("Added Associations");

    // $XDG_CONFIG_HOME/mimeapps.list, else ~/.config/mimeapps.list; read from
    // the environment on every call.
    static QString defaultPath();

    explicit MimeAppsList(const QString& path = defaultPath());

    QString path() const { return m_path; }

    // Reads the file. A missing file is an empty list; false when the file
    // exists but cannot be read (it must then not be written back).
    bool load();
    // Writes the whole file atomically, creating its folder when missing.
    bool save();

    void setContent(const QByteArray& content);
    QByteArray content() const;
    // True once an edit changed the content since the last load or save.
    bool isModified() const { return m_modified; }

    // The desktop ids of key in group, in order; empty when there is no entry.
    QStringList desktopIds(const QString& group, const QString& key) const;
    // Replaces the entry's ids; an empty list removes the entry's line.
    void setDesktopIds(const QString& group, const QString& key, const QStringList& ids);

private:
    struct Line
    {
        QByteArray text; // without the line ending
        QByteArray eol;  // "\n", "\r\n" or empty on an unterminated last line
    };
    struct EntryRef
    {
        qsizetype line;
        qsizetype valueStart; // offset of the value within the line's text
    };

    static bool isGroupHeader(const QByteArray& text, QByteArray* name = nullptr);
    static bool keyOf(const QByteArray& text, QByteArray* key, qsizetype* valueStart);
    QList<EntryRef> findEntries(const QByteArray& group, const QByteArray& key) const;
    // Index of the first group header named group, or -1.
    qsizetype findGroup(const QByteArray& group) const;
    QByteArray newLineEnding() const;
    void insertLine(qsizetype at, const QByteArray& text);

    QString m_path;
    QList<Line> m_lines;
    bool m_modified = false;
};
