#pragma once

#include <QFileInfoList>
#include <QString>
#include <QStringList>

// The language files a user can choose from. The user's own folder comes
// first and the folders of the installed program after it: a file the user
// drops into their folder adds a language (or replaces the installed file
// of the same name) without hiding the installed ones.
class LanguageFolders
{
public:
    // folders in order of precedence; the same folder given twice counts once.
    explicit LanguageFolders(const QStringList& folders);
    // The user's folder, then the installed ones (ProgramPaths).
    static LanguageFolders standard();

    QStringList folders() const { return m_folders; }

    // Every regular "*.ini" file, each name once (the first folder holding it
    // wins): the first folder's files in the order the file system lists
    // them, then those of the next folder that are new, and so on. Special
    // files (pipes, devices) are left out: reading one could block for ever.
    QFileInfoList files() const;

    // The path of the regular file called name in the first folder that has
    // one; empty when none has, or when name is not a plain file name (a
    // name with a path separator, "." or ".." must not reach outside).
    QString filePath(const QString& name) const;

    // The shipped file every text falls back to: the default file of the
    // last folder (the installed copy) that has one, empty when none has.
    QString defaultFilePath(const QString& defaultName) const;

    static bool isPlainFileName(const QString& name);

private:
    QStringList m_folders;
};
