#include "core/window/MainCloseQuery.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"
#include "core/engine/TDownloadManager.h"
#include "core/settings/TQWOptions.h"

#include <QApplication>
#include <QWidget>

MainCloseQuery::MainCloseQuery(TQWOptions* options, WindowServices* services)
    : m_options(options), m_services(services)
{
}

bool MainCloseQuery::canClose()
{
    if (m_withoutQuestions)
        return true;
    if (!DownloadsMayEnd())
        return false;
    if (!m_options->ConfirmShutdown())
        return true;
    const auto text = [this](const char* key)
    { return m_services->GetLangText(QStringLiteral("CONFIRM"), QLatin1String(key)); };
    const ConfirmResult answer =
        m_services->confirm(text("ShutDown"), false, text("ShutDownPrompt"), text("Proceed"),
                            m_services->GetGlobalText(QStringLiteral("Yes")),
                            m_services->GetGlobalText(QStringLiteral("No")), text("DontAsk"));
    if (answer.checked)
        m_options->SetConfirmShutdown(false);
    // A termination that arrived while the question was open closed it; the
    // window is already closing, so Qt ignores the close() that came with it.
    return answer.ok || m_withoutQuestions;
}

void MainCloseQuery::closeWithoutQuestions(QWidget* window)
{
    m_withoutQuestions = true;
    // A modal question left open would keep its own loop running.
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    window->close();
}

bool MainCloseQuery::DownloadsMayEnd()
{
    const int running = TDownloadManager::instance()->list()->runningCount();
    if (running == 0)
        return true;
    const auto text = [this](const char* key)
    { return m_services->GetLangText(QStringLiteral("CONFIRM"), QLatin1String(key)); };
    const ConfirmResult answer = m_services->confirm(
        text("ExitDownloads"), false, text("ExitDownloadsPrompt"),
        TLanguage::FormatText(text("ExitDownloadsNote"), QString::number(running)),
        m_services->GetGlobalText(QStringLiteral("Yes")),
        m_services->GetGlobalText(QStringLiteral("No")), QString());
    return answer.ok || m_withoutQuestions;
}
