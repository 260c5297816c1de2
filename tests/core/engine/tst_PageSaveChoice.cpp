#include "core/engine/PageSaveChoice.h"

#include <QtTest>

using F = PageSaveFormat;

// Save As: the file name offered for a page, and what is written for the
// name the user gives with the type chosen in the dialog.
class tst_PageSaveChoice : public QObject
{
    Q_OBJECT

private slots:
    void suggestedName_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        const QString longTitle = QString(130, u'a');
        // clang-format off
        QTest::newRow("title as it is") << "Tom & Jerry" << "https://a.test/" << int(F::CompleteHtml) << "Tom & Jerry.html";
        QTest::newRow("separators become blanks") << "a/b\\c:d" << "https://a.test/" << int(F::SingleFile) << "a b c d.mhtml";
        QTest::newRow("refused characters, blanks folded") << "What?  <b>*\"x\"|" << "" << int(F::PlainText) << "What b x.txt";
        QTest::newRow("not hidden, not a folder") << "..  .profile" << "https://a.test/" << int(F::CompleteHtml) << "profile.html";
        QTest::newRow("control characters") << "a\tb\nc" << "" << int(F::CompleteHtml) << "a b c.html";
        QTest::newRow("no title: the host") << "" << "https://news.a.test/x?y" << int(F::CompleteHtml) << "news.a.test.html";
        QTest::newRow("only dots: the host") << "..." << "https://a.test/" << int(F::PlainText) << "a.test.txt";
        QTest::newRow("nothing at all") << " / " << "about:blank" << int(F::CompleteHtml) << "page.html";
        QTest::newRow("long titles are cut") << longTitle << "" << int(F::PlainText) << QString(120, u'a') + ".txt";
        // clang-format on
    }
    void suggestedName()
    {
        QFETCH(QString, title);
        QFETCH(QString, url);
        QFETCH(int, format);
        QFETCH(QString, name);
        QCOMPARE(PageSaveChoice::SuggestedName(title, url, F(format)), name);
    }

    void decide_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("format");
        // clang-format off
        QTest::newRow("no suffix: the chosen type's") << "/t/page" << int(F::SingleFile) << "/t/page.mhtml" << int(F::SingleFile);
        QTest::newRow("own suffix matches the type") << "/t/page.html" << int(F::CompleteHtml) << "/t/page.html" << int(F::CompleteHtml);
        QTest::newRow("typed suffix wins over the type") << "/t/page.txt" << int(F::CompleteHtml) << "/t/page.txt" << int(F::PlainText);
        QTest::newRow("short and upper-case suffixes") << "/t/PAGE.MHT" << int(F::PlainText) << "/t/PAGE.MHT" << int(F::SingleFile);
        QTest::newRow("htm is complete html") << "/t/p.htm" << int(F::SingleFile) << "/t/p.htm" << int(F::CompleteHtml);
        QTest::newRow("an unknown suffix gets the type's too") << "/t/Mr. Smith" << int(F::CompleteHtml) << "/t/Mr. Smith.html" << int(F::CompleteHtml);
        // clang-format on
    }
    void decide()
    {
        QFETCH(QString, path);
        QFETCH(int, chosen);
        QFETCH(QString, written);
        QFETCH(int, format);
        const PageSaveChoice::Choice choice = PageSaveChoice::Decide(path, F(chosen));
        QCOMPARE(choice.path, written);
        QCOMPARE(int(choice.format), format);
    }
};

QTEST_APPLESS_MAIN(tst_PageSaveChoice)
#include "tst_PageSaveChoice.moc"
