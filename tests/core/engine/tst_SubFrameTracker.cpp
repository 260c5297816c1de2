#include "core/engine/SubFrameTracker.h"

#include <QStringList>
#include <QTest>

// Plays a script of engine reports, one a step separated by ';':
//   R url      a navigation asked about and accepted (r: a redirect)
//   Q url      a navigation asked about and refused
//   C tok url  the probe reports a document created
//   L tok      the probe reports a document loaded
//   X          a new top-level document
// and gives the numbers the events carry, '-' where none is raised.
static QString play(const QString& script)
{
    SubFrameTracker tracker;
    QStringList out;
    const auto show = [&](std::optional<FrameId> id)
    { out << (id ? QString::number(*id) : QStringLiteral("-")); };
    for (const QString& step : script.split(QLatin1Char(';'), Qt::SkipEmptyParts))
    {
        const QStringList w = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString op = w.value(0);
        if (op == "R" || op == "r" || op == "Q")
        {
            const FrameId id = tracker.requestId(op == "r");
            if (op != "Q")
                tracker.requestAccepted(QUrl(w.value(1)), id);
            show(id);
        }
        else if (op == "C")
            show(tracker.documentCreated(w.value(1), QUrl(w.value(2))));
        else if (op == "L")
            show(tracker.documentLoaded(w.value(1)));
        else if (op == "X")
            tracker.clear();
    }
    return out.join(QLatin1Char(' '));
}

class tst_SubFrameTracker : public QObject
{
    Q_OBJECT
private slots:
    void numbers()
    {
        const QList<std::pair<const char*, const char*>> rows = {
            // clang-format off
            {"R http://a/; C t1 http://a/; L t1", "1 1 1"}, // matched by address
            {"C t1 about:blank; L t1", "- -"}, // empty frame document
            {"R http://a/; C t1 http://a/; C t1 http://a/", "1 1 -"}, // reported twice
            {"C t1 http://a/; L t1; L t1", "1 1 -"}, // loaded twice
            {"R http://a/; r http://b/; C t1 http://b/", "1 1 1"}, // redirect continues the one waiting
            {"Q http://a/; C t1 http://a/", "1 2"}, // refused is not waited for
            {"R http://a/; R http://a/; C t1 http://a/; C t2 http://a/", "1 2 1 2"},
            // clang-format on
        };
        for (const auto& [script, numbers] : rows)
            QCOMPARE(play(script), QString(numbers));
    }
};

QTEST_APPLESS_MAIN(tst_SubFrameTracker)
#include "tst_SubFrameTracker.moc"
