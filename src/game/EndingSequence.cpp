#include "game/EndingSequence.h"

#include <cstdint>

#include "game/GameSounds.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr int SwingFrames = 30;
constexpr int SwingInterval = 10;
constexpr int ClearJingleFrame = 50;
constexpr int ClearMusicVolume = -750;
// The burning phase starts once the jingle has ended or played this far.
constexpr std::uint32_t JinglePlayedEnough = 200000;
constexpr int IgnitionInterval = 10;
// The menu opens this many ignition intervals after the last block caught fire.
constexpr int AfterglowIntervals = 9;

constexpr int SlowdownFrames = 120;
constexpr int FadeFromFrame = 60;
constexpr int MusicFadeDepth = -2000;
constexpr int StingFrame = 170;
constexpr int GameOverMusicVolume = -300;
constexpr int GameOverMenuFrame = 260;

}  // namespace

bool EndingSequence::Clear(const BlockList& blocks, SoundPlayer& sound)
{
    if (clearFrame < SwingFrames) {
        if (clearFrame % SwingInterval == 0)
            sound.PlayEffect(GameSound::ClearSwing, false);
        ++clearFrame;
        return false;
    }
    if (clearFrame < ClearJingleFrame) {
        if (clearFrame == SwingFrames) {
            burnLimit = (static_cast<int>(blocks.size()) + AfterglowIntervals) * IgnitionInterval;
            sound.SetMusicVolume(GameSound::Music, ClearMusicVolume);
            sound.PlayEffect(GameSound::ClearStrum, false);
        }
        ++clearFrame;
        if (clearFrame == ClearJingleFrame)
            sound.PlayEffect(GameSound::ClearJingle, false);
        return false;
    }
    // A sound just started may still report position 0, so "ended" is asked directly.
    if (sound.IsEffectPlaying(GameSound::ClearJingle) && sound.GetEffectPosition(GameSound::ClearJingle) < JinglePlayedEnough)
        return false;
    for (const std::shared_ptr<Block>& block : blocks)
        block->Update(&sound);
    ++burnTimer;
    if (burnIndex < static_cast<int>(blocks.size())) {
        if (burnTimer % IgnitionInterval == 0)
            blocks[static_cast<std::size_t>(burnIndex++)]->bursting = true;
        return false;
    }
    return burnTimer >= burnLimit;
}

bool EndingSequence::GameOver(SoundPlayer& sound, unsigned musicFrequency)
{
    if (gameOverFrame < SlowdownFrames) {
        const int t = ++gameOverFrame;
        // The music slides down to half its speed.
        const double slowdown = 1.0 + t / static_cast<double>(SlowdownFrames);
        sound.SetMusicFrequency(GameSound::Music, static_cast<unsigned>(musicFrequency / slowdown));
        if (t > FadeFromFrame) {
            const int volume = (t - FadeFromFrame) * MusicFadeDepth / (SlowdownFrames - FadeFromFrame);
            sound.SetMusicVolume(GameSound::Music, volume);
        }
        if (t == SlowdownFrames)
            sound.StopMusic(GameSound::Music);
    } else if (gameOverFrame < StingFrame) {
        if (++gameOverFrame == StingFrame) {
            sound.PlayEffect(GameSound::GameOver, false);
            sound.SetMusicVolume(GameSound::Music, GameOverMusicVolume);
            sound.PlayMusic(GameSound::Music);
        }
    } else if (gameOverFrame < GameOverMenuFrame) {
        return ++gameOverFrame == GameOverMenuFrame;
    }
    return false;
}
