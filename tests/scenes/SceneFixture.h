#pragma once

#include <string>
#include <vector>

#include "app/SceneManager.h"
#include "game/GameFixture.h"

// The menus and the editor on the headless device: the Game's test folder,
// with a small model under every name the title and the select screen draw,
// and images of known sizes for the layouts.
class SceneFixture : public GameFixture {
protected:
    void SetUp() override;

    // Builds the scene through the scene table, as the frame loop does.
    template <typename Scene>
    Scene& Build(SceneId id)
    {
        Scenes().ChangeScene(id);
        auto* scene = dynamic_cast<Scene*>(Scenes().Current());
        EXPECT_NE(scene, nullptr);
        return *scene;
    }
    // The draws of the next frame alone.
    std::vector<DrawRecord> NextFrameDraws();
    // The sprites of one image among draws, in order.
    static std::vector<DrawRecord> SpritesOf(const std::vector<DrawRecord>& draws, const std::string& image);
    static void ExpectAt(const DrawRecord& sprite, float x, float y, float scale = 1.0f);
    // "score:N" into the result file of (group, stage).
    void WriteScore(int group, int stage, const std::string& text);
};
