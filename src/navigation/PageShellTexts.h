#pragma once

#include <QString>
#include <QUrl>

// The texts the shell commands make from a page's title and address: file
// names for the page-link shortcut and the mailed page, the mail address of
// Send Link, and the mailed page's base line.
class PageShellTexts
{
public:
    // The page-link shortcut's file name: a title that is itself an address
    // (holds "//") gives its part after the last "/" or "\"; any other
    // title keeps its letters A-Z and a-z, digits and blanks. A name of
    // blanks and dots only would be hidden or say nothing: "page" then.
    // ".url" added.
    static QString ShortcutFileName(const QString& title);

    // The mailed page's file name: the title with everything but letters
    // A-Z and a-z, digits, blanks and "." made a blank ("page" as above),
    // ".htm" added.
    static QString MailFileName(const QString& title);

    // "mailto:" with the subject "title (address)" and the body address,
    // both percent-encoded so that "&", "#" or "?" in a title stay in it.
    static QUrl MailtoForLink(const QString& title, const QString& address);

    // The base a saved copy needs to find the page's files: the address up
    // to and including its last "/" after its eighth character, else the
    // address and "/".
    static QString BaseHref(const QString& address);
    // The page's HTML preceded by the line "<BASE HREF="base">".
    static QString PageForMail(const QString& html, const QString& address);
};
