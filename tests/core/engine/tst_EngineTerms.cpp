#include "core/engine/EngineTerms.h"

#include <QTest>

class tst_EngineTerms : public QObject
{
    Q_OBJECT
private slots:
    void schemes_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("recordable");
        QTest::addColumn<bool>("reloadable");
        // clang-format off
        QTest::newRow("http") << "http://example.test/" << true << true;
        QTest::newRow("program page") << "quillwave:start" << false << true;
        QTest::newRow("blank") << "about:blank" << false << false;
        // clang-format on
    }
    void schemes()
    {
        QFETCH(QString, url);
        QFETCH(bool, recordable);
        QFETCH(bool, reloadable);
        QCOMPARE(EngineTerms::isRecordable(QUrl(url)), recordable);
        QCOMPARE(EngineTerms::isReloadable(QUrl(url)), reloadable);
    }

    void addressText()
    {
        // A blank typed again would end the address.
        QCOMPARE(EngineTerms::addressText(QUrl("http://example.test/a b")),
                 QString("http://example.test/a%20b"));
    }
};

QTEST_APPLESS_MAIN(tst_EngineTerms)
#include "tst_EngineTerms.moc"
