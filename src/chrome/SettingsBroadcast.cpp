#include "chrome/SettingsBroadcast.h"

SettingsBroadcast* SettingsBroadcast::instance()
{
    static SettingsBroadcast broadcast;
    return &broadcast;
}

void SettingsBroadcast::notify(const QString& area)
{
    emit instance()->settingsChanged(area);
}
