// Enter with Ctrl and Shift: what each combination makes of the typed text.

#include "navigation/AddressAffixes.h"

#include <QTest>

namespace
{
AddressAffixes defaults()
{
    AddressAffixes a;
    a.CtrlShiftPre = QStringLiteral("http://www.");
    a.CtrlShiftPost = QStringLiteral(".org");
    a.CtrlPre = QStringLiteral("http://www.");
    a.CtrlPost = QStringLiteral(".com");
    a.ShiftPre = QStringLiteral("http://www.");
    a.ShiftPost = QStringLiteral(".net");
    return a;
}
} // namespace

class tst_AddressAffixes : public QObject
{
    Q_OBJECT

private slots:
    void apply_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("ctrlPost"); // empty: the default ".com"
        QTest::addColumn<QString>("expected");
        const QString none;
        // clang-format off
        QTest::newRow("ctrl+shift") << "word" << true << true << none << "http://www.word.org";
        QTest::newRow("prefix present: suffix only") << "http://www.word" << true << false << none << "http://www.word.com";
        QTest::newRow("prefix in other case is added again") << "HTTP://WWW.word" << true << false << none << "http://www.HTTP://WWW.word.com";
        QTest::newRow("ends in .org: prefix only, ctrl") << "word.org" << true << false << none << "http://www.word.org";
        QTest::newRow("ends in .com: ctrl+shift adds no .org") << "word.com" << true << true << none << "http://www.word.com";
        QTest::newRow("ending test is case-sensitive") << "word.COM" << true << false << none << "http://www.word.COM.com";
        QTest::newRow("own suffix added") << "word" << true << false << ".de" << "http://www.word.de";
        QTest::newRow("built-in endings hold whatever the suffix") << "word.org" << true << false << ".de" << "http://www.word.org";
        // clang-format on
    }

    void apply()
    {
        QFETCH(QString, text);
        QFETCH(bool, ctrl);
        QFETCH(bool, shift);
        QFETCH(QString, ctrlPost);
        AddressAffixes affixes = defaults();
        if (!ctrlPost.isEmpty())
            affixes.CtrlPost = ctrlPost;
        QTEST(affixes.Apply(text, ctrl, shift), "expected");
    }

    void emptyAffixesChangeNothing()
    {
        const AddressAffixes empty;
        for (const bool ctrl : {false, true})
            for (const bool shift : {false, true})
                QCOMPARE(empty.Apply(QStringLiteral("word"), ctrl, shift), QStringLiteral("word"));
        AddressAffixes onlyPrefix = defaults();
        onlyPrefix.ShiftPost.clear();
        QCOMPARE(onlyPrefix.Apply(QStringLiteral("word"), false, true),
                 QStringLiteral("http://www.word"));
    }
};

QTEST_APPLESS_MAIN(tst_AddressAffixes)
#include "tst_AddressAffixes.moc"
