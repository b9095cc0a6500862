#include <gtest/gtest.h>

#include "app/SceneManager.h"
#include "support/RecordingScene.h"

namespace {

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SceneManager::Reset();
        SceneManager::Instance().SetFactory([this](SceneId id) {
            return std::make_unique<RecordingScene>(std::to_string(static_cast<int>(id)), log);
        });
    }
    void TearDown() override { SceneManager::Reset(); }

    std::vector<std::string> log;
};

TEST_F(SceneManagerTest, TheOldSceneIsDestroyedBeforeTheNewOneIsBuilt)
{
    SceneManager& scenes = SceneManager::Instance();
    scenes.ChangeScene(static_cast<int>(SceneId::Game));
    scenes.changePending = true;
    scenes.ChangeScene(static_cast<int>(SceneId::Game));
    EXPECT_EQ(log, (std::vector<std::string>{"1 built", "1 destroyed", "1 built"}));
    EXPECT_FALSE(scenes.changePending);
    EXPECT_EQ(scenes.CurrentId(), SceneId::Game);
}

TEST_F(SceneManagerTest, AnUnknownIdChangesNothing)
{
    SceneManager& scenes = SceneManager::Instance();
    scenes.ChangeScene(static_cast<int>(SceneId::Select));
    BaseScene* before = scenes.Current();
    scenes.changePending = true;
    scenes.ChangeScene(4);
    scenes.ChangeScene(-1);
    EXPECT_EQ(scenes.Current(), before);
    EXPECT_TRUE(scenes.changePending) << "an ignored change leaves the request as it was";
    EXPECT_EQ(log, (std::vector<std::string>{"3 built"}));
}

TEST_F(SceneManagerTest, StageChoiceSurvivesEverySceneChange)
{
    SceneManager& scenes = SceneManager::Instance();
    EXPECT_EQ(scenes.stageGroup, 1);
    EXPECT_EQ(scenes.stageNumber, 1);
    scenes.stageGroup = 3;
    scenes.stageNumber = 5;
    for (int id = 0; id < 4; ++id)
        scenes.ChangeScene(id);
    EXPECT_EQ(scenes.stageGroup, 3);
    EXPECT_EQ(scenes.stageNumber, 5);
}

TEST_F(SceneManagerTest, ResetDestroysTheCurrentScene)
{
    SceneManager::Instance().ChangeScene(static_cast<int>(SceneId::Edit));
    SceneManager::Reset();
    EXPECT_EQ(log, (std::vector<std::string>{"2 built", "2 destroyed"}));
}

}  // namespace
