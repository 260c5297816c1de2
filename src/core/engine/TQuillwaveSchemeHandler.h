#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <optional>

class QWebEngineUrlRequestJob;

// Serves the program's own pages under "quillwave:", offline: the start
// page, the blank page, the search-bar page and the quick-search redirect;
// and writes the pages the browser shows in place of one it cannot show.
//
// Only the program itself and its own pages may open them: a request that a
// web page started (a frame, a link, a script) is refused, so no site can
// embed the program's pages or use the redirect.
class TQuillwaveSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    static inline const QByteArray SchemeName = QByteArrayLiteral("quillwave");
    // Used when no search-engine entry is a template.
    static inline const QString DefaultSearchTemplate =
        QStringLiteral("https://duckduckgo.com/html/?q=%s");

    explicit TQuillwaveSchemeHandler(QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // The search words of "quillwave:search?f=qs&kw=WORDS" as the user typed
    // them ("+" is a blank, as a submitted form writes it).
    static QString SearchWords(const QUrl& url);
    // The template the quick search uses: the data of the first
    // "name=address" line whose address holds "%s" (entries without one are
    // plain site addresses), else the default.
    static QString SearchTemplate(const QStringList& searchEngineLines);
    // The template with the percent-encoded words in place of its one "%s"
    // ("%%" stands for "%"). Nothing when the template has no "%s", more
    // than one, a "%" followed by anything else, or does not give an http or
    // https address.
    static std::optional<QUrl> ExpandSearchTemplate(const QString& searchTemplate,
                                                    const QString& words);
    // Whether a request from this initiator (the origin of the document that
    // started it; empty for the program's own loads) may be served.
    static bool MayServe(const QUrl& initiator);

    static QByteArray StartPageHtml();
    static QByteArray BlankPageHtml();
    // The title of one of the program's own pages, known without loading
    // it (for a tab that waits to load); empty for any other address.
    static QString PageTitle(const QUrl& url);
    // The search pane's page: a search whose results open among the tabs
    // (the words stay in the pane), and one link per usable template of the
    // search-engine lines that searches the same words there.
    static QByteArray SearchBarPageHtml(const QStringList& searchEngineLines = {});
    static QByteArray NotFoundPageHtml(const QString& address);
    static QByteArray SearchErrorPageHtml(const QString& searchTemplate, const QString& words);

    // The program's stand-ins, shown under the address they stand in for.
    using TextLookup = std::function<QString(const QString& section, const QString& key)>;
    // A page that could not be loaded because the user works offline: what
    // happened and how to go back online, in the user's language.
    static QString OfflinePageHtml(const QString& address, const TextLookup& lookup);
    // A page whose display process died: it keeps the page's title (its
    // address when it had none) and offers to load lastUrl again (no offer
    // when empty), in the user's language.
    static QString CrashPageHtml(const QString& lastUrl, const QString& title,
                                 const TextLookup& lookup);

private:
    void reply(QWebEngineUrlRequestJob* job, const QByteArray& html);
    void quickSearch(QWebEngineUrlRequestJob* job);
    static QStringList readSearchEngines();
};
