// What one Game frame's update costs on a busy stage: 330 blocks, seven of
// them turning over one after another while twenty burst into particles
// (GameFrameBusy), and the same stage with nothing moving, when every frame
// re-examines the whole stage (GameFrameIdle). The stage and the block model
// are written to a temporary folder, so it runs from anywhere, headless and
// silent. The figure to read is the median of the repetitions, ns per frame.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "main/GameContext.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/VirtualKey.h"

namespace {

namespace fs = std::filesystem;

// The frames after the shot in which the batch and the bursts both run.
constexpr int FirstBusyFrame = 14;
constexpr int LastBusyFrame = 90;

const char* const BlockModel = R"(xof 0303txt 0032
Mesh Block {
 4;
 -25.0;-25.0;-25.0;, 25.0;-25.0;-25.0;, 0.0;25.0;0.0;, 0.0;-25.0;25.0;;
 4;
 3;0,1,2;, 3;1,3,2;, 3;3,0,2;, 3;0,3,1;;
 MeshMaterialList { 1; 4; 0, 0, 0, 0;; Material White { 1.0;1.0;1.0;1.0;; 10.0; 0.3;0.3;0.3;; 0.0;0.0;0.0;; } }
}
)";

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Record(int x, int y, int z, int kind)
{
    return "x:" + std::to_string(x) + ",y:" + std::to_string(y) + ",z:" + std::to_string(z) +
           ",sf:" + std::to_string(kind) + ",af:0,pf:0\n";
}

// Ahead of the player's first shot to +x: seven black blocks closed by a
// white one. Above: three full layers of black and white rows, and twenty
// blocks already bursting.
std::string BusyStage()
{
    std::string text;
    for (int x = 2; x <= 8; ++x)
        text += Record(x, 0, 0, 2);
    text += Record(9, 0, 0, 1);
    text += Record(5, 0, 5, 2) + Record(6, 0, 5, 1);
    for (int y = 1; y <= 3; ++y) {
        for (int x = 0; x < 10; ++x) {
            for (int z = 0; z < 10; ++z)
                text += Record(x, y, z, z % 2 == 0 ? 2 : 1);
        }
    }
    for (int i = 0; i < 20; ++i)
        text += Record(i % 10, 9, i / 10, 4);
    return text;
}

// A headless device, silent sound and the stage folder, for the whole run.
class Stage {
public:
    Stage() : folder(fs::temp_directory_path() / ("orb-game-frame-" + std::to_string(getpid())))
    {
        WriteFile(folder / "Resource/Data/WhiteBlock/Model.x", BlockModel);
        WriteFile(folder / "Resource/BData/STAGE1/Stage001.txt", BusyStage());
        WriteFile(folder / "Resource/BData/STAGE1/Result1.txt", "score:0");
        fs::current_path(folder);
        context.application.SetMessageResponder(DefaultAnswer);
        context.application.Audio().OpenLoopback();
        std::string error;
        context.Start(false, error);
    }
    ~Stage()
    {
        fs::current_path(fs::temp_directory_path());
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // A fresh Game whose shot has just landed: the batch and the bursts run.
    std::unique_ptr<Game> Fired()
    {
        auto game = std::make_unique<Game>(context.ForScenes());
        Application& application = context.application;
        application.KeyEvent(VirtualKey::Space, true);
        game->Update();
        application.KeyEvent(VirtualKey::Right, true);
        game->Update();
        application.KeyEvent(VirtualKey::Right, false);
        for (int i = 0; i < 10; ++i)
            game->Update();
        application.KeyEvent(VirtualKey::Space, false);
        game->Update();
        return game;
    }

    std::unique_ptr<Game> Idle() { return std::make_unique<Game>(context.ForScenes()); }

private:
    fs::path folder;
    // After the folder: the games' models and images go before it is removed.
    GameContext context;
};

void GameFrameBusy(benchmark::State& state, Stage& stage)
{
    std::unique_ptr<Game> game;
    int frame = LastBusyFrame;
    for (auto _ : state) {
        if (frame == LastBusyFrame) {
            state.PauseTiming();
            game = stage.Fired();
            frame = FirstBusyFrame;
            state.ResumeTiming();
        }
        game->Update();
        ++frame;
    }
    state.counters["blocks"] = static_cast<double>(game->Blocks().size());
    state.counters["turning"] = static_cast<double>(game->Flips().entries.size());
}

void GameFrameIdle(benchmark::State& state, Stage& stage)
{
    auto game = stage.Idle();
    for (auto _ : state)
        game->Update();
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Stage stage;
    benchmark::RegisterBenchmark("GameFrameBusy", GameFrameBusy, std::ref(stage))->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("GameFrameIdle", GameFrameIdle, std::ref(stage))->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
