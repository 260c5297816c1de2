// Enter with Ctrl and Shift: what each combination makes of the typed text.

#include "navigation/AddressAffixes.h"

#include <QTest>

class tst_AddressAffixes : public QObject
{
    Q_OBJECT

private slots:
    void apply()
    {
        const QString www = QStringLiteral("http://www.");
        const AddressAffixes defaults{www, ".org", www, ".com", www, ".net"};
        // text, Ctrl, Shift, Ctrl suffix (null: the default ".com"), result
        const QList<std::tuple<const char*, bool, bool, const char*, const char*>> rows = {
            // clang-format off
            {"word", true, true, nullptr, "http://www.word.org"},
            {"http://www.word", true, false, nullptr, "http://www.word.com"}, // prefix present: suffix only
            {"HTTP://WWW.word", true, false, nullptr, "http://www.HTTP://WWW.word.com"}, // other case is added again
            {"word.org", true, false, nullptr, "http://www.word.org"}, // built-in ending: prefix only
            {"word.com", true, true, nullptr, "http://www.word.com"},
            {"word.COM", true, false, nullptr, "http://www.word.COM.com"}, // endings are case-sensitive
            {"word", true, false, ".de", "http://www.word.de"},
            {"word.org", true, false, ".de", "http://www.word.org"}, // whatever the suffix
            {"word", false, true, nullptr, "http://www.word.net"},
            // clang-format on
        };
        for (const auto& [text, ctrl, shift, ctrlPost, expected] : rows)
        {
            AddressAffixes affixes = defaults;
            if (ctrlPost)
                affixes.CtrlPost = ctrlPost;
            QCOMPARE(affixes.Apply(text, ctrl, shift), QString(expected));
        }
        AddressAffixes onlyPrefix = defaults;
        onlyPrefix.ShiftPost.clear();
        QCOMPARE(onlyPrefix.Apply("word", false, true), QStringLiteral("http://www.word"));
        for (const int keys : {0, 1, 2, 3})
            QCOMPARE(AddressAffixes().Apply("word", keys & 1, keys & 2), QStringLiteral("word"));
    }
};

QTEST_APPLESS_MAIN(tst_AddressAffixes)
#include "tst_AddressAffixes.moc"
