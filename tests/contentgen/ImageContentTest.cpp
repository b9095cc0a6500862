#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <stb_image.h>

#include "ContentNames.h"
#include "assets/AssetFiles.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    std::vector<unsigned char> rgba;

    bool Loaded() const { return width > 0; }
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    int Alpha(int x, int y) const { return At(x, y)[3]; }
    // Dark, opaque pixels: lettering on the light panels.
    bool Ink(int x, int y) const { return At(x, y)[3] > 200 && At(x, y)[0] < 90 && At(x, y)[1] < 90 && At(x, y)[2] < 90; }
};

Image Load(const std::string& name)
{
    Image image;
    const std::string path = ContentDir() + "/" + name;
    unsigned char* pixels = stbi_load(path.c_str(), &image.width, &image.height, &image.channelsInFile, 4);
    if (pixels) {
        image.rgba.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height * 4);
        stbi_image_free(pixels);
    }
    return image;
}

bool Opaque(const Image& image)
{
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        if (image.rgba[i] != 255) {
            return false;
        }
    }
    return true;
}

bool CornersClear(const Image& image)
{
    const int x1 = image.width - 1;
    const int y1 = image.height - 1;
    return image.Alpha(0, 0) == 0 && image.Alpha(x1, 0) == 0 && image.Alpha(0, y1) == 0 && image.Alpha(x1, y1) == 0;
}

// Whether any lettering lies in the band of rows [y0, y1) between x0 and x1.
bool InkInBand(const Image& image, int x0, int x1, int y0, int y1)
{
    for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
            if (image.Ink(x, y)) {
                return true;
            }
        }
    }
    return false;
}

// The lowest row of lettering under the last letter: the baseline, when that
// letter has no descender.
int LastLetterBottom(const Image& word)
{
    int bottom = -1;
    for (int y = 0; y < word.height; ++y) {
        for (int x = word.width - 16; x < word.width; ++x) {
            if (word.Ink(x, y)) {
                bottom = y;
            }
        }
    }
    return bottom;
}

TEST(ImageContent, EveryImageTheGameNamesIsAnRgbaPng)
{
    for (const std::string& name : ImageNames()) {
        const Image image = Load(name);
        ASSERT_TRUE(image.Loaded()) << name << " is missing or not an image";
        EXPECT_EQ(image.channelsInFile, 4) << name << " has no alpha channel";
    }
}

TEST(ImageContent, FullSurfacesAreOpaqueAndOverlaysFadeOutAtTheirEdges)
{
    for (const char* name : {ImageFile::White, ImageFile::ToonRamp,
                             ImageFile::ShardFace, ImageFile::EditorTile,
                             ImageFile::EditorCursor}) {
        EXPECT_TRUE(Opaque(Load(name))) << name;
    }
    const Image white = Load(ImageFile::White);
    ASSERT_EQ(white.width, 1280);
    ASSERT_EQ(white.height, 720);
    EXPECT_EQ(white.At(640, 360)[0], 255);

    for (const std::string& name : ImageNames()) {
        if (name.find("Resource/Texture/") == 0 && name != ImageFile::White &&
            name != ImageFile::ToonRamp && name != ImageFile::EditorTile &&
            name != ImageFile::EditorCursor) {
            EXPECT_TRUE(CornersClear(Load(name))) << name << " should fade out at its corners";
        }
    }
}

TEST(ImageContent, ToonRampBrightensTowardTheLight)
{
    const Image ramp = Load(ImageFile::ToonRamp);
    ASSERT_TRUE(ramp.Loaded());
    const int y = ramp.height / 2;
    for (int x = 1; x < ramp.width; ++x) {
        ASSERT_GE(ramp.At(x, y)[1], ramp.At(x - 1, y)[1]) << "at u texel " << x;
    }
    EXPECT_EQ(ramp.At(ramp.width - 1, y)[0], 255);
    EXPECT_LT(ramp.At(0, y)[0], 200);
}

