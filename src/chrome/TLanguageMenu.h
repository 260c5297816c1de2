#pragma once

#include <QObject>
#include <QString>

class LanguageFolders;
class QMenu;

// Fills the View > Languages submenu with one radio item per language file
// and reports the user's choice. The choice takes effect at the next start;
// storing it and telling the user is the main window's part.
class TLanguageMenu : public QObject
{
    Q_OBJECT

public:
    explicit TLanguageMenu(QObject* parent = nullptr);

    // Run each time the submenu is about to open. Appends one checkable item
    // per "*.ini" file of languagesFolder (in the order the file system lists
    // them) captioned with the file's INFO/Language text (empty when absent),
    // holding the file's full path as status tip and data, checked when the
    // file name equals currentFileName exactly; then deletes the items the
    // submenu held before, so that only the new ones stay.
    void RebuildLanguageMenu(QMenu* submenu, const QString& languagesFolder,
                             const QString& currentFileName);
    // The same over several folders: each file name once, the first
    // folder's file winning (LanguageFolders::files).
    void RebuildLanguageMenu(QMenu* submenu, const LanguageFolders& folders,
                             const QString& currentFileName);

    // The language's own name as its file states it, or empty.
    static QString LanguageName(const QString& path);

signals:
    // An item was chosen and its file still exists.
    void languageChosen(const QString& path);

private:
    void itemTriggered(const QString& path);
};
