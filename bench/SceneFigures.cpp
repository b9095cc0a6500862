// The figures a player feels outside a stage: how long the program takes to
// show its first title frame, how long Enter on a stage takes to give the
// first game frame (the Game's construction with its loading), and what a
// title frame, a select frame of the hard group while its cube turns and an
// editor frame cost on the renderer there is (Mesa's software one without a
// GPU), as ratios to the 16 ms budget beside the goal for each. Medians of
// repeated runs.
// Run it from build/runtime; without a display it renders off-screen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "Figures.h"
#include "app/SceneManager.h"
#include "main/FrameLoop.h"
#include "main/GameProgram.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"

namespace {

using Steady = std::chrono::steady_clock;
constexpr int Repeats = 9;
constexpr int Frames = 120;
// The select cube is turned a face every this many frames (a turn takes fewer).
constexpr int TurnEvery = 30;
// The goals, as ratios to the budget: the menus leave the renderer room to spare.
constexpr double TitleGoal = 0.30;
constexpr double SelectGoal = 0.60;
constexpr double EditorGoal = 0.30;

double Ms(Steady::time_point from)
{
    return std::chrono::duration<double, std::milli>(Steady::now() - from).count();
}


// Frames of the current scene as the loop runs them, each waited for on the
// renderer; with turnEvery, Right is pressed that often.
std::vector<double> TimeFrames(GameContext& context, int count, int turnEvery = 0)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        if (turnEvery > 0)
            context.application.KeyEvent(VirtualKey::Right, i % turnEvery == 0);
        const auto start = Steady::now();
        RunFrame(context);
        context.device.WaitForGpu();
        times.push_back(Ms(start));
        context.application.Audio().Advance(std::chrono::microseconds(16000));
    }
    return times;
}

// The scene's construction alone, and with its first frame.
std::pair<double, double> TimeSceneChange(GameContext& context, SceneId id)
{
    const auto start = Steady::now();
    context.scenes.ChangeScene(id);
    const double built = Ms(start);
    RunFrame(context);
    context.device.WaitForGpu();
    return {built, Ms(start)};
}

void Report(const char* what, const std::vector<double>& times, double goal = 0.0)
{
    const double median = Percentile(times, 0.5);
    const double p99 = Percentile(times, 0.99);
    std::printf("  %-34s median %8.2f ms (%.2f of 16 ms), p99 %8.2f ms (%.2f)", what, median, median / FrameBudgetMs, p99,
                p99 / FrameBudgetMs);
    if (goal > 0.0)
        std::printf("  goal: median %.2f", goal);
    std::printf("\n");
}

}  // namespace

int main()
{
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::vector<double> startup;
    std::vector<double> toGame;
    std::vector<double> toSelect;
    std::vector<double> gameBuilt;
    std::vector<double> selectBuilt;
    std::vector<double> titleFrames;
    std::vector<double> selectFrames;
    std::vector<double> editorFrames;
    for (int run = 0; run < Repeats; ++run) {
        const auto start = Steady::now();
        GameProgram program;
        GameContext& context = program.Context();
        context.application.SetMessageResponder(DefaultAnswer);
        context.application.Audio().OpenLoopback();
        std::string error;
        if (!program.Start({false, SceneId::Title}, error)) {
            std::fprintf(stderr, "scene_figures: %s\n", error.c_str());
            return 1;
        }
        SceneManager& scenes = context.scenes;
        scenes.ChangeScene(SceneId::Title);
        RunFrame(context);
        context.device.WaitForGpu();
        startup.push_back(Ms(start));
        const auto title = TimeFrames(context, Frames);
        titleFrames.insert(titleFrames.end(), title.begin(), title.end());

        scenes.stage.group = 3;
        const auto [selectConstruction, selectFirst] = TimeSceneChange(context, SceneId::Select);
        selectBuilt.push_back(selectConstruction);
        toSelect.push_back(selectFirst);
        const auto select = TimeFrames(context, Frames, TurnEvery);
        selectFrames.insert(selectFrames.end(), select.begin(), select.end());
        context.application.KeyEvent(VirtualKey::Right, false);
        scenes.stage.number = 6;
        const auto [gameConstruction, gameFirst] = TimeSceneChange(context, SceneId::Game);
        gameBuilt.push_back(gameConstruction);
        toGame.push_back(gameFirst);
        scenes.ChangeScene(SceneId::Edit);
        const auto editor = TimeFrames(context, Frames);
        editorFrames.insert(editorFrames.end(), editor.begin(), editor.end());
    }
    std::printf("Scenes at 1280 x 720, %d runs\n", Repeats);
    Report("start to the first title frame", startup);
    Report("Select construction", selectBuilt);
    Report("Enter to the first Select frame", toSelect);
    Report("Game construction", gameBuilt);
    Report("Enter to the first Game frame", toGame);
    Report("title frame", titleFrames, TitleGoal);
    Report("select frame, hard group, turning", selectFrames, SelectGoal);
    Report("editor frame", editorFrames, EditorGoal);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("  %-30s %8.1f MiB\n", "peak resident memory", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
