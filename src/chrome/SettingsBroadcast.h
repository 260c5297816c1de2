#pragma once

#include <QObject>
#include <QString>

// The program's settings-change message: whoever changes a setting that
// others apply (the engine's content switches, its zones) announces the
// area it changed, and every part of this copy that applies settings of
// that area reads them again. Other copies read the store at their own
// next occasion.
class SettingsBroadcast : public QObject
{
    Q_OBJECT
public:
    // The one broadcaster of this copy; made on first use on the GUI thread.
    static SettingsBroadcast* instance();

    // area: the store key the change is under, such as
    // RegistryKeys::EngineSettingsArea; empty means everything.
    static void notify(const QString& area);

signals:
    void settingsChanged(const QString& area);

private:
    SettingsBroadcast() = default;
};
