#include "core/engine/TQuillwaveSchemeHandler.h"

#include "chrome/TLanguage.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "navigation/SearchTemplate.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>

#include <exception>

namespace
{
QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// One look for every page the program serves: no external resources, so
// the pages work offline and reveal nothing to any server.
QString page(const QString& title, const QString& body, const QString& extraStyle = QString())
{
    static const QString style = QStringLiteral(R"(
body { margin: 0; font-family: Verdana, Geneva, Arial, sans-serif; color: #000033;
       background: #ffffff; }
a { color: #33338f; }
.product { font-weight: bold; letter-spacing: 0.02em; }
.version { color: #999999; font-size: 11px; }
form.search { display: flex; gap: 6px; }
form.search input[type=search] { flex: 1; min-width: 0; padding: 6px 8px; font-size: 15px;
       border: 1px solid #9999bb; border-radius: 4px; }
form.search button { padding: 6px 14px; font-size: 15px; border: 1px solid #666699;
       border-radius: 4px; background: #666699; color: #ffffff; cursor: pointer; }
.note { color: #555577; font-size: 13px; }
code { background: #f0f0f6; padding: 0 3px; }
)");
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                          "<meta name=\"viewport\" content=\"width=device-width\">"
                          "<title>%1</title><style>%2%3</style></head>\n<body>%4</body></html>\n")
        .arg(escaped(title), style, extraStyle, body);
}

QString searchForm(const QString& extraAttributes)
{
    return QStringLiteral("<form class=\"search\" action=\"quillwave:search\" method=\"get\"%1>"
                          "<input type=\"hidden\" name=\"f\" value=\"qs\">"
                          "<input type=\"search\" name=\"kw\" aria-label=\"Search words\" "
                          "placeholder=\"Search the web\" autofocus>"
                          "<button type=\"submit\">Search</button></form>")
        .arg(extraAttributes);
}

// A menu caption as the menu shows it: "&&" is an ampersand, a single "&"
// only marks the access key.
QString menuText(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i)
    {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

bool isTemplateLine(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 && line.mid(equals + 1).contains(QLatin1String("%s"));
}
} // namespace

TQuillwaveSchemeHandler::TQuillwaveSchemeHandler(QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
{
}

bool TQuillwaveSchemeHandler::MayServe(const QUrl& initiator)
{
    return initiator.isEmpty() || initiator.scheme() == QLatin1String(SchemeName);
}

void TQuillwaveSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (!MayServe(job->initiator()))
    {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QUrl url = job->requestUrl();
    const QString path = url.path();
    if (path == QLatin1String("start"))
        reply(job, StartPageHtml());
    else if (path == QLatin1String("blank"))
        reply(job, BlankPageHtml());
    else if (path == QLatin1String("searchbar"))
        reply(job, SearchBarPageHtml(readSearchEngines()));
    else if (path == QLatin1String("search"))
        quickSearch(job);
    else
        reply(job, NotFoundPageHtml(url.toString()));
}

void TQuillwaveSchemeHandler::reply(QWebEngineUrlRequestJob* job, const QByteArray& html)
{
    auto* buffer = new QBuffer(job);
    buffer->setData(html);
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArrayLiteral("text/html"), buffer);
}

void TQuillwaveSchemeHandler::quickSearch(QWebEngineUrlRequestJob* job)
{
    const QString words = SearchWords(job->requestUrl());
    const QString searchTemplate = SearchTemplate(readSearchEngines());
    const std::optional<QUrl> target = ExpandSearchTemplate(searchTemplate, words);
    if (!target)
    {
        reply(job, SearchErrorPageHtml(searchTemplate, words));
        return;
    }
    job->redirect(*target);
}

QStringList TQuillwaveSchemeHandler::readSearchEngines()
{
    try
    {
        return TQWOptions().ReadListSection(RegistryKeys::SearchEngines);
    }
    catch (const std::exception& error)
    {
        // A damaged list must not take the search with it: the default serves.
        qWarning("Quillwave: the search-engine list cannot be read: %s", error.what());
    }
    return {};
}

QString TQuillwaveSchemeHandler::SearchWords(const QUrl& url)
{
    const QString query = url.query(QUrl::FullyEncoded);
    for (const QString& item : query.split(QLatin1Char('&')))
    {
        if (!item.startsWith(QLatin1String("kw=")))
            continue;
        QByteArray value = item.mid(3).toUtf8();
        value.replace('+', ' ');
        return QUrl::fromPercentEncoding(value);
    }
    return QString();
}

QString TQuillwaveSchemeHandler::SearchTemplate(const QStringList& searchEngineLines)
{
    for (const QString& line : searchEngineLines)
        if (isTemplateLine(line))
            return line.mid(line.indexOf(QLatin1Char('=')) + 1);
    return DefaultSearchTemplate;
}

std::optional<QUrl> TQuillwaveSchemeHandler::ExpandSearchTemplate(const QString& searchTemplate,
                                                                  const QString& words)
{
    const SearchTemplate::Result expanded =
        SearchTemplate::Expand(searchTemplate, QString::fromLatin1(QUrl::toPercentEncoding(words)));
    if (!expanded.ok())
        return std::nullopt;
    const QString& result = expanded.text;
    const QUrl url(result.trimmed());
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return url;
}

QString TQuillwaveSchemeHandler::PageTitle(const QUrl& url)
{
    if (url.scheme() != QLatin1String(SchemeName))
        return {};
    if (url.path() == QLatin1String("start"))
        return QStringLiteral("Quillwave");
    if (url.path() == QLatin1String("blank"))
        return QStringLiteral("about:blank");
    return {};
}

QByteArray TQuillwaveSchemeHandler::StartPageHtml()
{
    const QString body =
        QStringLiteral("<main><h1><span class=\"product\">Quillwave</span></h1>%1"
                       "<p class=\"note\">Type a few words and press Enter to search the web "
                       "with your first search engine.</p></main>"
                       "<footer class=\"version\">Quillwave " QW_VERSION "</footer>")
            .arg(searchForm(QString()));
    const QString style = QStringLiteral(R"(
body { background: linear-gradient(#f4f4fa, #ffffff 60%); min-height: 100vh;
       display: flex; flex-direction: column; align-items: center; }
main { width: min(640px, 90vw); margin-top: 18vh; }
h1 { font-size: 44px; font-weight: normal; color: #333366; text-align: center; margin: 0 0 24px; }
footer { margin-top: auto; padding: 12px; }
)");
    return page(PageTitle(QUrl(QStringLiteral("quillwave:start"))), body, style).toUtf8();
}

QByteArray TQuillwaveSchemeHandler::BlankPageHtml()
{
    const QString body = QStringLiteral(
        "<table width=\"100%\" cellpadding=\"4\"><tr>"
        "<td valign=\"top\">&nbsp;</td>"
        "<td valign=\"top\" align=\"right\" class=\"version\">Quillwave " QW_VERSION "<br></td>"
        "</tr></table>");
    return page(PageTitle(QUrl(QStringLiteral("quillwave:blank"))), body).toUtf8();
}

QByteArray TQuillwaveSchemeHandler::SearchBarPageHtml(const QStringList& searchEngineLines)
{
    // Each usable template is offered as a link that the script points at
    // the words typed; "%%" in a template is a percent sign.
    QString engines;
    for (const QString& line : searchEngineLines)
    {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString searchTemplate = line.mid(equals + 1);
        if (!isTemplateLine(line) || !ExpandSearchTemplate(searchTemplate, QString()))
            continue;
        engines +=
            QStringLiteral("<li><a target=\"_main\" data-template=\"%1\" href=\"%2\">%3</a></li>")
                .arg(escaped(searchTemplate),
                     escaped(ExpandSearchTemplate(searchTemplate, QString())->toString()),
                     escaped(line.left(equals)));
    }
    if (!engines.isEmpty())
        engines = QStringLiteral("<p class=\"note\">Search with:</p><ul class=\"engines\">") +
                  engines + QStringLiteral("</ul>");
    // Links with the target "_main" leave the pane for the tabs. The search
    // goes the same way through a link, so that it opens in a new tab or
    // the front one as the user chose for the pane; without scripts the
    // form's own target still takes the results out of the pane.
    const QString body =
        QStringLiteral("<div class=\"pane\"><p class=\"product\">Quillwave search</p>%1"
                       "<a id=\"results\" target=\"_main\" hidden></a>"
                       "<p class=\"note\">Results open in a tab; your words stay here.</p>%2"
                       "<p class=\"note\"><a href=\"quillwave:start?f=home\" target=\"_main\">"
                       "Open the start page</a></p></div>"
                       "<script>(function () {"
                       "var form = document.querySelector('form.search');"
                       "var words = form.elements.kw;"
                       "function encoded() { return encodeURIComponent(words.value.trim()); }"
                       "function update() {"
                       " document.querySelectorAll('a[data-template]').forEach(function (a) {"
                       "  a.href = a.dataset.template.split('%%').map(function (part) {"
                       "   return part.replace('%s', encoded()); }).join('%'); }); }"
                       "words.addEventListener('input', update);"
                       "form.addEventListener('submit', function (event) {"
                       " event.preventDefault();"
                       " if (!words.value.trim()) return;"
                       " var link = document.getElementById('results');"
                       " link.href = 'quillwave:search?f=qs&kw=' + encoded();"
                       " link.click(); });"
                       "update();"
                       "})();</script>")
            .arg(searchForm(QStringLiteral(" target=\"_main\"")), engines);
    const QString style = QStringLiteral(".pane { padding: 10px; }\n"
                                         "form.search input[type=search] { font-size: 13px; }\n"
                                         "form.search button { font-size: 13px; }\n"
                                         "ul.engines { padding-left: 18px; margin: 4px 0; }\n"
                                         "ul.engines li { font-size: 13px; margin: 2px 0; }\n");
    return page(QStringLiteral("Quillwave search"), body, style).toUtf8();
}

QByteArray TQuillwaveSchemeHandler::NotFoundPageHtml(const QString& address)
{
    const QString body = QStringLiteral("<div style=\"padding: 16px\"><h2>Page not found</h2>"
                                        "<p>Quillwave has no page <code>%1</code>.</p>"
                                        "<p><a href=\"quillwave:start?f=home\">Start page</a></p>"
                                        "</div>")
                             .arg(escaped(address));
    return page(QStringLiteral("Page not found"), body).toUtf8();
}

QByteArray TQuillwaveSchemeHandler::SearchErrorPageHtml(const QString& searchTemplate,
                                                        const QString& words)
{
    const QString body =
        QStringLiteral(
            "<div style=\"padding: 16px\"><h2>The search cannot be started</h2>"
            "<p>The search address <code>%1</code> is not a usable template: it must hold "
            "<code>%s</code> exactly once, write every other <code>%</code> as "
            "<code>%%</code>, and give an http or https address.</p>"
            "<p>Nothing was sent. Search words: <code>%2</code></p>"
            "<p>Correct the first entry with <code>%s</code> in the search-engine list.</p></div>")
            .arg(escaped(searchTemplate), escaped(words));
    return page(QStringLiteral("Search error"), body).toUtf8();
}

QString TQuillwaveSchemeHandler::OfflinePageHtml(const QString& address, const TextLookup& lookup)
{
    const auto global = [&](const char* key)
    { return lookup(TLanguage::GlobalSection(), QLatin1String(key)); };
    const QString menuPath =
        menuText(lookup(QStringLiteral("MAIN"), QStringLiteral("MenuFile"))) +
        QStringLiteral(" > ") +
        menuText(lookup(QStringLiteral("MAIN"), QStringLiteral("MenuFileWorkOffline")));
    // The language texts are escaped before the address and the menu go in:
    // an address is the user's or a page's, never markup.
    const QString text =
        TLanguage::FormatText(global("OfflineText").toHtmlEscaped(),
                              QStringLiteral("<code>%1</code>").arg(escaped(address)));
    const QString howTo = TLanguage::FormatText(global("OfflineHowTo").toHtmlEscaped(),
                                                QStringLiteral("<b>%1</b>").arg(escaped(menuPath)));
    const QString body = QStringLiteral("<div style=\"padding: 16px\" id=\"offline\"><h2>%1</h2>"
                                        "<p>%2</p><p>%3</p></div>")
                             .arg(escaped(global("OfflineHeading")), text, howTo);
    return page(global("OfflineTitle"), body);
}

QString TQuillwaveSchemeHandler::CrashPageHtml(const QString& lastUrl, const QString& title,
                                              const TextLookup& lookup)
{
    const auto global = [&](const char* key)
    { return escaped(lookup(TLanguage::GlobalSection(), QLatin1String(key))); };
    const QString reload =
        lastUrl.isEmpty()
            ? QString()
            : QStringLiteral("<p><a href=\"%1\" style=\"display: inline-block; padding: 6px 16px; "
                             "background: #666699; color: #ffffff; border-radius: 4px; "
                             "text-decoration: none\">%2</a></p>"
                             "<p class=\"note\">%1</p>")
                  .arg(escaped(lastUrl), global("CrashReload"));
    const QString body = QStringLiteral("<div style=\"padding: 24px\" id=\"crashed\"><h2>%1</h2>"
                                        "<p>%2</p>%3</div>")
                             .arg(global("CrashHeading"), global("CrashText"), reload);
    // The tab goes on showing what the user had there.
    return page(title.isEmpty() ? lastUrl : title, body);
}
