// The help pages shipped in data/help open offline in the browser's own tab,
// so each link and stylesheet must lead to a shipped file, and nothing may
// reach outside the folder.

#include "core/store/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace
{
const QString HelpSource = QStringLiteral(QW_SOURCE_DIR "/data/help");

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList helpFiles(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// Every match of the first group of pattern in text.
QStringList captures(const QString& text, const QString& pattern)
{
    QStringList found;
    auto it =
        QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}
} // namespace

class tst_HelpPages : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList pages = helpFiles(HelpSource, QStringLiteral("*.html"));
        QVERIFY(pages.size() >= 6);
        for (const QString& page : pages)
            QTest::newRow(qPrintable(page)) << page;
    }

    void pages()
    {
        QFETCH(QString, file);
        const QString html = readText(QDir(HelpSource).filePath(file));
        QVERIFY2(html.contains(QLatin1String("<link rel=\"stylesheet\" href=\"help.css\">")),
                 "every page uses the shared stylesheet");
        QVERIFY2(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive),
                 "help pages carry no scripts");
        // Every link and source stays inside the folder and names what is there.
        const QStringList found =
            captures(html, QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']([^\"']*)[\"']"));
        QVERIFY(!found.isEmpty());
        for (const QString& reference : found)
        {
            const QUrl url(reference);
            QVERIFY2(url.isRelative() && !reference.startsWith(QLatin1Char('/')),
                     qPrintable(reference + " is not a relative link"));
            const QString target = url.path().isEmpty() ? file : url.path();
            const QString resolved = QDir::cleanPath(QDir(HelpSource).filePath(target));
            QVERIFY2(resolved.startsWith(HelpSource + QLatin1Char('/')),
                     qPrintable(reference + " leads out of the help folder"));
            QVERIFY2(QFileInfo(resolved).isFile(), qPrintable(reference + " names no file"));
            if (url.hasFragment())
                QVERIFY2(captures(readText(resolved), QStringLiteral("\\bid\\s*=\\s*\"([^\"]+)\""))
                             .contains(url.fragment()),
                         qPrintable(reference + " names no element of " + target));
        }
    }

    void buildFindsTheHelp()
    {
        // The test runs from the build's bin folder, beside its copy of the
        // help, with a program folder of its own that has none.
        const QString index = ProgramPaths::helpIndexFile();
        QVERIFY2(QFileInfo(index).isFile(), qPrintable(index));
        QCOMPARE(helpFiles(ProgramPaths::helpFolder(), QStringLiteral("*")),
                 helpFiles(HelpSource, QStringLiteral("*")));

        // A portable copy may carry its own help.
        const QString own = QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("help"));
        QVERIFY(QDir().mkpath(own));
        QFile page(QDir(own).filePath(QStringLiteral("index.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        QCOMPARE(ProgramPaths::helpIndexFile(), page.fileName());
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
