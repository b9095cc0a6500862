#include <gtest/gtest.h>

#include <map>

#include "app/SceneManager.h"
#include "main/FrameLoop.h"
#include "main/GameContext.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "render/GraphicsDevice.h"
#include "support/RecordingScene.h"

namespace {

class InstantClock final : public Clock {
public:
    std::int64_t NowNanoseconds() override { return now; }
    void SleepUntil(std::int64_t deadline) override { now = std::max(now, deadline); }
    std::int64_t now = 0;
};

// Stops after a number of frames and can press keys before a frame.
class ScriptedObserver final : public FrameObserver {
public:
    ScriptedObserver(Application& keysTo, int frameCount) : application(keysTo), frames(frameCount) {}
    bool BeforeFrame(int frame) override
    {
        if (auto key = keysBefore.find(frame); key != keysBefore.end())
            application.KeyEvent(key->second, true);
        return frame < frames;
    }
    bool AfterFrame(int frame) override
    {
        framesRun = frame + 1;
        return true;
    }

    Application& application;
    int frames;
    int framesRun = 0;
    std::map<int, int> keysBefore;
};

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Scenes().SetFactory([this](SceneId id) {
            auto scene = std::make_unique<RecordingScene>(Name(id), log);
            if (auto setup = setups.find(id); setup != setups.end())
                setup->second(*scene);
            return scene;
        });
    }
    SceneManager& Scenes() { return context.scenes; }

    static std::string Name(SceneId id) { return id == SceneId::Title ? "title" : "game"; }

    void Run(ScriptedObserver& observer)
    {
        Scenes().ChangeScene(SceneId::Title);
        FrameLoop loop(context, clock, &observer, true);
        loop.Run();
    }

    // A scene that asks to leave on its first update and fades for fadeFrames frames.
    void LeaveAfterFade(SceneId id, int fadeFrames, SceneId next)
    {
        setups[id] = [this, fadeFrames, next](RecordingScene& scene) {
            scene.onUpdate = [](RecordingScene& s) { s.leaving = true; };
            scene.onUpdateFadeOut = [this, fadeFrames, next, fade = 0](RecordingScene&) mutable {
                if (++fade >= fadeFrames)
                    Scenes().RequestChange(next);
            };
        };
    }

    InstantClock clock;
    // Before the context: its scene writes here as it goes.
    std::vector<std::string> log;
    std::map<SceneId, std::function<void(RecordingScene&)>> setups;
    GameContext context;
};

TEST_F(FrameLoopTest, EachFrameUpdatesThenDraws)
{
    ScriptedObserver observer(context.application, 2);
    Run(observer);
    EXPECT_EQ(log, (std::vector<std::string>{"title built", "title Update", "title Draw", "title Update",
                                             "title Draw"}));
    EXPECT_FALSE(Scenes().changePending);
}

TEST_F(FrameLoopTest, ALeavingSceneFadesThenIsReplacedAfterItsLastFadeFrame)
{
    LeaveAfterFade(SceneId::Title, 2, SceneId::Game);
    ScriptedObserver observer(context.application, 4);
    Run(observer);
    EXPECT_EQ(log, (std::vector<std::string>{"title built", "title Update", "title Draw", "title UpdateFadeOut",
                                             "title DrawFadeOut", "title UpdateFadeOut", "title DrawFadeOut",
                                             "title destroyed", "game built", "game Update", "game Draw"}));
}

TEST_F(FrameLoopTest, WithoutAPendingChangeALeavingSceneStaysForever)
{
    setups[SceneId::Title] = [](RecordingScene& scene) {
        scene.onUpdate = [](RecordingScene& s) { s.leaving = true; };
    };
    ScriptedObserver observer(context.application, 50);
    Run(observer);
    EXPECT_EQ(log.back(), "title DrawFadeOut");
    EXPECT_EQ(Scenes().CurrentId(), SceneId::Title);
}

TEST_F(FrameLoopTest, QuitEndsTheLoopBeforeAnotherFrameEvenWithAChangePending)
{
    setups[SceneId::Title] = [this](RecordingScene& scene) {
        scene.onUpdate = [this](RecordingScene&) { Scenes().RequestChange(SceneId::Game); };
    };
    ScriptedObserver observer(context.application, 10);
    observer.keysBefore[1] = VirtualKey::Escape;
    Run(observer);
    EXPECT_EQ(observer.framesRun, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"title built", "title Update", "title Draw"}));
}

TEST_F(FrameLoopTest, EscapeQuitsInTheMiddleOfAFade)
{
    LeaveAfterFade(SceneId::Title, 100, SceneId::Game);
    ScriptedObserver observer(context.application, 200);
    observer.keysBefore[5] = VirtualKey::Escape;
    Run(observer);
    EXPECT_EQ(observer.framesRun, 5);
    EXPECT_EQ(log.back(), "title DrawFadeOut");
}

TEST_F(FrameLoopTest, PacedFramesTakeSixteenMillisecondsEach)
{
    ScriptedObserver observer(context.application, 10);
    Run(observer);
    EXPECT_EQ(clock.now, 10 * FramePacer::FramePeriodNanoseconds);
}

}  // namespace
