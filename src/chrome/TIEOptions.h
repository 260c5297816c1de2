#pragma once

#include <QString>

class RegistryStore;

// The engine's four content switches, kept as "yes"/"no" strings in the
// store under RegistryKeys::EngineMain so that quillwave-reg edits them
// under their usual names. Nothing is cached: every getter reads the store.
class TIEOptions
{
public:
    struct Switches
    {
        bool images = true;
        bool videos = true;
        bool sounds = true;
        bool animations = true;
        bool operator==(const Switches&) const = default;
    };

    // Without a store, the program's own (ProgramStore).
    explicit TIEOptions(RegistryStore* store = nullptr);

    bool LoadImages() const;
    bool LoadVideos() const;
    bool PlaySounds() const;
    bool PlayAnimations() const;
    Switches ReadSwitches() const;

    // False when the store refused the write.
    bool SetLoadImages(bool on);
    bool SetLoadVideos(bool on);
    bool SetPlaySounds(bool on);
    bool SetPlayAnimations(bool on);

    // Tells every part of this copy that applies the switches to read them again.
    static void NotifySettingsChanged();

    // A stored text as a switch: only "no" (in any case, blanks around it
    // ignored) turns a switch off; a missing, unreadable or unknown value
    // leaves it at its default, on.
    static bool SwitchOn(const QString* stored);

    static inline const QString ImagesValue = QStringLiteral("Display Inline Images");
    static inline const QString VideosValue = QStringLiteral("Display Inline Videos");
    static inline const QString SoundsValue = QStringLiteral("Play_Background_Sounds");
    static inline const QString AnimationsValue = QStringLiteral("Play_Animations");

private:
    bool Read(const QString& name) const;
    bool Write(const QString& name, bool on);

    RegistryStore* m_store;
};
