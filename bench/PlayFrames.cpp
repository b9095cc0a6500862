// Times whole frames of the real game, as the frame loop runs them: the Game
// scene's update, draw and present at 1280 × 720, over the stage the game
// views play (docs/game-views: a shot dissolving, a batch of flips, the clear
// sequence with its bursts, the menu, the fade-out). First on the real device
// (Mesa's software renderer where there is no GPU), waiting for the renderer
// at the end of each frame, as first designed and then with the play aids;
// then on the recording device, which is the CPU's share alone. Prints the median and 99th percentile of the frame time, as a
// ratio to the 16 ms budget, over all frames and by what the frame shows.
// Runs from anywhere; without a display it renders off-screen.
//   play_frames [TIMES.tsv]   also writes each real frame's time (for frame_plot)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "Figures.h"
#include "KeyScript.h"
#include "game/FlipBatch.h"
#include "game/Game.h"
#include "main/FrameLoop.h"
#include "main/GameProgram.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The play run of the game views, up to the middle of the fade-out.
constexpr int Frames = 580;
constexpr auto AudioPerFrame = std::chrono::microseconds(16000);

const fs::path Views = fs::path(ORB_SOURCE_DIR) / "docs" / "game-views";

// What a frame shows, for the figures by kind of frame.
std::string Showing(const Game& game)
{
    if (game.leaving)
        return "fade-out";
    if (game.MenuOpen())
        return "menu";
    if (game.Cleared())
        return "clear sequence";
    if (!game.Flips().IsEmpty())
        return "turning over";
    if (game.Fade() > 0)
        return "fade-in";
    const auto& shards = game.Shards();
    if (std::any_of(shards.begin(), shards.end(), [](const CellShard& shard) { return shard.visible; }))
        return "shards";
    return "playing";
}


// Applies the key script before each frame and times the frame from its
// events to its end on the renderer.
class FrameTimer final : public FrameObserver {
public:
    FrameTimer(std::vector<KeyChange> changes, GameContext& gameContext) : context(gameContext), keys(std::move(changes))
    {
    }

    bool BeforeFrame(int frame) override
    {
        if (frame >= Frames)
            return false;
        for (; nextKey < keys.size() && keys[nextKey].frame <= frame; ++nextKey)
            context.application.KeyEvent(keys[nextKey].virtualKey, keys[nextKey].down);
        start = Clock::now();
        return true;
    }

    bool AfterFrame(int frame) override
    {
        context.device.WaitForGpu();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        const auto* game = dynamic_cast<const Game*>(context.scenes.Current());
        const std::string showing = game ? Showing(*game) : "other";
        times["all frames"].push_back(ms);
        times[showing].push_back(ms);
        perFrame.push_back({frame, ms, showing});
        // The harness's way: sound mixes 16 ms a frame into memory, outside the timing.
        context.application.Audio().Advance(AudioPerFrame);
        return frame + 1 < Frames;
    }

    struct FrameTime {
        int frame;
        double ms;
        std::string showing;
    };
    std::map<std::string, std::vector<double>> times;
    std::vector<FrameTime> perFrame;

private:
    GameContext& context;
    std::vector<KeyChange> keys;
    std::size_t nextKey = 0;
    Clock::time_point start;
};

// A folder with the build's content and the game views' first stage.
fs::path MakeDataFolder()
{
    const fs::path folder = fs::temp_directory_path() / ("orb-play-frames-" + std::to_string(getpid()));
    const fs::path runtime(ORB_RUNTIME_DIR);
    fs::create_directories(folder / "Resource/BData/STAGE1");
    for (const char* content : {"Resource/Data", "Resource/Texture", "Resource/Sound", "Shader"})
        fs::create_directory_symlink(runtime / content, folder / content);
    fs::copy_file(Views / "Stage001.txt", folder / "Resource/BData/STAGE1/Stage001.txt");
    std::ofstream(folder / "Resource/BData/STAGE1/Result1.txt") << "score:0";
    return folder;
}

// The play aids add a search beside the frames after every shot, ghosts and
// marks in the world and lines over it; their run shows what that costs.
bool Run(bool headless, bool assists, const std::vector<KeyChange>& keys, const std::string& timesFile)
{
    GameProgram program;
    GameContext& context = program.Context();
    context.application.SetMessageResponder(DefaultAnswer);
    context.application.Audio().OpenLoopback();
    context.scenes.stageGroup = 1;
    context.scenes.stageNumber = 1;
    std::string error;
    if (!program.Start({.headless = headless, .firstScene = SceneId::Game, .settings = {.assists = assists}}, error)) {
        std::fprintf(stderr, "play_frames: %s\n", error.c_str());
        return false;
    }
    FrameTimer timer(keys, context);
    program.Run(&timer, false);

    if (!timesFile.empty()) {
        std::ofstream out(timesFile);
        for (const FrameTimer::FrameTime& time : timer.perFrame)
            out << time.frame << '\t' << time.ms << '\t' << time.showing << '\n';
    }
    std::printf("%s%s\n", headless ? "Recording device (the CPU's share alone)" : "Real device, 1280 × 720",
                assists ? ", with the play aids" : "");
    // The CPU's share is a few microseconds: nanoseconds read better there.
    const double scale = headless ? 1e6 : 1.0;
    const char* unit = headless ? "ns" : "ms";
    std::printf("  %-16s %6s %8s %-2s %8s %8s %-2s %8s\n", "frames showing", "count", "median", unit, "ratio", "p99", unit,
                "ratio");
    for (const char* kind : {"all frames", "fade-in", "playing", "shards", "turning over", "clear sequence", "menu",
                             "fade-out"}) {
        const auto found = timer.times.find(kind);
        if (found == timer.times.end())
            continue;
        const double median = Percentile(found->second, 0.5);
        const double p99 = Percentile(found->second, 0.99);
        std::printf("  %-16s %6zu %11.3f %8.4f %11.3f %8.4f\n", kind, found->second.size(), median * scale,
                    median / FrameBudgetMs, p99 * scale, p99 / FrameBudgetMs);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string timesFile = argc > 1 ? fs::absolute(argv[1]).string() : "";
    std::ifstream script(Views / "play.keys");
    std::vector<KeyChange> keys;
    std::string error;
    if (!script || !ParseKeyScript(script, keys, error)) {
        std::fprintf(stderr, "play_frames: cannot read %s %s\n", (Views / "play.keys").c_str(), error.c_str());
        return 1;
    }
    const fs::path folder = MakeDataFolder();
    fs::current_path(folder);
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const bool ok = Run(false, false, keys, timesFile) && Run(false, true, keys, "") && Run(true, false, keys, "");
    fs::current_path(fs::temp_directory_path());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return ok ? 0 : 1;
}
