#pragma once

#include "chrome/TLanguageFile.h"

class LanguageFolders;

#include <QString>

class QObject;

// The language in use for this run: the loaded language file, its file name,
// and the lookups built on it. The main window owns one and other windows
// reach it through the main window.
class TLanguage
{
public:
    static QString DefaultFileName() { return QStringLiteral("qweng.ini"); }
    static QString GlobalSection() { return QStringLiteral("GLOBAL"); }

    // The configured file name when it names a file directly inside folder,
    // else the default file name. A name with a path separator, "." or ".."
    // never counts as present: the setting must not reach outside the folder.
    static QString ResolveFileName(const QString& folder, const QString& configuredName);

    // Loads the file once; a missing or unreadable file leaves the language
    // empty (every placeholder stays, every lookup gives its fallback).
    bool Load(const QString& path);
    // Loads the configured file from folders, or the default file when no
    // folder holds it, and takes every text that file lacks (all of them
    // when it cannot be read) from the installed default file. Returns the
    // file name in use, which is the one to keep in the setting.
    QString LoadChosen(const LanguageFolders& folders, const QString& configuredName);
    void LoadFromData(const QByteArray& data, const QString& fileName = QString());

    // File name without folder, as given to Load.
    QString FileName() const { return m_fileName; }
    const TLanguageFile& File() const { return m_file; }

    // The entry's text; "UNDEFINED: " + section + " > " + key when the
    // section or the key is missing. An empty entry gives the empty string.
    QString GetLangText(const QString& section, const QString& key) const;
    QString GetGlobalText(const QString& key) const;

    // Replaces the placeholders of root and of every object it owns
    // (see TComponentTranslator for the properties and items covered).
    void TranslateComponent(QObject* root, const QString& section) const;

    // The replacement for one design-time text: the looked-up text when value
    // is a placeholder ("__Key" in section, "~~Key" in GLOBAL) whose entry is
    // not empty; value itself otherwise.
    QString TranslateText(const QString& value, const QString& section) const;

    // Hints hold "short|long". Without "|" both parts are the whole text.
    static QString ShortHint(const QString& hint);
    static QString LongHint(const QString& hint);

    // Fills a language text that takes one argument. "%1" and "%s" (the form
    // older language files use) both stand for the argument, "%%" for "%".
    // The argument is inserted once and never scanned again.
    static QString FormatText(const QString& format, const QString& argument);

private:
    TLanguageFile m_file;
    QString m_fileName;
};
