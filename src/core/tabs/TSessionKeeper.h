#pragma once

#include "core/tabs/SessionRunState.h"
#include "core/tabs/TTabSet.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class QTimer;
class WindowServices;
class TBrowserTab;
class TQWOptions;

// Keeps the remembered tabs safe from a program that is killed or crashes,
// and keeps a page that crashes the program as it loads from locking the
// user out.
//
// The list. In "Last" mode "Last Open Sites" is rewritten while the program
// runs, in the format and order of the exit write, WriteDelayMs after the
// tabs change (added, closed, moved, navigated). The changes of a burst
// share one write, which comes no later than WriteDelayMs after the
// burst's first change however long the burst goes on. An address that
// changes without any tab event (a page's script changing it in place) is
// caught by a look every AddressPollMs. A list equal to the last one
// written is not written again; in other modes nothing is written (the
// exit write removes the list there).
//
// Nothing is written until the start-up restore is complete: the start-up
// work has run (RestoreFinished()), every tab it restored has loaded its
// page, and SettleGraceMs more have passed - or, for pages that never
// finish, SettleLimitMs after RestoreFinished(). A start-up that fails or
// is killed half-way therefore leaves the last good list as it was.
//
// The run marker. The string value "SessionState" of the value key says
// how far the current run got (and, at the next start, how the previous
// one ended):
//   "restoring"              start-up pages opening; previous run clean
//   "restoring-after-crash"  start-up pages opening; previous run unclean
//   "running"                the restore is complete
//   "clean"                  normal exit (EndRun())
// A missing or empty value counts as "clean", any other text as "running".
// A run that ends with a marker other than "clean" crashed (or was
// killed). The next start restores the remembered tabs without asking,
// which is what the list is kept current for, unless the run before it
// was itself a restore after a crash and crashed again before its restore
// was complete ("restoring-after-crash"): then ShouldRestore() asks the
// user first. Answering No opens no remembered tab; the list stays as it
// is until this run's own tabs replace it once the restore is complete.
//
// The window creates the keeper after its tab set, calls BeginRun() before
// its start-up timer runs, hands ShouldRestore() to the start-up loader,
// calls RestoreFinished() after the start-up work, and EndRun() after the
// exit write of the list.
class TSessionKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int WriteDelayMs = 2000;
    static constexpr int AddressPollMs = 10000;
    static constexpr int SettleGraceMs = 3000;
    static constexpr int SettleLimitMs = 30000;

    struct Timings
    {
        int writeDelayMs = WriteDelayMs;
        int addressPollMs = AddressPollMs;
        int settleGraceMs = SettleGraceMs;
        int settleLimitMs = SettleLimitMs;
        // How often the settling restore is looked at.
        int settlePollMs = 250;
    };

    // tabs, options and services must outlive the keeper; the question
    // after crashes is asked through services.
    TSessionKeeper(TTabSet* tabs, TQWOptions* options, WindowServices* services,
                   QObject* parent = nullptr);
    ~TSessionKeeper() override;

    // Before BeginRun(); tests shorten them.
    void SetTimings(const Timings& timings);

    // Reads how the previous run ended and marks this one as restoring.
    // Once per run; later calls do nothing.
    void BeginRun();
    SessionRunState::Phase PreviousPhase() const { return m_previous; }

    // For the start-up work, before it opens the remembered tabs: whether
    // to open them. Asks when the previous run crashed again in its restore
    // after a crash; the answer holds for the rest of the run.
    bool ShouldRestore();

    // The start-up work has run: the restore settles from here on.
    void RestoreFinished();
    bool IsRestoreComplete() const { return m_stage == Stage::Running; }
    // A change is waiting for its write.
    bool WritePending() const;

    // Normal exit, after the exit write of the list: nothing is written
    // any more, and the run is marked clean.
    void EndRun();

signals:
    // The restore is complete; the list is kept current from here on.
    void restoreComplete();
    // The list was written with these lines.
    void sitesWritten(const QStringList& lines);

private:
    enum class Stage
    {
        NotStarted,
        Restoring, // BeginRun() until RestoreFinished()
        Settling,  // RestoreFinished() until the restore is complete
        Running,
        Ended
    };

    void TabsChanged();
    void CheckSettled();
    bool RestoredTabsLoading() const;
    void FinishRestore();
    void WriteIfChanged();
    QList<TBrowserTab*> CurrentTabs() const;
    bool InLastMode() const;
    std::optional<QStringList> StoredSites() const;
    SessionRunState::Phase StoredPhase() const;
    void MarkPhase(SessionRunState::Phase phase);
    bool AskBeforeRestore() const;
    QString GetGlobalText(const QString& key) const;

    TTabSet* m_tabs;
    TQWOptions* m_options;
    WindowServices* m_services;
    Timings m_timings;
    Stage m_stage = Stage::NotStarted;
    SessionRunState::Phase m_previous = SessionRunState::Phase::Clean;
    std::optional<bool> m_restoreAnswer;
    // What the store holds as far as this run knows; unset when unknown.
    std::optional<QStringList> m_lastWritten;
    // The tabs the start-up work restored, until they have loaded.
    QList<QPointer<TBrowserTab>> m_restoredTabs;
    QElapsedTimer m_settleClock;
    QElapsedTimer m_quietClock;
    QTimer* m_writeTimer;
    QTimer* m_pollTimer;
    QTimer* m_settleTimer;
};
