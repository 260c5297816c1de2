#include "core/engine/PageSaveChoice.h"

#include <QtTest>

using F = PageSaveFormat;

// Save As: the file name offered for a page, and what is written for the
// name the user gives with the type chosen in the dialog.
class tst_PageSaveChoice : public QObject
{
    Q_OBJECT

private slots:
    void suggestedName()
    {
        const struct
        {
            QString title, url;
            F format;
            QString name;
        } rows[] = {
            // clang-format off
            {"Tom & Jerry", "https://a.test/", F::CompleteHtml, "Tom & Jerry.html"},
            {"a/b\\c:d", "https://a.test/", F::SingleFile, "a b c d.mhtml"}, // separators become blanks
            {"What?  <b>*\"x\"|", "", F::PlainText, "What b x.txt"}, // refused characters, blanks folded
            {"..  .profile", "https://a.test/", F::CompleteHtml, "profile.html"}, // not hidden, not a folder
            {"a\tb\nc", "", F::CompleteHtml, "a b c.html"},
            {"", "https://news.a.test/x?y", F::CompleteHtml, "news.a.test.html"}, // no title: the host
            {"...", "https://a.test/", F::PlainText, "a.test.txt"},
            {" / ", "about:blank", F::CompleteHtml, "page.html"},
            {QString(130, u'a'), "", F::PlainText, QString(120, u'a') + ".txt"},
            // clang-format on
        };
        for (const auto& row : rows)
            QCOMPARE(PageSaveChoice::SuggestedName(row.title, row.url, row.format), row.name);
    }

    void decide()
    {
        const struct
        {
            QString path;
            F chosen;
            QString written;
            F format;
        } rows[] = {
            // clang-format off
            {"/t/page", F::SingleFile, "/t/page.mhtml", F::SingleFile},
            {"/t/page.html", F::CompleteHtml, "/t/page.html", F::CompleteHtml},
            {"/t/page.txt", F::CompleteHtml, "/t/page.txt", F::PlainText}, // typed suffix wins
            {"/t/PAGE.MHT", F::PlainText, "/t/PAGE.MHT", F::SingleFile},
            {"/t/p.htm", F::SingleFile, "/t/p.htm", F::CompleteHtml},
            {"/t/Mr. Smith", F::CompleteHtml, "/t/Mr. Smith.html", F::CompleteHtml}, // unknown suffix
            // clang-format on
        };
        for (const auto& row : rows)
        {
            const PageSaveChoice::Choice choice = PageSaveChoice::Decide(row.path, row.chosen);
            QCOMPARE(choice.path, row.written);
            QCOMPARE(int(choice.format), int(row.format));
        }
    }
};

QTEST_APPLESS_MAIN(tst_PageSaveChoice)
#include "tst_PageSaveChoice.moc"
