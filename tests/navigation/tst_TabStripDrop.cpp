// What a drop on the tab strip opens: text, links, shortcut files, and no
// script address.

#include "navigation/TabStripDrop.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class tst_TabStripDrop : public QObject
{
    Q_OBJECT

private slots:
    void decode()
    {
        QTemporaryDir dir;
        const auto shortcut = [&](const QString& name, const QByteArray& url)
        {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write("[Other]\r\nURL=http://wrong.test/\r\n[InternetShortcut]\r\nURL=" + url +
                           "\r\n");
            return file.fileName();
        };
        const QString site = shortcut("Site.URL", "http://site.test/page");
        QFile(dir.filePath("page.html")).open(QIODevice::WriteOnly);
        const QString fileUrl = QUrl::fromLocalFile(dir.filePath("page.html")).toString();
        const QString link = QUrl::fromLocalFile(site).toString();
        const QString none = dir.filePath("none.url");
        const QString script = "javascript:alert(1)";
        using D = TabStripDrop;
        // text, link, outcome, address
        const QList<std::tuple<QString, QString, D::Outcome, QString>> rows = {
            // clang-format off
            {"  example.test/a \n", "", D::Open, "example.test/a"},
            {"label", "http://l.test/x?y=1", D::Open, "http://l.test/x?y=1"}, // the link before the text
            {"", link, D::Open, "http://site.test/page"},
            {site, "", D::Open, "http://site.test/page"}, // a shortcut's path as text
            {"", fileUrl, D::Open, fileUrl},
            {none, "", D::Open, none},
            {" " + script, "", D::Refused, script},
            {"", QUrl::fromLocalFile(shortcut("bad.url", script.toUtf8())).toString(), D::Refused, script},
            {"", QUrl::fromLocalFile(shortcut("empty.url", "")).toString(), D::Nothing, ""},
            {"  \t ", "", D::Nothing, ""},
            // clang-format on
        };
        for (const auto& [text, link, outcome, address] : rows)
        {
            QMimeData data;
            if (!text.isEmpty())
                data.setText(text);
            if (!link.isEmpty())
                data.setUrls({QUrl(link)});
            const TabStripDrop::Decoded decoded = TabStripDrop::Decode(&data);
            QCOMPARE(decoded.outcome, outcome);
            QCOMPARE(decoded.address, address);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TabStripDrop)
#include "tst_TabStripDrop.moc"
