#include "TestStore.h"
#include "chrome/TUserAgentToken.h"
#include "core/store/RegistryKeys.h"

#include <QTest>

#include <memory>

using Values = QList<QPair<QString, QString>>;

class tst_TUserAgentToken : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_test = std::make_unique<TestStore>(); }

    void update_data()
    {
        QTest::addColumn<Values>("before");
        QTest::addColumn<bool>("add");
        QTest::addColumn<QStringList>("after");

        const QString& ours = TUserAgentToken::TokenName;

        // clang-format off
        QTest::newRow("older version replaced") << Values{{"SV1", ""}, {"Quillwave 5.0", "IEAK"}, {".NET CLR 2.0.50727", ""}} << true << QStringList{"SV1", ".NET CLR 2.0.50727", ours};
        QTest::newRow("left behind by a crash: deleted, then written again") << Values{{ours, "IEAK"}, {"SV1", ""}} << true << QStringList{"SV1", ours};
        QTest::newRow("predecessors removed, short and different names kept") << Values{{"KoncoBrowse 2.1", "x"}, {"version.dll 6", "x"}, {"KoncoBrows", "x"}, {"Quillwav", "x"}, {"My Quillwave", "x"}} << true << QStringList{"KoncoBrows", "Quillwav", "My Quillwave", ours};
        QTest::newRow("removal at exit") << Values{{"SV1", ""}, {ours, "IEAK"}, {"Quillwave 5.0", "IEAK"}} << false << QStringList{"SV1"};
        // clang-format on
    }

    void update()
    {
        QFETCH(Values, before);
        QFETCH(bool, add);
        QFETCH(QStringList, after);

        const QString& key = RegistryKeys::UserAgentPostPlatform;
        for (const auto& [name, data] : before)
            QVERIFY(m_test->store->setString(key, name, data));

        TUserAgentToken::UpdateUserAgentToken(*m_test->store, add);
        QCOMPARE(TUserAgentToken::Tokens(*m_test->store), after);
        QCOMPARE(m_test->store->valueNames(key), after);
        if (add)
            QVERIFY(m_test->store->value(key, TUserAgentToken::TokenName) ==
                    RegValue::fromString("IEAK"));
        // A number stored under our name is replaced by the text.
        m_test->store->setDWord(key, TUserAgentToken::TokenName, 7);
        TUserAgentToken::UpdateUserAgentToken(*m_test->store, true);
        QVERIFY(m_test->store->value(key, TUserAgentToken::TokenName) ==
                RegValue::fromString("IEAK"));
    }

    void userAgent()
    {
        const QString engine =
            "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
            "QtWebEngine/6.4.2 Chrome/102.0.5005.177 Safari/537.36";
        const QString tail = " AppleWebKit/537.36 (KHTML, like Gecko) "
                             "QtWebEngine/6.4.2 Chrome/102.0.5005.177 Safari/537.36";
        const QString& ours = TUserAgentToken::TokenName;
        const QString withOurs = "Mozilla/5.0 (X11; Linux x86_64; " + ours + ")" + tail;
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(engine, {ours}), withOurs);
        // Tokens that would break the header are left out.
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(
                     engine, {"bad\r\nX-Injected: 1", "a)b", "c;d", "caf\u00e9", "  ", ours}),
                 withOurs);
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(engine, {"Linux x86_64", "SV1", "SV1"}),
                 "Mozilla/5.0 (X11; Linux x86_64; SV1)" + tail);
        QCOMPARE(TUserAgentToken::UserAgentWithTokens("Mozilla/5.0 Gecko", {ours}),
                 "Mozilla/5.0 (" + ours + ") Gecko");
    }

private:
    std::unique_ptr<TestStore> m_test;
};

QTEST_GUILESS_MAIN(tst_TUserAgentToken)
#include "tst_TUserAgentToken.moc"
