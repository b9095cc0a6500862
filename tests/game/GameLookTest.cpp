#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "game/LookFixture.h"
#include "main/FrameLoop.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "platform/Window.h"
#include "render/GraphicsDevice.h"
#include "render/ShaderManager.h"

namespace {

using namespace BlockKind;

// Real Game frames with the real content through the software renderer: what
// only pixels show. Frames that are not looked at are only updated, which
// leaves the game as drawing them would.
class GameLook : public LookFixture {
protected:
    void Advance(int frames)
    {
        for (int i = 0; i < frames; ++i)
            Current().Update();
    }

    // From a standing start, once the fade-in is over: charging, turned to +x.
    void AimRight()
    {
        Advance(90);
        Hold(VirtualKey::Space);
        Advance(1);
        Hold(VirtualKey::Right);
        Advance(1);
        Release(VirtualKey::Right);
    }

    // The same, and the shot fired.
    void FireRight()
    {
        AimRight();
        Advance(10);
        Release(VirtualKey::Space);
        Advance(1);
    }

    // A black block turning over alone at (2, 0, 0), raised a cell, drawn at
    // a frame of its animation (the frame's update animates it to there).
    Picture FlipFrame(int frame, const std::string& name)
    {
        Start();
        FireRight();
        const FlipBatch& flips = Current().Flips();
        for (int i = 0; i < 100 && !flips.IsEmpty() && flips.entries.back().frame < frame - 1; ++i)
            Advance(1);
        EXPECT_FALSE(flips.IsEmpty());
        EXPECT_EQ(flips.entries.back().frame, frame - 1);
        return Frame(name);
    }

    // The player walls itself in with a shot that turns one block over; the
    // next frame draws the game over's given frame.
    void PlayToGameOverFrame(int frame)
    {
        WriteStage({{0, 0, 1, White}, {2, 0, 0, Black}, {3, 0, 0, White}, {7, 0, 7, Black}, {5, 0, 5, HardBlack},
                    {4, 0, 3, White}});
        Start();
        FireRight();
        for (int i = 0; i < 500 && Current().GameOverFrame() < frame - 1; ++i)
            Advance(1);
        ASSERT_EQ(Current().GameOverFrame(), frame - 1);
    }

    // The mean of the channel sums over a square about (x, y): 0 to 765.
    static double Brightness(const Picture& picture, std::pair<int, int> at, int half)
    {
        double sum = 0;
        int count = 0;
        for (int y = at.second - half; y <= at.second + half; ++y) {
            for (int x = at.first - half; x <= at.first + half; ++x) {
                const std::uint32_t p = PixelAt(picture, x, y);
                sum += Red(p) + Green(p) + Blue(p);
                ++count;
            }
        }
        return sum / count;
    }

};

TEST_F(GameLook, TheStageFadesInFromWhite)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Start();
    const Picture first = Frame("fade-in");
    for (const auto& [x, y] : {std::pair{640, 360}, {200, 600}, {1200, 100}, {640, 700}})
        EXPECT_GE(Red(PixelAt(first, x, y)), 250) << x << ", " << y;
}

// In a window of another size the picture is drawn off-screen, and the
// world straight into it instead of through the scene target.
TEST_F(GameLook, AQuietFrameDrawnOffScreenIsTheOneCopiedFromTheSceneTarget)
{
    App().GetWindow()->SetSize(1000, 600);
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}, {5, 0, 5, HardBlack}});
    Start();
    Advance(90);
    Frame("resized");
    const Picture offScreen = Frame("quiet-off-screen");
    Device().SetPassPrediction(false);
    Start();
    Advance(90);
    Frame("resized");
    ExpectSamePicture(offScreen, Frame("quiet-full-passes"));
}

