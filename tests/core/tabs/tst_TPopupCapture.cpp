#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "TestStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/WildcardPattern.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{
// The rule as it is usually written: try both ways at every star. A rest of
// stars alone counts as used up, as a star may match nothing.
bool recursiveMatch(QStringView address, QStringView pattern)
{
    if (pattern == u"*")
        return true;
    if (address.isEmpty())
    {
        for (const QChar c : pattern)
        {
            if (c != u'*')
                return false;
        }
        return true;
    }
    if (pattern.isEmpty())
        return false;
    if (pattern.front() == u'*')
        return recursiveMatch(address, pattern.mid(1)) || recursiveMatch(address.mid(1), pattern);
    if (pattern.front() == u'?' || pattern.front() == address.front())
        return recursiveMatch(address.mid(1), pattern.mid(1));
    return false;
}

QString randomText(QRandomGenerator& random, QStringView alphabet, int maxLength)
{
    const int length = random.bounded(maxLength + 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}
} // namespace

class tst_TPopupCapture : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    TQWOptions* options = nullptr;
    std::unique_ptr<ScriptedServices> services;

    std::unique_ptr<TPopupCapture> makeCapture()
    {
        auto capture = std::make_unique<TPopupCapture>(options, services.get());
        capture->LoadPopupList();
        return capture;
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        options = store->options.get();
        services = std::make_unique<ScriptedServices>();
        services->confirmAnswer = {};
        services->textFn = [](const QString&, const QString& key) { return '<' + key + '>'; };
    }
    void cleanup() { store.reset(); }

    // Each capture shows a notice until its box is checked. Whatever the
    // answer the pop-up stays captured; Yes opens it once, later, not inside
    // the engine's question.
    void captureNotice()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        QSignalSpy opened(capture.get(), &TPopupCapture::openOnceRequested);
        QVERIFY(!capture->PopupMatch("http://ok.test/"));
        QVERIFY(services->confirmCalls.isEmpty());
        services->confirmAnswer = {true, false};
        QVERIFY(capture->PopupMatch("http://ads.test/x"));
        QVERIFY(opened.isEmpty());
        QCOMPARE(services->confirmCalls.size(), 1);
        QCOMPARE(services->confirmCalls.first().prompt, QStringLiteral("http://ads.test/x"));
        QVERIFY(!services->confirmCalls.first().okDefault); // Enter does not open it
        QVERIFY(options->PopupVostelNotify());
        QCoreApplication::processEvents();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first(), QVariant("http://ads.test/x"));
        QCOMPARE(options->ReadPopupVostel(), QStringList{"http://ads.test/"});

        services->confirmAnswer = {false, true}; // No, and the box checked
        QVERIFY(capture->PopupMatch("http://ads.test/y"));
        QVERIFY(!options->PopupVostelNotify());
        QVERIFY(capture->PopupMatch("http://ads.test/z"));
        QCOMPARE(services->confirmCalls.size(), 2);
        QVERIFY(!makeCapture()->PopupVostelNotify());
        QCoreApplication::processEvents();
        QCOMPARE(opened.size(), 1);
    }

    void addProposesTheAddressAndClosesTheTab()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        FakeTabHost::controlOf(tab)->locationUrl = "http://ads.test/banner?id=7";
        options->WritePopupVostel({"http://z.test/"});
        auto capture = makeCapture();
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);
        // Written behind the capture's back (another copy's options dialog).
        options->WritePopupVostel({"http://z.test/", "http://other.test/"});

        capture->AddToPopupList(tab);
        QCOMPARE(services->inputQueries.size(), 1);
        QCOMPARE(services->inputQueries.first().proposed, QStringLiteral("http://ads.test/banner"));
        const QStringList list{"http://ads.test/banner", "http://other.test/", "http://z.test/"};
        QCOMPARE(options->ReadPopupVostel(), list);
        QCOMPARE(capture->PopupList(), list);
        QCOMPARE(closes.size(), 1);
        QCOMPARE(closes.first().first().value<TBrowserTab*>(), tab);
    }

    void writtenBackOnlyWhenLoaded()
    {
        options->WritePopupVostel({"http://a.test/"});
        {
            TPopupCapture neverLoaded(options, services.get());
            options->WritePopupVostel({"http://b.test/"});
        }
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
        {
            auto capture = makeCapture();
            options->WritePopupVostel({"http://c.test/"});
        }
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
    }

    // Captured pop-ups are closed a while later, not from inside the
    // engine's question that captured them.
    void capturedPopupsAreClosedByTheTimer()
    {
        auto capture = makeCapture();
        QSignalSpy due(capture.get(), &TPopupCapture::closeKilledTabsRequested);
        capture->StartCloseHiddenTimer();
        QVERIFY(capture->CloseHiddenTimer()->isActive());
        QVERIFY(due.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(due.size(), 1, 10000);
        QVERIFY(!capture->CloseHiddenTimer()->isActive());
    }

    void wildcardMatch()
    {
        const QList<std::tuple<QString, QString, bool>> rows = {
            // clang-format off
            {"http://a.test/x?y", "*", true},
            {"a", "", false},
            {"", "?", false},
            {"a*c", "a?c", true}, // a question mark matches a star in the address
            {"aaab", "*aab", true}, // backtrack past a false start
            {"abcabd", "*ab*d", true}, // the last star must move, not an earlier one
            // The two-way recursion would not finish on these in a lifetime.
            {QString(10000, u'a'), "*a*a*a*a*a*a*a*b", false},
            {QString(10000, u'a'), u'*' + QString(200, u'a') + u'b', false},
            // clang-format on
        };
        for (const auto& [address, pattern, expected] : rows)
        {
            QCOMPARE(WildcardPattern::Match(address, pattern), expected);
            if (address.size() < 100)
                QCOMPARE(recursiveMatch(address, pattern), expected);
        }
    }

    void wildcardPrefix()
    {
        const QList<std::tuple<QString, QString, bool>> rows = {
            // clang-format off
            {"http://ads.test/banner?id=3", "http://ads.test/", true},
            {"http://x.test/?u=http://ads.test/", "http://ads.test/", false}, // only contained further on
            {"http://ADS.test/", "http://ads.test/", false},
            {"http://a", "http://a?", false}, // a question mark at the end needs a character
            {"http://x.ads.test/p", "http://*.ads.test", true},
            // clang-format on
        };
        for (const auto& [address, pattern, expected] : rows)
            QCOMPARE(WildcardPattern::MatchPrefix(address, pattern), expected);
    }

    void wildcardAgreesWithTheRecursiveRule()
    {
        QRandomGenerator random(20240611);
        const QString addressAlphabet = QStringLiteral("ab?*");
        const QString patternAlphabet = QStringLiteral("ab?**");
        int matches = 0;
        for (int i = 0; i < 20000; ++i)
        {
            const QString address = randomText(random, addressAlphabet, 9);
            const QString pattern = randomText(random, patternAlphabet, 7);
            const bool expected = recursiveMatch(address, pattern);
            matches += expected ? 1 : 0;
            if (WildcardPattern::Match(address, pattern) != expected)
                QFAIL(qPrintable(QStringLiteral("\"%1\" against \"%2\": expected %3")
                                     .arg(address, pattern, expected ? "match" : "no match")));
        }
        // Both answers must occur often, or the comparison proves little.
        QVERIFY(matches > 2000);
        QVERIFY(matches < 18000);
    }
};

QTEST_MAIN(tst_TPopupCapture)
#include "tst_TPopupCapture.moc"
