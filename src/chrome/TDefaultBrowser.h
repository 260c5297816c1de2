#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the desktop says about one of the document classes the program can handle.
struct TClassInfo
{
    QString Name;
    // The first handler of the class's type, as its desktop id without
    // ".desktop"; "Quillwave" when it is this program, empty when none is set.
    QString DefaultVerb;
    QString Description; // the type's comment in the shared MIME database
    bool operator==(const TClassInfo&) const = default;
};

// Makes the program the desktop's handler for web documents and addresses.
//
// Each class stands for one MIME type. Registering writes the user's
// quillwave.desktop entry (when missing or different) and puts it first in the
// type's [Default Applications] entry of mimeapps.list; unregistering takes it
// out of that entry again and leaves the desktop entry in place. A class that
// is already in the wanted state is not written at all, and failures to write
// are skipped silently: registration is a convenience, never an error.
//
// Nothing is kept between calls: every operation reads the desktop's files
// afresh. programPath is what the desktop entry runs; empty means the
// launcher that belongs to the running program, or the running program
// itself when there is none.
class TDefaultBrowser
{
public:
    struct PromptAnswer
    {
        bool ok = false;
        bool checked = false;
    };
    // The confirmation dialog: caption, check box initially checked, title,
    // prompt, OK text, Cancel text, check box text.
    using ConfirmFn = std::function<PromptAnswer(
        const QString& caption, bool checked, const QString& title, const QString& prompt,
        const QString& okText, const QString& cancelText, const QString& checkText)>;
    // Language lookup: section and key to text.
    using LangTextFn = std::function<QString(const QString& section, const QString& key)>;

    static inline const QString VerbName = QStringLiteral("Quillwave");
    static inline const QString DesktopEntryId = QStringLiteral("quillwave.desktop");

    // "htmlfile", "http", "https", "file", "InternetShortcut", in this order.
    static const QStringList& ClassNames();
    // The MIME type a class stands for; empty for an unknown class.
    static QString MimeTypeForClass(const QString& className);

    // $XDG_DATA_HOME/applications/quillwave.desktop (default ~/.local/share/...),
    // read from the environment on every call.
    static QString DesktopEntryPath();
    // The complete desktop entry that runs programPath.
    static QByteArray DesktopEntryText(const QString& programPath);
    // programPath as one argument of a desktop entry's Exec key, as written in
    // the file: quoted and escaped so that blanks and special characters survive.
    static QString ExecArgument(const QString& programPath);

    static TClassInfo ReadClassInfo(const QString& className);
    static bool IsRegistered(const QString& className);
    static void SetClassRegistered(const QString& className, bool registered,
                                   const QString& programPath = QString());
    static void RegisterAll(bool registered, const QString& programPath = QString());
    static void UnregisterAll();
    static bool IsDefaultBrowser();
    // Asked while the main window is created: unless AskDefaultBrowser is off
    // or the program already handles every class, asks the user whether to
    // register all classes; a cleared check box stops future asking.
    static void AskDefaultBrowserPrompt(const ConfirmFn& confirm, const LangTextFn& langText,
                                        const QString& programPath = QString());

private:
    static bool EnsureDesktopEntry(const QString& programPath);
};