TEST(ImageContent, DigitsOfBothSetsShareOneSize)
{
    const Image zero = Load(ImageFile::Digit(0));
    ASSERT_TRUE(zero.Loaded());
    for (int d = 0; d <= 9; ++d) {
        for (const std::string& name : {ImageFile::Digit(d), ImageFile::DarkDigit(d)}) {
            const Image digit = Load(name);
            EXPECT_EQ(digit.width, zero.width) << name;
            EXPECT_EQ(digit.height, zero.height) << name;
        }
    }
    // The white set is white where it is solid; the other set is ink.
    const Image white = Load(ImageFile::Digit(8));
    const Image dark = Load(ImageFile::DarkDigit(8));
    bool whiteFill = false;
    bool darkFill = false;
    for (int y = 0; y < zero.height; ++y) {
        for (int x = 0; x < zero.width; ++x) {
            whiteFill |= white.Alpha(x, y) == 255 && white.At(x, y)[0] == 255;
            darkFill |= dark.Ink(x, y);
        }
    }
    EXPECT_TRUE(whiteFill);
    EXPECT_TRUE(darkFill);
}

TEST(ImageContent, MenuRowsLineUpWithTheCursorIcons)
{
    // The panel is centred at (640, 480); the icons spin at x = 440 and 820
    // on the rows y = 363 + 80 k.
    const Image panel = Load(ImageFile::GameMenu);
    ASSERT_TRUE(panel.Loaded());
    const int left = 640 - panel.width / 2;
    const int top = 480 - panel.height / 2;
    for (int k = 0; k < 4; ++k) {
        const int row = 363 + 80 * k - top;
        EXPECT_EQ(panel.Alpha(440 - left, row), 255) << "row " << k << ": left icon off the panel";
        EXPECT_EQ(panel.Alpha(820 - left, row), 255) << "row " << k << ": right icon off the panel";
        EXPECT_TRUE(InkInBand(panel, 470 - left, 790 - left, row - 8, row + 8)) << "row " << k << " has no label";
        EXPECT_FALSE(InkInBand(panel, 470 - left, 790 - left, row + 32, row + 48)) << "text between rows " << k;
    }
}

TEST(ImageContent, SelectPanelCoversTheStageNumberAndTheScoreRow)
{
    // Drawn from (40, 80): the stage number sits at (430, 125), the score row
    // at y = 450 from x = 110 on.
    for (int group = 1; group <= 3; ++group) {
        const Image panel = Load(ImageFile::GroupPanel(group));
        ASSERT_TRUE(panel.Loaded());
        EXPECT_EQ(panel.Alpha(430 - 40, 125 - 80), 255) << group;
        for (int x = 80; x <= 420; x += 20) {
            EXPECT_EQ(panel.Alpha(x - 40, 450 - 80), 255) << "group " << group << " x " << x;
        }
    }
    const Image labels = Load(ImageFile::SelectLabels);
    const Image panel = Load(ImageFile::GroupPanel(1));
    EXPECT_LE(labels.width, panel.width);
    EXPECT_LE(labels.height, panel.height);
    // The not-cleared label is centred at x = w/2 + 30; it must land on the panel.
    const Image notCleared = Load(ImageFile::NotCleared);
    const int centre = notCleared.width / 2 + 30;
    EXPECT_GT(centre, 40 + 100);
    EXPECT_LT(centre, 40 + panel.width - 100);
}

TEST(ImageContent, ScoreBoardLiesUnderTheScoreDigits)
{
    // Centred at (65, 65); the first digits follow at x = 115 and 183.
    const Image board = Load(ImageFile::ScoreBoard);
    ASSERT_TRUE(board.Loaded());
    for (int x = 0; x <= 200; x += 25) {
        EXPECT_EQ(board.Alpha(x - 65 + board.width / 2, board.height / 2), 255) << "screen x " << x;
    }
}

TEST(ImageContent, TitleLetteringSitsAboveTheLogo)
{
    // Drawn 1.8 times enlarged with (180, h/2) at (640, h - 50); the logo
    // turns around the screen centre below it.
    const Image title = Load(ImageFile::TitleLettering);
    ASSERT_TRUE(title.Loaded());
    EXPECT_EQ(title.width, 360);
    for (int y = 0; y < title.height; ++y) {
        for (int x = 0; x < title.width; ++x) {
            if (title.Alpha(x, y) > 128) {
                const double screenX = (x - 180) * 1.8 + 640;
                const double screenY = (y - title.height / 2) * 1.8 + (title.height - 50);
                ASSERT_GE(screenY, 0.0) << "lettering above the screen at row " << y;
                ASSERT_LE(screenY, 270.0) << "lettering over the logo at row " << y;
                ASSERT_GE(screenX, 0.0);
                ASSERT_LE(screenX, 1280.0);
            }
        }
    }
}

