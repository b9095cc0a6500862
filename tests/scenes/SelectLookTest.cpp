#include <gtest/gtest.h>

#include "app/SceneManager.h"
#include "game/LookFixture.h"
#include "platform/VirtualKey.h"
#include "render/GraphicsDevice.h"
#include "scenes/Select.h"

namespace {

using namespace BlockKind;

// The select screen's cube with a stage on every face, through the real
// renderer: the stages its far faces hold are hidden by the cube and left
// undrawn, which must not show.
class SelectLook : public LookFixture {
protected:
    void SetUp() override
    {
        LookFixture::SetUp();
        // Blocks at the corners and edges, where they stick out past the
        // cube's outline while it turns.
        for (int stage = 1; stage <= 6; ++stage) {
            WriteStage({{0, 0, 0, Black}, {9, 0, 0, White}, {0, 0, 9, HardBlack}, {9, 0, 9, Black}, {4, 0, 0, White},
                        {9, 0, 5, HardBlack}, {5, 0, 5, Black}, {0, 1, 0, White}},
                       stage);
        }
    }

    // Past the fade-in, then halfway through a turn to the next stage.
    Picture MidTurn(const std::string& name)
    {
        Scenes().ChangeScene(SceneId::Select);
        Advance(85);
        Hold(VirtualKey::Right);
        Advance(1);
        Release(VirtualKey::Right);
        Advance(14);
        return Frame(name);
    }

    void Advance(int frames)
    {
        for (int i = 0; i < frames; ++i)
            Scenes().Current()->Update();
    }
};

TEST_F(SelectLook, TheCubeTurningWithItsFarStagesUndrawnLooksAsWithEveryStageDrawn)
{
    const Picture culled = MidTurn("select-mid-turn");
    Device().SetPassPrediction(false);
    ExpectSamePicture(culled, MidTurn("select-mid-turn-full-passes"));
}

}  // namespace
