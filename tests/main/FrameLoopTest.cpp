#include <gtest/gtest.h>

#include <map>

#include "app/SceneManager.h"
#include "main/FrameLoop.h"
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
    explicit ScriptedObserver(int frameCount) : frames(frameCount) {}
    bool BeforeFrame(int frame) override
    {
        if (auto key = keysBefore.find(frame); key != keysBefore.end())
            Application::Instance().KeyEvent(key->second, true);
        return frame < frames;
    }
    bool AfterFrame(int frame) override
    {
        framesRun = frame + 1;
        return true;
    }

    int frames;
    int framesRun = 0;
    std::map<int, int> keysBefore;
};

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application::Reset();
        GraphicsDevice::Reset();
        SceneManager::Reset();
        SceneManager::Instance().SetFactory([this](SceneId id) {
            auto scene = std::make_unique<RecordingScene>(Name(id), log);
            if (auto setup = setups.find(id); setup != setups.end())
                setup->second(*scene);
            return scene;
        });
    }
    void TearDown() override
    {
        SceneManager::Reset();
        Application::Reset();
    }

    static std::string Name(SceneId id) { return id == SceneId::Title ? "title" : "game"; }

    void Run(ScriptedObserver& observer)
    {
        SceneManager::Instance().ChangeScene(static_cast<int>(SceneId::Title));
        FrameLoop loop(clock, &observer, true);
        loop.Run();
    }

    // A scene that asks to leave on its first update and fades for fadeFrames frames.
    void LeaveAfterFade(SceneId id, int fadeFrames, SceneId next)
    {
        setups[id] = [fadeFrames, next](RecordingScene& scene) {
            scene.onUpdate = [](RecordingScene& s) { s.leaving = true; };
            scene.onUpdateFadeOut = [fadeFrames, next, fade = 0](RecordingScene&) mutable {
                if (++fade >= fadeFrames) {
                    SceneManager::Instance().nextSceneId = static_cast<int>(next);
                    SceneManager::Instance().changePending = true;
                }
            };
        };
    }

    InstantClock clock;
    std::vector<std::string> log;
    std::map<SceneId, std::function<void(RecordingScene&)>> setups;
};

TEST_F(FrameLoopTest, EachFrameUpdatesThenDraws)
{
    ScriptedObserver observer(2);
    Run(observer);
    EXPECT_EQ(log, (std::vector<std::string>{"title built", "title Update", "title Draw", "title Update",
                                             "title Draw"}));
    EXPECT_FALSE(SceneManager::Instance().changePending);
}

TEST_F(FrameLoopTest, ALeavingSceneFadesThenIsReplacedAfterItsLastFadeFrame)
{
    LeaveAfterFade(SceneId::Title, 2, SceneId::Game);
    ScriptedObserver observer(4);
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
    ScriptedObserver observer(50);
    Run(observer);
    EXPECT_EQ(log.back(), "title DrawFadeOut");
    EXPECT_EQ(SceneManager::Instance().CurrentId(), SceneId::Title);
}

TEST_F(FrameLoopTest, QuitEndsTheLoopBeforeAnotherFrameEvenWithAChangePending)
{
    setups[SceneId::Title] = [](RecordingScene& scene) {
        scene.onUpdate = [](RecordingScene&) {
            SceneManager::Instance().nextSceneId = static_cast<int>(SceneId::Game);
            SceneManager::Instance().changePending = true;
        };
    };
    ScriptedObserver observer(10);
    observer.keysBefore[1] = VirtualKey::Escape;
    Run(observer);
    EXPECT_EQ(observer.framesRun, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"title built", "title Update", "title Draw"}));
}

TEST_F(FrameLoopTest, EscapeQuitsInTheMiddleOfAFade)
{
    LeaveAfterFade(SceneId::Title, 100, SceneId::Game);
    ScriptedObserver observer(200);
    observer.keysBefore[5] = VirtualKey::Escape;
    Run(observer);
    EXPECT_EQ(observer.framesRun, 5);
    EXPECT_EQ(log.back(), "title DrawFadeOut");
}

TEST_F(FrameLoopTest, PacedFramesTakeSixteenMillisecondsEach)
{
    ScriptedObserver observer(10);
    Run(observer);
    EXPECT_EQ(clock.now, 10 * FramePacer::FramePeriodNanoseconds);
}

}  // namespace
