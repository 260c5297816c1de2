// What one key stroke in the address box costs: the inline completion over
// a full typed-address list, and the system-style completion over 50,000
// visited pages, both as the bare matching and as a key event through the
// box (matching, the suggestion model and the list's update). The one-time
// read of the history files the first key stroke after focusing pays is
// measured apart: it happens when the box gains the focus, before typing.
// A frame is 16.7 ms.

#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "navigation/AddressSuggestions.h"
#include "navigation/InlineCompletion.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSHAutoComplete.h"
#include "navigation/TypedUrlList.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
constexpr int HistorySize = 50000;

// Host names made of syllables, so that first letters spread as real ones do.
QString word(quint32 n)
{
    static const char* const syllables[] = {"ka", "lo", "mi",  "ne",  "po",  "ru",  "sa",  "ti",
                                            "vo", "xe", "bra", "cel", "dor", "fin", "gal", "hum"};
    QString text;
    for (int i = 0; i < 3; ++i)
    {
        text += QLatin1String(syllables[n % 16]);
        n /= 16;
    }
    return text;
}

QString historyUrl(int i)
{
    const quint32 mixed = quint32(i) * 2654435761u;
    const QString host =
        word(mixed % 4096) + (i % 3 == 0 ? QStringLiteral(".test") : QStringLiteral(".example"));
    const QString scheme = i % 2 ? QStringLiteral("https://") : QStringLiteral("http://");
    const QString www = i % 4 < 2 ? QStringLiteral("www.") : QString();
    return scheme + www + host + QStringLiteral("/page/") + QString::number(i);
}

QStringList typedList()
{
    QStringList list;
    for (int i = 0; i < TypedUrlList::MaxCount; ++i)
        list << QStringLiteral("http://www.") + word(quint32(i) * 97u) + QStringLiteral(".com/");
    return list;
}

// A History folder of HistorySize entries in eight weekly index files.
struct History
{
    QTemporaryDir dir;
    QList<THistoryIndexReader::Entry> entries;

    History()
    {
        const QDate today = QDate::currentDate();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        QList<QByteArray> files(8);
        for (int i = 0; i < HistorySize; ++i)
        {
            const qint64 when = now - qint64(i) * 60000;
            files[i % 8] +=
                THistoryIndex::encodeEntry(historyUrl(i), QStringLiteral("Page %1").arg(i), when);
            THistoryIndexReader::Entry entry;
            entry.url = historyUrl(i);
            entry.visitedMs = when;
            entries << entry;
        }
        for (int week = 0; week < 8; ++week)
        {
            const QDate day = today.addDays(-7 * (week + 1));
            const QString folder =
                QDir(dir.path()).filePath(THistoryIndex::periodFolderName(day, today));
            QDir().mkpath(folder);
            QFile file(QDir(folder).filePath(THistoryIndex::indexFileName()));
            file.open(QIODevice::WriteOnly);
            file.write(files[week]);
        }
    }
};

History& history()
{
    static History h;
    return h;
}

const AddressSuggestions& suggestions()
{
    static const AddressSuggestions s = []
    {
        AddressSuggestions built;
        built.SetHistory(history().entries);
        return built;
    }();
    return s;
}

// Prefixes: a short one (many fit, the walk stops early), a longer one,
// one with the scheme, and one nothing fits (the whole history is walked).
const char* const Prefixes[] = {"k", "www.kalo", "https://www.lo", "zzzz"};

void InlineCompletionFullList(benchmark::State& state)
{
    const QStringList list = typedList();
    // 0: the first entry fits, 1: the last, 2: none (both passes over the list)
    const QString before = state.range(0) == 0   ? list.first().left(12)
                           : state.range(0) == 1 ? list.last().mid(7, 8)
                                                 : QStringLiteral("nothing-fits");
    for (auto _ : state)
        benchmark::DoNotOptimize(InlineCompletion::Complete(list, before, QStringLiteral("x")));
}

void SuggestionsMatch50k(benchmark::State& state)
{
    const AddressSuggestions& s = suggestions();
    const QStringList typed = typedList();
    const QString prefix = QString::fromLatin1(Prefixes[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(s.Match(prefix, typed));
    state.SetLabel(prefix.toStdString());
}

void HistoryIndexOnly50k(benchmark::State& state)
{
    for (auto _ : state)
    {
        AddressSuggestions s;
        s.SetHistory(history().entries);
        benchmark::DoNotOptimize(s.HistoryCount());
    }
}

void HistoryReadAndIndex50k(benchmark::State& state)
{
    const QString root = history().dir.path();
    for (auto _ : state)
    {
        AddressSuggestions s;
        s.SetHistory(THistoryIndexReader::allEntries(root));
        benchmark::DoNotOptimize(s.HistoryCount());
    }
}

// One character typed and taken back again: two key strokes per iteration.
void KeyStrokes(benchmark::State& state, TQWComboBox& box, const QString& start, QChar letter)
{
    box.lineEdit()->setText(start);
    box.lineEdit()->end(false);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(letter));
    QKeyEvent back(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    for (auto _ : state)
    {
        QCoreApplication::sendEvent(&box, &press);
        QCoreApplication::sendEvent(&box, &back);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void KeyStrokeInlineCompletion(benchmark::State& state)
{
    TQWComboBox box;
    box.SetItems(typedList());
    box.SetCompletionStyle(1);
    box.show();
    KeyStrokes(state, box, QStringLiteral("www.ka"), QLatin1Char('l'));
}

void KeyStrokeSystemCompletion50k(benchmark::State& state)
{
    TQWComboBox box(history().dir.path());
    box.SetItems(typedList());
    box.SetCompletionStyle(2);
    box.show();
    box.AutoComplete()->Switch(true);
    // The first key stroke reads the history; the measured ones do not.
    box.AutoComplete()->RefreshHistory();
    const QString start = QString::fromLatin1(Prefixes[state.range(0)]);
    KeyStrokes(state, box, start.left(start.size() - 1), start.back());
    state.SetLabel(start.toStdString());
}
} // namespace

BENCHMARK(InlineCompletionFullList)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(SuggestionsMatch50k)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryIndexOnly50k)->Unit(benchmark::kMillisecond);
BENCHMARK(HistoryReadAndIndex50k)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyStrokeInlineCompletion)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeyStrokeSystemCompletion50k)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The offscreen platform reports each popup it cannot raise; that is noise here.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && !message.startsWith(QLatin1String("This plugin does not support")))
        fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv)
{
    return RunWidgetBenchmarks(argc, argv, quietPlatform);
}
