#include "game/VolumeKeys.h"

#include <algorithm>

#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "game/GameKeys.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr int LevelStep = 10;
constexpr int ShownFrames = 90;

struct VolumeKey {
    int key;
    int Settings::*level;
    int step;
    const char* name;
};

constexpr VolumeKey Keys[] = {{VirtualKey::Minus, &Settings::musicLevel, -LevelStep, "music"},
                              {VirtualKey::Equals, &Settings::musicLevel, LevelStep, "music"},
                              {VirtualKey::LeftBracket, &Settings::effectsLevel, -LevelStep, "effects"},
                              {VirtualKey::RightBracket, &Settings::effectsLevel, LevelStep, "effects"}};

}  // namespace

void VolumeKeys::Read(Application& application, Settings& settings, SoundPlayer& sound)
{
    if (frames > 0 && --frames == 0)
        shown.clear();
    const VolumeKey* pressed = nullptr;
    for (const VolumeKey& candidate : Keys) {
        if (GameKeyDown(application.Keys(), candidate.key)) {
            pressed = &candidate;
            break;
        }
    }
    if (!pressed) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    int& level = settings.*(pressed->level);
    level = std::clamp(level + pressed->step, 0, AudioDevice::FullLevel);
    application.Audio().SetLevels(settings.musicLevel, settings.effectsLevel);
    sound.ApplyLevels();
    shown = std::string(pressed->name) + " " + std::to_string(level);
    frames = ShownFrames;
    if (!settings.file.empty() && !SettingsFile::Write(settings.file, settings))
        shown += " (not saved)";
}
