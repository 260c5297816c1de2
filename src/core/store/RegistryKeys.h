#pragma once

#include <QString>

// Every key path the program uses, written once.
namespace RegistryKeys
{
inline const QString BaseKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave");
inline const QString ValueKey = BaseKey + QStringLiteral("\\CurrentVersion");

inline const QString LastOpenSites = QStringLiteral("Last Open Sites");
inline const QString PopupVostel = QStringLiteral("PopupVostel");
inline const QString SearchEngines = QStringLiteral("Search Engines");
inline const QString SearchBar = QStringLiteral("Search Bar");
inline const QString QuickSearch = QStringLiteral("QuickSearch");
inline const QString Bands = QStringLiteral("Bands");
inline const QString BrowserHelperObjects = QStringLiteral("Browser Helper Objects");
// Site patterns to zone numbers, and each zone's action policies: the
// Internet zone's in the key itself, the other zones' in a sub-key named
// after the zone's number.
inline const QString Zones = ValueKey + QStringLiteral("\\Zones");
inline const QString ZonePolicies = ValueKey + QStringLiteral("\\Zone Policies");

inline const QString ClassesRoot = QStringLiteral("HKEY_CLASSES_ROOT");
inline const QString UserAgentPostPlatform =
    QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
                   "Settings\\User Agent\\Post Platform");
inline const QString TypedUrls =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedUrls");
// The engine's content switches ("Display Inline Images" and the like).
inline const QString EngineMain =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main");
// What a change of the engine's settings is announced under.
inline const QString EngineSettingsArea =
    QStringLiteral("Software\\Microsoft\\Internet Explorer\\");
// The user's own folder locations (values may hold environment variables),
// then the resolved copies the shell keeps beside them.
inline const QString ShellFolders = QStringLiteral(
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders");
inline const QString ResolvedShellFolders = QStringLiteral(
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
    "Folders");
// Holds "LinksFolderName", the Links folder's name inside Favorites.
inline const QString EngineToolbar =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar");
} // namespace RegistryKeys
