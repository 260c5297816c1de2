#include "core/tabs/TStartupLoader.h"

#include "components/TQWPageControl.h"
#include "core/instance/StartupTimeline.h"
#include "core/instance/TEntryRoutine.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"

#include <QPointer>

namespace
{
const QString ModeHome = QStringLiteral("Home");
const QString ModeBlank = QStringLiteral("Blank");
const QString ModeLast = QStringLiteral("Last");
} // namespace

TStartupLoader::TStartupLoader(TTabSet* tabs, TQWOptions* options, OpenGroupFn openGroup,
                               ConfirmRestoreFn confirmRestore)
    : m_tabs(tabs), m_options(options), m_openGroup(std::move(openGroup)),
      m_confirmRestore(std::move(confirmRestore))
{
}

bool TStartupLoader::IsLastMode(const QString& mode)
{
    return mode == ModeLast;
}

void TStartupLoader::Run()
{
    StartupTimeline::mark("start-up pages opening");
    OpenStartupPage();
    OpenMode();
    OpenCommandLine();
    StartupTimeline::mark("start-up pages opened");
}

TBrowserTab* TStartupLoader::NextTab()
{
    TBrowserTab* tab = m_tabUsed ? m_tabs->AddTab() : m_tabs->GetActivePage();
    if (!tab)
        tab = m_tabs->AddTab();
    m_tabUsed = true;
    return tab;
}

void TStartupLoader::OpenStartupPage()
{
    const QString page = m_options->StartupPage();
    if (page.isEmpty())
        return;
    // Consumed before it is opened: a page that crashes the program must
    // not come back at every start.
    m_options->SetStartupPage(QString());
    NextTab()->Navigate(page);
}

void TStartupLoader::OpenMode()
{
    const QString mode = m_options->StartupMode();
    if (mode == ModeHome)
        NextTab()->GoHome();
    else if (mode == ModeBlank)
        NextTab()->GoBlank();
    else if (mode == ModeLast)
    {
        const QStringList lines = m_options->ReadListSection(RegistryKeys::LastOpenSites);
        if (!lines.isEmpty() && m_confirmRestore && !m_confirmRestore())
            return;
        if (lines.isEmpty())
            return;
        if (m_tabs->LoadTabsOnShow())
        {
            RestoreWaiting(lines);
            return;
        }
        // Each tab goes directly after the one restored before it, as if that
        // one were active, but stays in the background: only the last comes
        // to the front, and it does so before any page loads, so the engine
        // draws no page but that one (not even the tab that was in front).
        QList<QPair<QPointer<TBrowserTab>, QString>> restored;
        TBrowserTab* previous = nullptr;
        for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        {
            TBrowserTab* tab = previous ? m_tabs->AddBackgroundTab(previous) : NextTab();
            tab->Restoring = true;
            restored.append({tab, line->mid(line->indexOf(QLatin1Char('=')) + 1)});
            previous = tab;
        }
        m_tabs->ActivateTab(previous);
        for (const auto& [tab, address] : restored)
            if (tab)
                tab->NavigateTo(address);
    }
    else
    {
        const QString group = m_options->StartupVostelGroup();
        if (!group.isEmpty() && m_openGroup)
            m_openGroup(group, !m_tabUsed, false);
    }
}

void TStartupLoader::RestoreWaiting(const QStringList& lines)
{
    // Only the last tab, the one in front, loads. It takes the tab the next
    // page would get (normally the window's own), whose control exists
    // already, so the engine makes no second page; the others wait before
    // it, without controls, for their first showing.
    TBrowserTab* front = NextTab();
    front->Restoring = true;
    TBrowserTab* previous = front;
    for (qsizetype i = lines.size() - 1; i > 0; --i)
    {
        const QString& line = lines.at(i);
        previous = m_tabs->AddUnloadedTab(previous, line.mid(line.indexOf(QLatin1Char('=')) + 1));
        previous->Restoring = true;
    }
    TQWPageControl* pages = m_tabs->PageControl();
    pages->movePage(pages->indexOf(front), pages->indexOf(previous));
    m_tabs->ActivateTab(front);
    front->NavigateTo(lines.first().mid(lines.first().indexOf(QLatin1Char('=')) + 1));
}

void TStartupLoader::OpenCommandLine()
{
    const QString argument = m_options->CommandLine();
    if (argument.isEmpty())
        return;
    m_options->SetCommandLine(QString());
    if (TEntryRoutine::isStartupGroupArgument(argument) && m_openGroup)
    {
        m_openGroup(argument, true, true);
        return;
    }
    NextTab()->Navigate(argument);
}

QStringList TStartupLoader::RememberedSites(const QList<TBrowserTab*>& tabs)
{
    QStringList lines;
    for (int index = tabs.size() - 1; index >= 0; --index)
    {
        const TBrowserTab* tab = tabs.at(index);
        if (tab->Killed)
            continue;
        const QString address = tab->RememberedAddress();
        if (!address.isEmpty())
            lines << QStringLiteral("url%1=%2").arg(index + 1).arg(address);
    }
    return lines;
}

void TStartupLoader::WriteRememberedSites(TQWOptions& options, const QList<TBrowserTab*>& tabs)
{
    const QStringList lines =
        IsLastMode(options.StartupMode()) ? RememberedSites(tabs) : QStringList();
    options.WriteListSection(RegistryKeys::LastOpenSites, lines);
}
