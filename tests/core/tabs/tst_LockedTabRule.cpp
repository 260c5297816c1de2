#include "core/tabs/LockedTabRule.h"

#include <QTest>

using Kind = NavigationRequest::Kind;

class tst_LockedTabRule : public QObject
{
    Q_OBJECT
private slots:
    void diverts()
    {
        const QString kept = "http://kept.test/";
        const QString other = "http://other.test/";
        const struct
        {
            QString url;
            FrameId frame;
            Kind kind;
            bool userInitiated, diverted;
        } rows[] = {
            // clang-format off
            {other, TopFrame, NavigationRequest::LinkClicked, true, true},
            {other, TopFrame, NavigationRequest::Program, true, true}, // typed address
            {kept, TopFrame, NavigationRequest::Reload, true, false},
            {kept, TopFrame, NavigationRequest::Program, true, false}, // same page again
            {kept, TopFrame, NavigationRequest::LinkClicked, true, true}, // same page by link
            {other, TopFrame, NavigationRequest::FormSubmitted, true, false},
            {other, TopFrame, NavigationRequest::Redirect, false, false},
            {other, 3, NavigationRequest::Other, false, false}, // frame loads in place
            {other, 3, NavigationRequest::LinkClicked, false, true},
            {other, 3, NavigationRequest::Other, true, true}, // frame user navigation
            {other, UnknownFrame, NavigationRequest::Other, false, true}, // counts as the page
            // clang-format on
        };
        for (const auto& r : rows)
            QCOMPARE(
                LockedTabRule::divertsToNewTab({r.url, r.frame, r.kind, r.userInitiated}, kept),
                r.diverted);
    }
};

QTEST_APPLESS_MAIN(tst_LockedTabRule)
#include "tst_LockedTabRule.moc"
