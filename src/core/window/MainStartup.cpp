#include "core/window/MainStartup.h"

#include "chrome/TDefaultBrowser.h"
#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/instance/TEntryRoutine.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TSessionKeeper.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainGroups.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressController.h"

#include <utility>

MainStartup::MainStartup(TfrmMain* window) : m_window(window) {}

void MainStartup::AskDefaultBrowser()
{
    if (!m_window->Options()->AskDefaultBrowser())
        return;
    WindowServices* services = m_window->Services();
    TDefaultBrowser::AskDefaultBrowserPrompt(
        [services](const QString& caption, bool checked, const QString& title,
                   const QString& prompt, const QString& okText, const QString& cancelText,
                   const QString& checkText)
        {
            const ConfirmResult r =
                services->confirm(caption, checked, title, prompt, okText, cancelText, checkText);
            return TDefaultBrowser::PromptAnswer{r.ok, r.checked};
        },
        [services](const QString& section, const QString& key)
        { return services->GetLangText(section, key); });
}

void MainStartup::OpenStartupPages()
{
    TQWOptions* options = m_window->Options();
    // A script address on the command line comes from another program.
    if (TAddressController::IsScriptAddress(options->CommandLine()))
    {
        options->SetCommandLine(QString());
        ShowGlobalMessage(QStringLiteral("ScriptAddressRefused"));
    }
    TSessionKeeper* keeper = m_window->SessionKeeper();
    MainGroups* groups = m_window->Groups();
    TStartupLoader(
        m_window->TabSet(), options,
        [groups](const QString& path, bool closeFirst, bool startup)
        { groups->OpenVostelGroup(path, closeFirst, startup); },
        [keeper] { return keeper->ShouldRestore(); })
        .Run();
    keeper->RestoreFinished();
    m_pagesOpened = true;
    for (const QString& text : std::exchange(m_waiting, {}))
        Forwarded(text);
    if (const QString reason = options->UnsavedReason(); !reason.isEmpty())
        m_window->ShowMessage(TLanguage::FormatText(
            m_window->Services()->GetGlobalText(QStringLiteral("SettingsNotSaved")), reason));
}

void MainStartup::Forwarded(const QString& text)
{
    // During the start-up questions the tab set is not ready for it.
    if (!m_pagesOpened)
    {
        m_waiting << text;
        return;
    }
    m_window->RestoreAndRaise();
    switch (TEntryRoutine::forwardedAction(text))
    {
    case TEntryRoutine::ForwardedAction::Nothing:
        break;
    case TEntryRoutine::ForwardedAction::OpenGroup:
        m_window->Groups()->OpenChosenGroup(text);
        break;
    case TEntryRoutine::ForwardedAction::OpenTab:
        OpenOutsideAddress(text);
        break;
    }
}

void MainStartup::OpenOutsideAddress(const QString& text)
{
    // A script address from another program would run in whatever page the
    // tab shows; only the user's own typing may do that.
    if (TAddressController::IsScriptAddress(text))
    {
        ShowGlobalMessage(QStringLiteral("ScriptAddressRefused"));
        return;
    }
    if (TBrowserTab* tab = m_window->TabSet()->AddTab())
        tab->Navigate(text);
}

void MainStartup::ShowGlobalMessage(const QString& key)
{
    m_window->ShowMessage(m_window->Services()->GetGlobalText(key));
}
