#include "core/window/MainViewSettings.h"

#include "core/settings/TQWOptions.h"

MainViewSettings::MainViewSettings(TQWOptions* options)
    : m_options(options), m_disableAltShortcuts(options->DisableALTShortcuts()),
      m_openNewInForeground(options->OpenNewInForeground()), m_minToTray(options->MinToTray()),
      m_vbAutoExpand(options->VBAutoExpand()), m_vostelBarWidth(options->VostelBarWidth()),
      m_searchBar(options->SearchBar()), m_fullScreen(options->FullScreen()),
      m_viewVostelBar(options->ViewVostelBar()), m_viewToolbar(options->ViewToolbar()),
      m_viewAddressBar(options->ViewAddressBar()), m_viewLinksBar(options->ViewLinksBar()),
      m_vgCloseFirst(options->VGCloseFirst())
{
}

void MainViewSettings::SetDisableALTShortcuts(bool value)
{
    m_disableAltShortcuts = value;
    m_options->SetDisableALTShortcuts(value);
}

void MainViewSettings::SetOpenNewInForeground(bool value)
{
    m_openNewInForeground = value;
    m_options->SetOpenNewInForeground(value);
}

void MainViewSettings::SetMinToTray(bool value)
{
    m_minToTray = value;
    m_options->SetMinToTray(value);
}

void MainViewSettings::SetVBAutoExpand(bool value)
{
    m_vbAutoExpand = value;
    m_options->SetVBAutoExpand(value);
}

void MainViewSettings::SetVostelBarWidth(int value)
{
    m_options->SetVostelBarWidth(value);
    // The store's rule for a bad width decides what the window keeps.
    m_vostelBarWidth = m_options->VostelBarWidth();
}

void MainViewSettings::SetSearchBar(const QString& value)
{
    m_searchBar = value;
    m_options->SetSearchBar(value);
}

void MainViewSettings::SetFullScreen(bool value)
{
    m_fullScreen = value;
    m_options->SetFullScreen(value);
}

void MainViewSettings::SetViewVostelBar(bool value)
{
    m_viewVostelBar = value;
    m_options->SetViewVostelBar(value);
}

void MainViewSettings::SetViewToolbar(bool value)
{
    m_viewToolbar = value;
    m_options->SetViewToolbar(value);
}

void MainViewSettings::SetViewAddressBar(bool value)
{
    m_viewAddressBar = value;
    m_options->SetViewAddressBar(value);
}

void MainViewSettings::SetViewLinksBar(bool value)
{
    m_viewLinksBar = value;
    m_options->SetViewLinksBar(value);
}

void MainViewSettings::SetVGCloseFirst(bool value)
{
    m_vgCloseFirst = value;
    m_options->SetVGCloseFirst(value);
}

void MainViewSettings::writeBack() const
{
    TQWOptions& o = *m_options;
    o.SetDisableALTShortcuts(m_disableAltShortcuts);
    o.SetOpenNewInForeground(m_openNewInForeground);
    o.SetMinToTray(m_minToTray);
    o.SetVBAutoExpand(m_vbAutoExpand);
    o.SetVostelBarWidth(m_vostelBarWidth);
    o.SetSearchBar(m_searchBar);
    o.SetFullScreen(m_fullScreen);
    o.SetViewVostelBar(m_viewVostelBar);
    o.SetViewToolbar(m_viewToolbar);
    o.SetViewAddressBar(m_viewAddressBar);
    o.SetViewLinksBar(m_viewLinksBar);
    o.SetVGCloseFirst(m_vgCloseFirst);
}
