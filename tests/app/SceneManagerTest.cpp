#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/SceneManager.h"
#include "support/RecordingScene.h"

namespace {

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        manager = std::make_unique<SceneManager>();
        manager->SetFactory([this](SceneId id) {
            return std::make_unique<RecordingScene>(std::to_string(static_cast<int>(id)), log);
        });
    }
    SceneManager& Scenes() { return *manager; }

    std::vector<std::string> log;
    std::unique_ptr<SceneManager> manager;
};

TEST_F(SceneManagerTest, TheOldSceneIsDestroyedBeforeTheNewOneIsBuilt)
{
    SceneManager& scenes = Scenes();
    scenes.ChangeScene(SceneId::Game);
    scenes.changePending = true;
    scenes.ChangeScene(SceneId::Game);
    EXPECT_EQ(log, (std::vector<std::string>{"1 built", "1 destroyed", "1 built"}));
    EXPECT_FALSE(scenes.changePending);
    EXPECT_EQ(scenes.CurrentId(), SceneId::Game);
}

TEST_F(SceneManagerTest, EveryListedSceneIsBuiltUnderItsOwnNumber)
{
    SceneManager& scenes = Scenes();
    for (const SceneEntry& scene : SceneList) {
        scenes.ChangeScene(scene.id);
        EXPECT_EQ(scenes.CurrentId(), scene.id) << scene.name;
        EXPECT_EQ(log.back(), std::to_string(static_cast<int>(scene.id)) + " built") << scene.name;
    }
}

TEST_F(SceneManagerTest, ANumberNoSceneHasChangesNothing)
{
    int pastTheList = 0;
    for (const SceneEntry& scene : SceneList)
        pastTheList = std::max(pastTheList, static_cast<int>(scene.id) + 1);
    SceneManager& scenes = Scenes();
    scenes.ChangeScene(SceneId::Select);
    BaseScene* before = scenes.Current();
    scenes.changePending = true;
    scenes.ChangeScene(static_cast<SceneId>(pastTheList));
    scenes.ChangeScene(static_cast<SceneId>(-1));
    EXPECT_EQ(scenes.Current(), before);
    EXPECT_EQ(scenes.CurrentId(), SceneId::Select);
    EXPECT_TRUE(scenes.changePending) << "an ignored change leaves the request as it was";
    EXPECT_EQ(log, (std::vector<std::string>{"3 built"}));
}

TEST_F(SceneManagerTest, StageChoiceSurvivesEverySceneChange)
{
    SceneManager& scenes = Scenes();
    EXPECT_EQ(scenes.stage.group, 1);
    EXPECT_EQ(scenes.stage.number, 1);
    scenes.stage.group = 3;
    scenes.stage.number = 5;
    for (const SceneEntry& scene : SceneList)
        scenes.ChangeScene(scene.id);
    EXPECT_EQ(scenes.stage.group, 3);
    EXPECT_EQ(scenes.stage.number, 5);
}

TEST_F(SceneManagerTest, TheManagersEndDestroysTheCurrentScene)
{
    Scenes().ChangeScene(SceneId::Edit);
    manager.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"2 built", "2 destroyed"}));
}

}  // namespace
