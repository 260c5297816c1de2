// The help pages shipped in data/help: every page opens offline in the
// browser's own tab, so each link and stylesheet must lead to a shipped file,
// and nothing may reach outside the folder.

#include "core/store/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace
{
const QString HelpSource = QStringLiteral(QW_SOURCE_DIR "/data/help");

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList helpFiles(const QString& folder, const QStringList& patterns)
{
    return QDir(folder).entryList(patterns, QDir::Files, QDir::Name);
}

// Every href="..." and src="..." of a page.
QStringList references(const QString& html)
{
    static const QRegularExpression attribute(
        QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']([^\"']*)[\"']"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    auto it = attribute.globalMatch(html);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

QSet<QString> ids(const QString& html)
{
    static const QRegularExpression id(QStringLiteral("\\bid\\s*=\\s*\"([^\"]+)\""));
    QSet<QString> found;
    auto it = id.globalMatch(html);
    while (it.hasNext())
        found.insert(it.next().captured(1));
    return found;
}

// Start and end tags must pair up (void elements excepted); a stray or
// missing end tag is the usual typo of hand-written pages. Empty when fine.
QString tagProblem(const QString& html)
{
    static const QSet<QString> voids = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                        "input", "link", "meta", "param", "source", "track", "wbr"};
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)\\b[^>]*>"));
    QStringList open;
    auto it = tag.globalMatch(html);
    while (it.hasNext())
    {
        const auto m = it.next();
        const QString name = m.captured(2).toLower();
        if (voids.contains(name))
            continue;
        if (m.captured(1).isEmpty())
        {
            open << name;
            continue;
        }
        if (open.isEmpty() || open.last() != name)
            return QStringLiteral("</%1> at offset %2 closes <%3>")
                .arg(name)
                .arg(m.capturedStart())
                .arg(open.isEmpty() ? QStringLiteral("nothing") : open.last());
        open.removeLast();
    }
    return open.isEmpty() ? QString() : QStringLiteral("<%1> is never closed").arg(open.last());
}
} // namespace

class tst_HelpPages : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList pages = helpFiles(HelpSource, {QStringLiteral("*.html")});
        QVERIFY(pages.size() >= 6);
        for (const QString& page : pages)
            QTest::newRow(qPrintable(page)) << page;
    }

    void pages()
    {
        QFETCH(QString, file);
        const QString html = readText(QDir(HelpSource).filePath(file));
        QVERIFY(html.startsWith(QLatin1String("<!DOCTYPE html>")));
        QVERIFY(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
        static const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
        QVERIFY(title.match(html).hasMatch());
        QVERIFY2(html.contains(QLatin1String("<link rel=\"stylesheet\" href=\"help.css\">")),
                 "every page uses the shared stylesheet");
        QVERIFY2(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive),
                 "help pages carry no scripts");
        const QString problem = tagProblem(html);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        // Every link and source stays inside the folder and names what is there.
        const QDir folder(HelpSource);
        const QStringList found = references(html);
        QVERIFY(!found.isEmpty());
        for (const QString& reference : found)
        {
            const QUrl url(reference);
            QVERIFY2(url.isRelative() && !reference.startsWith(QLatin1Char('/')),
                     qPrintable(reference + " is not a relative link"));
            const QString path = url.path();
            const QString target = path.isEmpty() ? file : path;
            const QString resolved = QDir::cleanPath(folder.filePath(target));
            QVERIFY2(resolved.startsWith(HelpSource + QLatin1Char('/')),
                     qPrintable(reference + " leads out of the help folder"));
            QVERIFY2(QFileInfo(resolved).isFile(), qPrintable(reference + " names no file"));
            if (url.hasFragment())
                QVERIFY2(ids(readText(resolved)).contains(url.fragment()),
                         qPrintable(reference + " names no element of " + target));
        }
    }

    void stylesheetLoadsNothingElse()
    {
        const QString css = readText(QDir(HelpSource).filePath(QStringLiteral("help.css")));
        QVERIFY(!css.isEmpty());
        QVERIFY(!css.contains(QLatin1String("url("), Qt::CaseInsensitive));
        QVERIFY(!css.contains(QLatin1String("@import"), Qt::CaseInsensitive));
    }

    void contentsLeadToEveryPage()
    {
        const QString index = readText(QDir(HelpSource).filePath(QStringLiteral("index.html")));
        QSet<QString> linked;
        for (const QString& reference : references(index))
            linked.insert(QUrl(reference).path());
        for (const QString& page : helpFiles(HelpSource, {QStringLiteral("*.html")}))
            if (page != QLatin1String("index.html"))
                QVERIFY2(linked.contains(page), qPrintable(page + " is missing from the contents"));
    }

    void buildFindsTheHelp()
    {
        // The test runs from the build's bin folder, beside its copy of the
        // help, with a program folder of its own that has none.
        const QString index = ProgramPaths::helpIndexFile();
        QVERIFY2(QFileInfo(index).isFile(), qPrintable(index));
        QCOMPARE(QFileInfo(index).fileName(), QStringLiteral("index.html"));
        QCOMPARE(QFileInfo(index).absolutePath(), QDir(ProgramPaths::helpFolder()).absolutePath());
        const QStringList shipped = helpFiles(HelpSource, {QStringLiteral("*")});
        QCOMPARE(helpFiles(ProgramPaths::helpFolder(), {QStringLiteral("*")}), shipped);
    }

    void programFolderCopyComesFirst()
    {
        // A portable copy may carry its own help.
        const QString own = QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("help"));
        QVERIFY(QDir().mkpath(own));
        QFile page(QDir(own).filePath(QStringLiteral("index.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<!DOCTYPE html><title>own</title>");
        page.close();
        QCOMPARE(ProgramPaths::helpIndexFile(), QDir(own).filePath(QStringLiteral("index.html")));
        QVERIFY(QDir(own).removeRecursively());
    }
};

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("QUILLWAVE_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    tst_HelpPages test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_HelpPages.moc"