// The launch marker is see-through and lit above 1 where it catches the light:
// blended over the board at 8 bits as it is in the float scene target, after
// clamping instead of before, it would come out darker and greener.
TEST_F(GameLook, TheLaunchMarkerOverTheBoardIsTheOneFromTheSceneTarget)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    const auto charging = [this](const std::string& name) {
        Start();
        AimRight();
        Advance(4);
        // The world lands straight in the back buffer only once it is off-screen,
        // from the frame after one that asked for it.
        Frame(name + "-on-screen");
        return Frame(name);
    };
    const Picture marked = charging("charging");
    Device().SetPassPrediction(false);
    ExpectSamePicture(marked, charging("charging-full-passes"));
}

TEST_F(GameLook, AFlippingBlockGlowsAroundItAndThePredictedPictureIsTheFullPassesOne)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    const Picture glowing = FlipFrame(35, "flip-glow");
    // Just above the raised block's top, at its middle and to the right: the
    // board behind, bright with the glow at frame 35 (its peak), plain at 55.
    const auto middle = ScreenOf({125, 75 + 25 + 30, 25});
    const auto right = ScreenOf({125 + 20, 75 + 25 + 30, 25});
    const Picture after = FlipFrame(55, "flip-after-glow");
    EXPECT_GT(Brightness(glowing, right, 3), Brightness(after, right, 3) + 60);
    EXPECT_GT(Brightness(glowing, middle, 3), Brightness(after, middle, 3) + 60);

    Device().SetPassPrediction(false);
    ExpectSamePicture(glowing, FlipFrame(35, "flip-glow-full-passes"));
}

// The glow copies are depth-tested against the frame so far; were they to
// write depth too, the larger copy would hide its own block, and the board
// would show through the middle of the halo. Without the blur chain no glow is
// added, so what remains at the block's centre is what the world drew there.
TEST_F(GameLook, TheFlippingBlockShowsItselfInEveryFrameOfItsGlow)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    Start();
    FireRight();
    Shaders().blur.reset();
    const FlipBatch& flips = Current().Flips();
    while (!flips.IsEmpty() && flips.entries.back().frame < 14)
        Advance(1);
    // The block has risen one cell; the world about it is the board.
    const auto centre = ScreenOf({125, 75, 25});
    for (int frame = 15; frame <= 54; ++frame) {
        const Picture picture = Frame("flip-" + std::to_string(frame));
        ASSERT_EQ(flips.entries.back().frame, frame);
        const std::uint32_t p = PixelAt(picture, centre.first, centre.second);
        // Black up to the turn-over point, then the white block's pearl; the
        // board is mint, far greener than red.
        if (frame <= 35)
            EXPECT_LT(std::max({Red(p), Green(p), Blue(p)}), 110) << "frame " << frame << ": " << std::hex << p;
        else
            EXPECT_LT(Green(p) - Red(p), 20) << "frame " << frame << ": " << std::hex << p;
        EXPECT_GT(Red(p) + 40, Green(p)) << "frame " << frame << ": the board shows through, " << std::hex << p;
    }
}

TEST_F(GameLook, TheGameOverLookTurnsTheSceneNegativeAndThePredictedPictureIsTheFullPassesOne)
{
    PlayToGameOverFrame(159);
    const Picture before = Frame("game-over-159");
    const Picture negative = Frame("game-over-160");
    // The board at (7, 3), clear of blocks and banner.
    const auto [x, y] = ScreenOf({375, 0, 175});
    for (int dy = -4; dy <= 4; dy += 4) {
        for (int dx = -4; dx <= 4; dx += 4) {
            const std::uint32_t was = PixelAt(before, x + dx, y + dy);
            const std::uint32_t is = PixelAt(negative, x + dx, y + dy);
            EXPECT_NEAR(Red(is), 255 - Red(was), 3);
            EXPECT_NEAR(Green(is), 255 - Green(was), 3);
            EXPECT_NEAR(Blue(is), 255 - Blue(was), 3);
        }
    }

    // The same two frames again: each draw moves the sky on.
    Device().SetPassPrediction(false);
    PlayToGameOverFrame(159);
    Frame("game-over-159-full-passes");
    ExpectSamePicture(negative, Frame("game-over-160-full-passes"));
}

}  // namespace
