#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "game/Game.h"
#include "game/GameFixture.h"
#include "game/Reverse.h"
#include "main/FrameLoop.h"
#include "platform/VirtualKey.h"
#include "render/GraphicsDevice.h"

namespace {

using namespace BlockKind;

using Picture = std::vector<std::uint8_t>;

// Real Game frames with the real content through the software renderer: what
// only pixels show. Frames that are not looked at are only updated, which
// leaves the game as drawing them would. With ORB_LOOK_DIR set, the pictures
// looked at are written there.
class GameLook : public GameFixture {
protected:
    void SetUp() override
    {
        const std::filesystem::path runtime(ORB_RUNTIME_DIR);
        std::filesystem::create_directories("Resource");
        for (const char* folder : {"Resource/Data", "Resource/Texture"})
            std::filesystem::create_directory_symlink(runtime / folder, folder);
        StartGame(true);
    }

    void Advance(int frames)
    {
        for (int i = 0; i < frames; ++i)
            Current().Update();
    }

    // One whole frame, drawn and presented: the picture as the window shows it.
    Picture Frame(const std::string& name)
    {
        Picture pixels;
        GraphicsDevice::Instance().CaptureNextPresent(&pixels);
        RunFrame();
        if (const char* folder = std::getenv("ORB_LOOK_DIR"))
            WritePicture(std::string(folder) + "/" + name + ".png", pixels);
        return pixels;
    }

    // From a standing start, once the fade-in is over: one shot to +x.
    void FireRight()
    {
        Advance(90);
        Hold(VirtualKey::Space);
        Advance(1);
        Hold(VirtualKey::Right);
        Advance(1);
        Release(VirtualKey::Right);
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
        const Reverse& reverse = Current().GetReverse();
        for (int i = 0; i < 100 && !reverse.IsEmpty() && reverse.entries.back().frame < frame - 1; ++i)
            Advance(1);
        EXPECT_FALSE(reverse.IsEmpty());
        EXPECT_EQ(reverse.entries.back().frame, frame - 1);
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

    // The largest difference of any channel, and how many pixels differ by more than one level.
    static std::pair<int, int> Difference(const Picture& a, const Picture& b)
    {
        int largest = 0;
        int differing = 0;
        for (std::size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4) {
            int pixel = 0;
            for (std::size_t c = 0; c < 3; ++c)
                pixel = std::max(pixel, std::abs(a[i + c] - b[i + c]));
            largest = std::max(largest, pixel);
            differing += pixel > 1;
        }
        return {largest, differing};
    }

    // The prediction's picture against the one every specified pass gives.
    static void ExpectSamePicture(const Picture& predicted, const Picture& full)
    {
        ASSERT_EQ(predicted.size(), full.size());
        const auto [largest, differing] = Difference(predicted, full);
        EXPECT_LE(largest, 2);
        EXPECT_LE(differing, 100) << "of " << full.size() / 4 << " pixels";
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

TEST_F(GameLook, AFlippingBlockGlowsAroundItAndThePredictedPictureIsTheFullPassesOne)
{
    WriteStage({{2, 0, 0, Black}, {3, 0, 0, White}});
    // Spinning about x, the raised block keeps its width on screen: beside it,
    // only the glow differs between frame 35 (full glow) and 55 (none).
    const Picture glowing = FlipFrame(35, "flip-glow");
    const auto right = ScreenOf({125 + 25 + 10, 75, 25});
    const auto left = ScreenOf({125 - 25 - 10, 75, 25});
    const Picture after = FlipFrame(55, "flip-after-glow");
    EXPECT_GT(Brightness(glowing, right, 3), Brightness(after, right, 3) + 60);
    EXPECT_GT(Brightness(glowing, left, 3), Brightness(after, left, 3) + 60);

    GraphicsDevice::Instance().SetPassPrediction(false);
    ExpectSamePicture(glowing, FlipFrame(35, "flip-glow-full-passes"));
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
    GraphicsDevice::Instance().SetPassPrediction(false);
    PlayToGameOverFrame(159);
    Frame("game-over-159-full-passes");
    ExpectSamePicture(negative, Frame("game-over-160-full-passes"));
}

}  // namespace
