#include "core/tabs/SessionRunState.h"

namespace
{
const QString TextClean = QStringLiteral("clean");
const QString TextRestoring = QStringLiteral("restoring");
const QString TextRestoringAfterCrash = QStringLiteral("restoring-after-crash");
const QString TextRunning = QStringLiteral("running");
} // namespace

QString SessionRunState::ValueName()
{
    return QStringLiteral("SessionState");
}

SessionRunState::Phase SessionRunState::FromText(const QString& text)
{
    if (text.isEmpty() || text == TextClean)
        return Phase::Clean;
    if (text == TextRestoring)
        return Phase::Restoring;
    if (text == TextRestoringAfterCrash)
        return Phase::RestoringAfterCrash;
    // "running", and whatever else: restoring without a question is what
    // the list is kept current for.
    return Phase::Running;
}

QString SessionRunState::Text(Phase phase)
{
    switch (phase)
    {
    case Phase::Clean:
        return TextClean;
    case Phase::Restoring:
        return TextRestoring;
    case Phase::RestoringAfterCrash:
        return TextRestoringAfterCrash;
    case Phase::Running:
        break;
    }
    return TextRunning;
}

SessionRunState::Phase SessionRunState::StartPhaseAfter(Phase previous)
{
    return Unclean(previous) ? Phase::RestoringAfterCrash : Phase::Restoring;
}
