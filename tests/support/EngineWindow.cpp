#include "EngineWindow.h"

#include "EngineTestHelpers.h"
#include "core/tabs/TBrowserTab.h"
#include "core/window/TfrmMain.h"

#include <QTest>

EngineWindow::EngineWindow() : m_listening(server.listen()) {}

EngineWindow::~EngineWindow() = default;

bool EngineWindow::open(const QList<QPair<QString, QString>>& values)
{
    if (!home.seed(QStringLiteral("StartupMode"), QStringLiteral("Blank")))
        return false;
    for (const auto& [name, text] : values)
        if (!home.seed(name, text))
            return false;
    window = std::make_unique<TfrmMain>();
    window->show();
    return QTest::qWaitForWindowExposed(window.get());
}

bool EngineWindow::shows(const TBrowserTab* tab, const QString& url)
{
    return EngineTestHelpers::waitFor([&] { return tab->GetLocationURL() == url && !tab->Busy; });
}
