#include <gtest/gtest.h>

#include "app/FadeOut.h"
#include "app/SceneManager.h"

namespace {

// Frames from a clear screen until the change is asked for.
int FramesToChange(FadeChange when, int& fade)
{
    SceneManager scenes;
    for (int frame = 1; frame < 1000; ++frame) {
        const bool asked = FadeOutAndChange(fade, scenes, SceneId::Select, when);
        EXPECT_EQ(asked, scenes.changePending);
        if (asked) {
            EXPECT_EQ(scenes.nextSceneId, SceneId::Select);
            return frame;
        }
    }
    return -1;
}

TEST(FadeOut, TheChangeComesOnTheOpaqueFrameOrOnTheFrameAfter)
{
    int fade = 0;
    EXPECT_EQ(FramesToChange(FadeChange::OnOpaqueFrame, fade), 85);
    EXPECT_EQ(fade, FadeOpaque);
    fade = 0;
    EXPECT_EQ(FramesToChange(FadeChange::FrameAfterOpaque, fade), 86);
    EXPECT_EQ(fade, FadeOpaque);
}

TEST(FadeOut, AFadeThatOvershootsIsHeldAtOpaque)
{
    int fade = 254;
    EXPECT_EQ(FramesToChange(FadeChange::OnOpaqueFrame, fade), 1);
    EXPECT_EQ(fade, FadeOpaque);
    // The title shows its overshooting frame once before it holds.
    fade = 254;
    SceneManager scenes;
    EXPECT_FALSE(FadeOutAndChange(fade, scenes, SceneId::Select, FadeChange::FrameAfterOpaque));
    EXPECT_EQ(fade, 257);
    EXPECT_TRUE(FadeOutAndChange(fade, scenes, SceneId::Select, FadeChange::FrameAfterOpaque));
    EXPECT_EQ(fade, FadeOpaque);
}

}  // namespace
