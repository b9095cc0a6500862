#include <gtest/gtest.h>

#include "ReferencePicture.h"

namespace {

Image Filled(int width, int height, std::uint8_t level)
{
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(static_cast<std::size_t>(width) * height * 4, level);
    return image;
}

void Paint(Image& image, int left, int top, int size, std::uint8_t level)
{
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            for (int c = 0; c < 3; ++c)
                image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4 + c] = level;
        }
    }
}

TEST(ReferencePicture, AFrameIsComparedAtTheReferencesSizeAveragedOverSquares)
{
    Image frame = Filled(1280, 720, 100);
    // A lone pixel far off averages away; a block the size of a far block does not.
    Paint(frame, 10, 10, 1, 255);
    const Image reference = ReferencePicture::Shrunk(Filled(1280, 720, 100), ReferencePicture::Shrink);
    ASSERT_EQ(reference.width, 320);
    ASSERT_EQ(reference.height, 180);
    EXPECT_TRUE(ReferencePicture::Compare(reference, frame).Matches());
    EXPECT_EQ(ReferencePicture::Compare(reference, frame).changed, 0);

    Paint(frame, 600, 300, 32, 20);
    const auto difference = ReferencePicture::Compare(reference, frame);
    EXPECT_EQ(difference.changed, 64);
    EXPECT_FALSE(difference.Matches());
}

TEST(ReferencePicture, ALevelOfNoiseEverywhereMatchesButAShiftOfTheWholeFrameDoesNot)
{
    const Image reference = Filled(320, 180, 100);
    EXPECT_TRUE(ReferencePicture::Compare(reference, Filled(320, 180, 101)).Matches());
    const auto shifted = ReferencePicture::Compare(reference, Filled(320, 180, 103));
    EXPECT_EQ(shifted.changed, 0);
    EXPECT_FALSE(shifted.Matches()) << "a mean difference of 3 levels";
    EXPECT_FALSE(ReferencePicture::Compare(reference, Filled(200, 100, 100)).Matches()) << "another size";
}

}  // namespace
