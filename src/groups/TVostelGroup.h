#pragma once

#include <QString>
#include <QStringList>

class WindowServices;

// One saved group of pages held in memory: a list of "name=value" lines in
// tab order, the value being "*" for a locked page followed by the page's
// address. It is read from its file once when made and holds no file open;
// Save writes it back.
class TVostelGroup : public QStringList
{
public:
    // The file's section that holds the pages; a group file may hold others,
    // and saving leaves them as they are.
    static const QString Section;
    static const QString FileSuffix;

    TVostelGroup() = default;
    // Reads the group file. When no such file exists the group is empty and
    // has no file name, so that Save asks for one. Owner supplies the save
    // dialog, the questions and the texts; without it Save can only write to
    // an existing file name and cannot report a failure.
    TVostelGroup(WindowServices* Owner, const QString& FileName);

    QString FileName() const { return m_fileName; }
    WindowServices* Owner() const { return m_owner; }

    // The parts of line index before and after its first "=" (the whole line
    // and nothing when it has none).
    QString Name(qsizetype index) const;
    QString Value(qsizetype index) const;

    // An empty name stands for a page without a name of its own and becomes
    // "blank" and the line's number; "=" would split the line, so it is
    // dropped from the name.
    void AddSite(const QString& name, const QString& address, bool locked);
    // Writes the group, first asking for a file name when it has none (and
    // whether to replace a group of that name). False when the user cancelled
    // or said No, or when the file could not be written; that failure is
    // reported to the user through Owner.
    bool Save();

    // Whether path names a group file: its last extension is ".vgp" in any case.
    static bool IsVostelGroupFile(const QString& path);

private:
    // Empty when the user cancels.
    QString ChooseFileName() const;

    QString m_fileName;
    WindowServices* m_owner = nullptr;
};
