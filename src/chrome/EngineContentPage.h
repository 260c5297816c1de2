#pragma once

#include "chrome/EngineSettingsPage.h"

#include <array>

class QCheckBox;

// The engine's content switches: pictures, videos, sounds, animations.
class EngineContentPage : public EngineSettingsPage
{
    Q_OBJECT
public:
    EngineContentPage(WindowServices* services, QWidget* parent);

    void Show(const EngineSettingsValues& values) override;
    void Take(EngineSettingsValues& values) const override;

    // chkLoadImages, chkLoadVideos, chkLoadSounds, chkLoadAnimations.
    std::array<QCheckBox*, EngineSettingsValues::ContentSwitchCount> chkContent{};
};
