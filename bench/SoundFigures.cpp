// Prints what sound costs: the time to load the Game scene's 19 sound files
// into a SoundPlayer, and the CPU time to mix one 16 ms frame on the loopback
// device while the game's music and effects play. Run it from the runtime
// directory (build/runtime), after a build has generated the sounds.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Figures.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr int LoadRuns = 15;
constexpr int MixFrames = 2000;
constexpr std::chrono::microseconds FramePeriod{16000};

// The Game scene's effects in load order (Load_End five times), then its music.
const char* const GameEffects[] = {
    "Player_Trans.wav", "Block_接着音.wav", "Block_Reverse.wav", "GameClear.wav", "Cursor2.wav", "決定音1.wav",
    "発射準備.wav", "発射音2.wav", "Load_End.wav", "Load_End.wav", "Load_End.wav", "Load_End.wav", "Load_End.wav",
    "GameOver.wav", "GameClearString_Swing.wav", "GameClearString_END.wav", "GameClear2.wav", "ClearBlock.wav",
};
const char* const GameMusic = "GameBGM.wav";

std::unique_ptr<SoundPlayer> LoadGameSounds(Application& application)
{
    auto sound = SoundPlayer::Create(application);
    for (const char* file : GameEffects)
        sound->AddEffect(std::string("Resource/Sound/") + file);
    sound->AddMusic(std::string("Resource/Sound/") + GameMusic);
    return sound;
}

double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}


}  // namespace

int main()
{
    Application application;
    AudioDevice& device = application.Audio();
    if (!device.OpenLoopback()) {
        std::fprintf(stderr, "sound_figures: cannot open the loopback device\n");
        return 1;
    }

    std::vector<double> loads;
    for (int run = 0; run < LoadRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        auto sound = LoadGameSounds(application);
        loads.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (sound->GetEffectLength(0) == 0 || sound->GetMusicFrequency(0) == 0) {
            std::fprintf(stderr, "sound_figures: the sounds did not load; run from build/runtime\n");
            return 1;
        }
    }
    std::printf("load the game's 19 sound files: median %.2f ms, first %.2f ms, best %.2f ms (%d runs)\n",
                Percentile(loads, 0.5), loads.front(), Percentile(loads, 0.0), LoadRuns);

    auto sound = LoadGameSounds(application);
    std::vector<double> idle;
    for (int frame = 0; frame < MixFrames; ++frame) {
        const double start = ThreadCpuMicroseconds();
        device.Advance(FramePeriod);
        idle.push_back(ThreadCpuMicroseconds() - start);
    }
    // Music, the charge loop, and a one-shot restarted every 10 frames as the burning blocks do.
    sound->PlayMusic(0);
    sound->PlayEffect(6, true);
    std::vector<double> busy;
    for (int frame = 0; frame < MixFrames; ++frame) {
        if (frame % 10 == 0)
            sound->PlayEffect(17, false);
        if (frame % 5 == 0)
            sound->PlayEffect(8 + frame / 5 % 5, false);
        const double start = ThreadCpuMicroseconds();
        device.Advance(FramePeriod);
        busy.push_back(ThreadCpuMicroseconds() - start);
    }
    std::printf("mix one 16 ms frame, nothing playing: median %.1f us, p99 %.1f us\n", Percentile(idle, 0.5),
                Percentile(idle, 0.99));
    std::printf("mix one 16 ms frame, music + charge loop + 2 effects: median %.1f us, p99 %.1f us (%.2f%% of a frame)\n",
                Percentile(busy, 0.5), Percentile(busy, 0.99), Percentile(busy, 0.5) / 160.0);
    return 0;
}
