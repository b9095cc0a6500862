#pragma once

#include <string>

#include "formats/ImageFile.h"

// Approved frames of the game, kept small, and how a new frame is told apart
// from one: the frame is shrunk to the reference's size by averaging (so a
// pixel of noise counts for little), then each pixel whose channels differ by
// more than a step counts as changed. A frame matches when few pixels changed
// and the mean difference stays small.
namespace ReferencePicture {

// 1280 × 720 frames are kept at a quarter of each side: 320 × 180.
constexpr int Shrink = 4;
// A channel may differ by this much (of 255) and the pixel still be the same:
// the software renderer's rounding moves an averaged pixel by a level or two.
constexpr int ChannelStep = 24;
// At most this many changed pixels of the 57,600: a block at the far edge of
// the board covers about 100 of them, an arrow or a digit a few hundred.
constexpr int ChangedPixels = 40;
// The mean difference over every channel of every pixel, in levels.
constexpr double MeanDifference = 1.0;

struct Difference {
    int changed = 0;
    double mean = 0.0;
    int largest = 0;
    bool sameSize = true;

    bool Matches() const { return sameSize && changed <= ChangedPixels && mean <= MeanDifference; }
};

// The picture averaged over factor × factor squares.
Image Shrunk(const Image& picture, int factor);
// picture against reference; picture is shrunk first when it is larger.
Difference Compare(const Image& reference, const Image& picture);
// The difference made visible: black where the two agree, brighter the more
// they differ (eight times the largest channel difference), red where a pixel
// counts as changed.
Image DifferenceImage(const Image& reference, const Image& picture);
std::string Describe(const Difference& difference);

}  // namespace ReferencePicture