TEST(ImageContent, MenuItemsFitBetweenTheirArrows)
{
    // Title menu items at (640, 600) between arrows bobbing down to y = 540
    // and up to y = 665; group labels at (640, 625) between arrows at x = 640 ± 225.
    const Image up = Load(ImageFile::ArrowUp);
    for (const char* name : {ImageFile::PressEnter, ImageFile::GameStart,
                             ImageFile::ScoreReset, ImageFile::ScoreResetDone}) {
        const Image item = Load(name);
        ASSERT_TRUE(item.Loaded()) << name;
        for (int y = 0; y < item.height; ++y) {
            if (item.Alpha(item.width / 2, y) > 200) {
                const int screenY = 600 - item.height / 2 + y;
                EXPECT_GT(screenY, 540 + up.height / 2) << name;
                EXPECT_LT(screenY, 665 - up.height / 2) << name;
            }
        }
    }
    const Image right = Load(ImageFile::ArrowRight);
    for (const char* name : {ImageFile::Easy, ImageFile::Normal, ImageFile::Hard}) {
        const Image label = Load(name);
        ASSERT_TRUE(label.Loaded()) << name;
        EXPECT_LT(label.width / 2, 225 - right.width / 2) << name;
    }
}

TEST(ImageContent, KeyLineFitsTheScreenAndReasonsClearTheGameOverBanner)
{
    // The key line is centred at (750, 140), right of the score board (220
    // wide) and over the sky, above the board's far edge (185); a reason at
    // (640, 290), under the banner centred at (640, 180).
    const Image keys = Load(ImageFile::KeyLine);
    ASSERT_TRUE(keys.Loaded());
    EXPECT_GE(750 - keys.width / 2, 220);
    EXPECT_LE(750 + (keys.width + 1) / 2, 1280);
    EXPECT_LE(140 + (keys.height + 1) / 2, 190);
    const Image banner = Load(ImageFile::GameOver);
    ASSERT_TRUE(banner.Loaded());
    int bannerBottom = 0;
    for (int y = 0; y < banner.height; ++y) {
        if (banner.Alpha(banner.width / 2, y) > 200) {
            bannerBottom = 180 - banner.height / 2 + y;
        }
    }
    for (const char* name : {ImageFile::WalledIn, ImageFile::NoUsefulShot}) {
        const Image reason = Load(name);
        ASSERT_TRUE(reason.Loaded()) << name;
        int top = 0;
        while (top < reason.height && reason.Alpha(reason.width / 2, top) <= 200) {
            ++top;
        }
        EXPECT_GT(290 - reason.height / 2 + top, bannerBottom) << name << " overlaps the banner";
    }
}

TEST(ImageContent, ScoreWordsShareTheHeightAndBaselineOfShots)
{
    // "shot" takes the place of "shots" after a 1; "par" stands on the same row.
    const Image shots = Load(ImageFile::ShotsWord);
    ASSERT_TRUE(shots.Loaded());
    for (const char* name : {ImageFile::OneShotWord, ImageFile::ParWord}) {
        const Image word = Load(name);
        ASSERT_TRUE(word.Loaded()) << name;
        EXPECT_EQ(word.height, shots.height) << name;
        // Letters that end in a curve overshoot the baseline by a pixel.
        EXPECT_NEAR(LastLetterBottom(word), LastLetterBottom(shots), 1) << name;
    }
}

TEST(ImageContent, HintArrowPointsAtTheTopEdgeAndTurnsAboutItsCentre)
{
    const Image arrow = Load(ImageFile::HintArrow);
    ASSERT_TRUE(arrow.Loaded());
    int widestRow = -1;
    int widest = 0;
    int left = arrow.width;
    int right = -1;
    int top = arrow.height;
    int bottom = -1;
    for (int y = 0; y < arrow.height; ++y) {
        int width = 0;
        for (int x = 0; x < arrow.width; ++x) {
            if (arrow.Alpha(x, y) > 128) {
                ++width;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (width > widest) {
            widest = width;
            widestRow = y;
        }
    }
    EXPECT_LT(widestRow, arrow.height / 2) << "the head should be in the upper half";
    // The game turns it about the image centre, so the arrow must be centred on it.
    EXPECT_NEAR(left + right, arrow.width - 1, 1);
    EXPECT_NEAR(top + bottom, arrow.height - 1, 1);
}

}  // namespace
