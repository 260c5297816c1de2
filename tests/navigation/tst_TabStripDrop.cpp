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

private:
    QTemporaryDir m_dir;

    QString shortcut(const QString& name, const QByteArray& url)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("[Other]\r\nURL=http://wrong.test/\r\n[InternetShortcut]\r\nURL=" + url +
                       "\r\n");
        return path;
    }

private slots:
    void decode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("address");
        const QString site = shortcut("Site.URL", "http://site.test/page");
        const QString script = shortcut("bad.url", "javascript:alert(1)");
        const QString empty = shortcut("empty.url", "");
        const QString page = m_dir.filePath("page.html");
        QFile(page).open(QIODevice::WriteOnly);
        const QString fileUrl = QUrl::fromLocalFile(page).toString();
        using D = TabStripDrop;
        // clang-format off
        QTest::newRow("text trimmed") << "  example.test/a \n" << "" << int(D::Open) << "example.test/a";
        QTest::newRow("link before text") << "label" << "http://l.test/x?y=1" << int(D::Open) << "http://l.test/x?y=1";
        QTest::newRow("shortcut file link") << "" << QUrl::fromLocalFile(site).toString() << int(D::Open) << "http://site.test/page";
        QTest::newRow("shortcut path as text") << site << "" << int(D::Open) << "http://site.test/page";
        QTest::newRow("other file") << "" << fileUrl << int(D::Open) << fileUrl;
        QTest::newRow("missing shortcut file") << m_dir.filePath("none.url") << "" << int(D::Open) << m_dir.filePath("none.url");
        QTest::newRow("script text") << " javascript:alert(1)" << "" << int(D::Refused) << "javascript:alert(1)";
        QTest::newRow("script in shortcut") << "" << QUrl::fromLocalFile(script).toString() << int(D::Refused) << "javascript:alert(1)";
        QTest::newRow("shortcut without address") << "" << QUrl::fromLocalFile(empty).toString() << int(D::Nothing) << "";
        QTest::newRow("blank text") << "  \t " << "" << int(D::Nothing) << "";
        // clang-format on
    }
    void decode()
    {
        QFETCH(QString, text);
        QFETCH(QString, link);
        QMimeData data;
        if (!text.isEmpty())
            data.setText(text);
        if (!link.isEmpty())
            data.setUrls({QUrl(link)});
        const TabStripDrop::Decoded decoded = TabStripDrop::Decode(&data);
        QTEST(int(decoded.outcome), "outcome");
        QTEST(decoded.address, "address");
    }
};

QTEST_GUILESS_MAIN(tst_TabStripDrop)
#include "tst_TabStripDrop.moc"
