#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One application's desktop entry (an "applications/*.desktop" file of the
// XDG data folders): what it is called, what it opens and how it is
// started. Programs are started from the Exec line split into arguments,
// never through a shell, so an address or a file name cannot become a
// command.
class DesktopEntry
{
public:
    // The entry's desktop file id ("org.example.Mail.desktop").
    QString id;
    QString name;
    QString exec;
    QString icon;
    QString path; // where the file was read
    QStringList mimeTypes;
    QStringList categories;
    // Not to be listed in menus (the entry still handles its types).
    bool noDisplay = false;

    // Reads the "Desktop Entry" group of the file at path. None when the
    // file cannot be read, is no application, is marked Hidden (deleted by
    // the user), has no Exec line, or names a TryExec program that is not
    // installed.
    static std::optional<DesktopEntry> read(const QString& path, const QString& id);

    // The Exec line's words: quoting and escapes of the desktop entry rules
    // undone, nothing else. Empty when the quoting is broken.
    static QStringList splitExec(const QString& exec);

    // The program and its arguments for opening targets (files or
    // addresses): %f and %u take the first target, %F and %U all of them,
    // %c the name, %i "--icon" and the icon, %k the entry's file; other
    // field codes are removed. Targets the line has no field code for are
    // appended. Empty when the line cannot be split.
    QStringList arguments(const QStringList& targets = {}) const;

    // Starts the program detached with arguments(targets); false when it
    // could not be started.
    bool start(const QStringList& targets = {}) const;
};
