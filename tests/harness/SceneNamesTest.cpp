#include <gtest/gtest.h>

#include <string>

#include "HarnessOptions.h"
#include "JsonWriter.h"
#include "SceneTrace.h"
#include "app/SceneManager.h"
#include "rules/BlockKind.h"
#include "scenes/SceneFixture.h"

namespace {

// A scene named on the harness's command line is the scene built, and what
// its trace reports of it lies under the same name.
class SceneNames : public SceneFixture {
protected:
    SceneId Parsed(std::string_view name)
    {
        HarnessOptions options;
        std::string error;
        EXPECT_TRUE(ParseHarnessOptions({"--scene", std::string(name)}, "", options, error)) << error;
        return options.scene;
    }

    std::string Trace()
    {
        JsonWriter json;
        json.BeginObject();
        WriteSceneTrace(*Scenes().Current(), Scenes(), json);
        json.EndObject();
        return json.Text();
    }
};

TEST_F(SceneNames, EveryListedSceneIsChosenBuiltAndTracedByItsName)
{
    WriteStage({{2, 0, 0, BlockKind::Black}, {3, 0, 0, BlockKind::White}});
    for (const SceneEntry& scene : SceneList) {
        const SceneId id = Parsed(scene.name);
        EXPECT_EQ(id, scene.id) << scene.name;
        Scenes().ChangeScene(id);
        ASSERT_NE(Scenes().Current(), nullptr) << scene.name << " has no maker in the scene table";
        EXPECT_EQ(SceneName(Scenes().CurrentId()), scene.name);
        const std::string trace = Trace();
        EXPECT_TRUE(trace == "{}" || trace.starts_with("{\"" + std::string(scene.name) + "\":{")) << trace;
    }
}

}  // namespace
