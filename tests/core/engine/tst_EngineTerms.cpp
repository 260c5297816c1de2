#include "core/engine/EngineTerms.h"

#include <QTest>

class tst_EngineTerms : public QObject
{
    Q_OBJECT
private slots:
    void schemes()
    {
        const struct
        {
            const char* url;
            bool recordable, reloadable;
        } rows[] = {{"http://example.test/", true, true},
                    {"quillwave:start", false, true},
                    {"about:blank", false, false}};
        for (const auto& row : rows)
        {
            QCOMPARE(EngineTerms::isRecordable(QUrl(row.url)), row.recordable);
            QCOMPARE(EngineTerms::isReloadable(QUrl(row.url)), row.reloadable);
        }
        // A blank typed again would end the address.
        QCOMPARE(EngineTerms::addressText(QUrl("http://example.test/a b")),
                 QString("http://example.test/a%20b"));
    }
};

QTEST_APPLESS_MAIN(tst_EngineTerms)
#include "tst_EngineTerms.moc"
