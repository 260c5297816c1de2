#include "chrome/TIEOptions.h"

#include "chrome/SettingsBroadcast.h"
#include "core/store/ProgramStore.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

TIEOptions::TIEOptions(RegistryStore* store) : m_store(store ? store : &ProgramStore::get()) {}

bool TIEOptions::LoadImages() const
{
    return Read(ImagesValue);
}

bool TIEOptions::LoadVideos() const
{
    return Read(VideosValue);
}

bool TIEOptions::PlaySounds() const
{
    return Read(SoundsValue);
}

bool TIEOptions::PlayAnimations() const
{
    return Read(AnimationsValue);
}

TIEOptions::Switches TIEOptions::ReadSwitches() const
{
    return {LoadImages(), LoadVideos(), PlaySounds(), PlayAnimations()};
}

bool TIEOptions::SetLoadImages(bool on)
{
    return Write(ImagesValue, on);
}

bool TIEOptions::SetLoadVideos(bool on)
{
    return Write(VideosValue, on);
}

bool TIEOptions::SetPlaySounds(bool on)
{
    return Write(SoundsValue, on);
}

bool TIEOptions::SetPlayAnimations(bool on)
{
    return Write(AnimationsValue, on);
}

void TIEOptions::NotifySettingsChanged()
{
    SettingsBroadcast::notify(RegistryKeys::EngineSettingsArea);
}

bool TIEOptions::SwitchOn(const QString* stored)
{
    // A hand-edited "No" or " no" means what it says; anything the program
    // cannot make out must not silently hide a user's pictures or sounds.
    return !stored || stored->trimmed().compare(QLatin1String("no"), Qt::CaseInsensitive) != 0;
}

bool TIEOptions::Read(const QString& name) const
{
    const std::optional<RegValue> value = m_store->value(RegistryKeys::EngineMain, name);
    if (!value || value->type != RegValue::String)
        return SwitchOn(nullptr);
    return SwitchOn(&value->text);
}

bool TIEOptions::Write(const QString& name, bool on)
{
    return m_store->setString(RegistryKeys::EngineMain, name,
                              on ? QStringLiteral("yes") : QStringLiteral("no"));
}
