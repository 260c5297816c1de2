#include "core/tabs/TSessionKeeper.h"

#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryTypeError.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TStartupLoader.h"

#include <QTimer>

TSessionKeeper::TSessionKeeper(TTabSet* tabs, TQWOptions* options, WindowServices* services,
                               QObject* parent)
    : QObject(parent), m_tabs(tabs), m_options(options), m_services(services),
      m_writeTimer(new QTimer(this)), m_pollTimer(new QTimer(this)), m_settleTimer(new QTimer(this))
{
    Q_ASSERT(m_tabs && m_options);
    m_writeTimer->setSingleShot(true);
    connect(m_writeTimer, &QTimer::timeout, this, &TSessionKeeper::WriteIfChanged);
    connect(m_pollTimer, &QTimer::timeout, this,
            [this]
            {
                // A change already waiting writes soon enough.
                if (!m_writeTimer->isActive())
                    WriteIfChanged();
            });
    connect(m_settleTimer, &QTimer::timeout, this, &TSessionKeeper::CheckSettled);
    SetTimings(m_timings);
    connect(m_tabs, &TTabSet::tabsChanged, this, &TSessionKeeper::TabsChanged);
}

TSessionKeeper::~TSessionKeeper() = default;

void TSessionKeeper::SetTimings(const Timings& timings)
{
    m_timings = timings;
    m_writeTimer->setInterval(qMax(0, timings.writeDelayMs));
    // A poll without pause would keep the program busy for nothing.
    m_pollTimer->setInterval(qMax(1, timings.addressPollMs));
    m_settleTimer->setInterval(qMax(1, timings.settlePollMs));
}

void TSessionKeeper::BeginRun()
{
    if (m_stage != Stage::NotStarted)
        return;
    m_previous = StoredPhase();
    m_lastWritten = StoredSites();
    MarkPhase(SessionRunState::StartPhaseAfter(m_previous));
    m_stage = Stage::Restoring;
}

bool TSessionKeeper::ShouldRestore()
{
    if (!m_restoreAnswer)
        m_restoreAnswer = !SessionRunState::MustAskBeforeRestore(m_previous) || AskBeforeRestore();
    return *m_restoreAnswer;
}

bool TSessionKeeper::AskBeforeRestore() const
{
    const ConfirmResult answer = m_services->confirm(
        GetGlobalText(QStringLiteral("RestoreAfterCrashCaption")), false,
        GetGlobalText(QStringLiteral("RestoreAfterCrashTitle")),
        GetGlobalText(QStringLiteral("RestoreAfterCrashPrompt")),
        GetGlobalText(QStringLiteral("Yes")), GetGlobalText(QStringLiteral("No")), QString());
    return answer.ok;
}

void TSessionKeeper::RestoreFinished()
{
    if (m_stage != Stage::NotStarted && m_stage != Stage::Restoring)
        return;
    m_stage = Stage::Settling;
    // The start-up work sets Restoring on every tab it restores; the flag
    // goes when the tab's page arrives.
    m_restoredTabs.clear();
    for (TBrowserTab* tab : CurrentTabs())
    {
        if (tab->Restoring)
            m_restoredTabs.append(tab);
    }
    m_settleClock.start();
    m_quietClock.invalidate();
    m_settleTimer->start();
    CheckSettled();
}

bool TSessionKeeper::RestoredTabsLoading() const
{
    const QList<TBrowserTab*> current = CurrentTabs();
    for (const QPointer<TBrowserTab>& tab : m_restoredTabs)
    {
        // A closed tab, a captured one and one without a browser load nothing.
        // A tab that waits to be shown loads nothing until then.
        if (!tab || !current.contains(tab.data()) || tab->Killed || !tab->Browser() ||
            tab->Unloaded())
            continue;
        if (tab->Restoring || tab->Busy)
            return true;
    }
    return false;
}

void TSessionKeeper::CheckSettled()
{
    if (m_stage != Stage::Settling)
        return;
    // The quiet time counts from the moment the last restored page has
    // loaded: a page that crashes the program just after it arrives still
    // crashes it during the restore.
    if (RestoredTabsLoading())
        m_quietClock.invalidate();
    else if (!m_quietClock.isValid())
        m_quietClock.start();
    const bool quiet = m_quietClock.isValid() && m_quietClock.elapsed() >= m_timings.settleGraceMs;
    if (quiet || m_settleClock.elapsed() >= m_timings.settleLimitMs)
        FinishRestore();
}

void TSessionKeeper::FinishRestore()
{
    m_stage = Stage::Running;
    m_settleTimer->stop();
    m_restoredTabs.clear();
    MarkPhase(SessionRunState::Phase::Running);
    m_pollTimer->start();
    emit restoreComplete();
    // What changed while the restore settled is written now.
    WriteIfChanged();
}

void TSessionKeeper::TabsChanged()
{
    if (m_stage != Stage::Running)
        return;
    // Not restarted by later changes: a stream of changes must not put the
    // write off for ever.
    if (!m_writeTimer->isActive())
        m_writeTimer->start();
}

bool TSessionKeeper::WritePending() const
{
    return m_writeTimer->isActive();
}

void TSessionKeeper::WriteIfChanged()
{
    m_writeTimer->stop();
    if (m_stage != Stage::Running)
        return;
    const QStringList lines = TStartupLoader::RememberedSites(CurrentTabs());
    if (m_lastWritten == lines || !InLastMode())
        return;
    m_options->WriteListSection(RegistryKeys::LastOpenSites, lines);
    // Read back: after a failed write the next look tries again instead of
    // taking the list for written.
    m_lastWritten = StoredSites();
    if (m_lastWritten == lines)
        emit sitesWritten(lines);
}

QList<TBrowserTab*> TSessionKeeper::CurrentTabs() const
{
    QList<TBrowserTab*> tabs;
    for (int i = 0; i < m_tabs->Count(); ++i)
    {
        if (TBrowserTab* tab = m_tabs->Tab(i))
            tabs.append(tab);
    }
    return tabs;
}

bool TSessionKeeper::InLastMode() const
{
    try
    {
        return TStartupLoader::IsLastMode(m_options->StartupMode());
    }
    catch (const RegistryTypeError&)
    {
        // A mode that cannot be read is not "Last".
        return false;
    }
}

std::optional<QStringList> TSessionKeeper::StoredSites() const
{
    try
    {
        return m_options->ReadListSection(RegistryKeys::LastOpenSites);
    }
    catch (const RegistryTypeError&)
    {
        return std::nullopt;
    }
}

SessionRunState::Phase TSessionKeeper::StoredPhase() const
{
    try
    {
        return SessionRunState::FromText(m_options->ReadString(SessionRunState::ValueName()));
    }
    catch (const RegistryTypeError&)
    {
        // Not written by any run: the end of the previous run is unknown.
        return SessionRunState::Phase::Running;
    }
}

void TSessionKeeper::MarkPhase(SessionRunState::Phase phase)
{
    m_options->WriteString(SessionRunState::ValueName(), SessionRunState::Text(phase));
}

void TSessionKeeper::EndRun()
{
    if (m_stage == Stage::Ended)
        return;
    m_stage = Stage::Ended;
    m_writeTimer->stop();
    m_pollTimer->stop();
    m_settleTimer->stop();
    m_restoredTabs.clear();
    disconnect(m_tabs, &TTabSet::tabsChanged, this, &TSessionKeeper::TabsChanged);
    MarkPhase(SessionRunState::Phase::Clean);
}

QString TSessionKeeper::GetGlobalText(const QString& key) const
{
    return m_services->GetGlobalText(key);
}
