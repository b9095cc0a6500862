#include "game/VolumeKeys.h"

#include <algorithm>
#include <cstdint>

#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "game/GameKeys.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"
#include "render/GraphicsDevice.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr int LevelStep = 10;
constexpr int ShownFrames = 90;
constexpr int LevelRight = 220;
constexpr int LevelTop = 24;
constexpr std::uint32_t LevelInk = 0xFF262833;
constexpr std::uint32_t LevelOutline = 0xFFFBFAF6;
constexpr int Offsets[][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, -2}, {0, 2}, {-2, 0}, {2, 0}};

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

void DrawVolumeLevel(GraphicsDevice& device, const std::string& level, bool outlined)
{
    if (level.empty())
        return;
    const int x = device.BackBufferWidth() - LevelRight;
    if (outlined) {
        for (const auto& offset : Offsets)
            device.DrawText(level, x + offset[0], LevelTop + offset[1], LevelOutline, TextFace::Sans);
    }
    device.DrawText(level, x, LevelTop, LevelInk, TextFace::Sans);
}
