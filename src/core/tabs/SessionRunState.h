#pragma once

#include <QString>

// How far a run of the program got, as its marker in the settings store
// says, and what the next start makes of it. The texts are stored as they
// stand; TSessionKeeper.h tells the whole story.
//
//   previous run ended   marker at start   next start restores
//   "clean" / missing    "restoring"       without asking
//   "running"            ...-after-crash   without asking
//   "restoring"          ...-after-crash   without asking
//   ...-after-crash      ...-after-crash   only when the user says so
class SessionRunState
{
public:
    enum class Phase
    {
        Clean,               // normal exit, or no run before
        Restoring,           // opening the start-up pages after a clean exit
        RestoringAfterCrash, // opening the start-up pages after an unclean end
        Running              // the start-up pages have opened
    };

    // The name of the marker in the value key.
    static QString ValueName();

    // An empty or missing text is a first run; a text no run writes is
    // taken for a run that did not end normally.
    static Phase FromText(const QString& text);
    static QString Text(Phase phase);

    // The run that left previous did not end normally.
    static bool Unclean(Phase previous) { return previous != Phase::Clean; }
    // The marker a run keeps while its start-up pages open.
    static Phase StartPhaseAfter(Phase previous);
    // The previous run was a restore after a crash and crashed again before
    // its restore was complete: the same pages may well crash the program
    // once more.
    static bool MustAskBeforeRestore(Phase previous)
    {
        return previous == Phase::RestoringAfterCrash;
    }
};
