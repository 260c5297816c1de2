#include "MainWindowFixture.h"

#include "core/tabs/TTabSet.h"
#include "core/window/TfrmMain.h"

#include <QTest>

MainWindowFixture::MainWindowFixture() : m_unexpected(std::make_unique<ModalDialogAnswerer>()) {}

MainWindowFixture::~MainWindowFixture() = default;

TfrmMain* MainWindowFixture::create()
{
    window.reset();
    window = std::make_unique<TfrmMain>(FakeBrowserControl::factory(&made));
    return window.get();
}

TfrmMain* MainWindowFixture::createActive(int tabs)
{
    create();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    for (int i = 1; i < tabs; ++i)
        window->TabSet()->AddTab();
    return window->TabSet()->Count() == tabs ? window.get() : nullptr;
}

QStringList MainWindowFixture::finish()
{
    window.reset();
    const QStringList names = m_unexpected->classNames();
    m_unexpected.reset();
    return names;
}
