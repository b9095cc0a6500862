#include "ReferencePicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ReferencePicture {

namespace {

// The larger picture brought to the reference's size, when it is a whole multiple of it.
Image Matched(const Image& reference, const Image& picture)
{
    if (picture.width > reference.width && reference.width > 0 && picture.width % reference.width == 0)
        return Shrunk(picture, picture.width / reference.width);
    return picture;
}

int LargestChannelDifference(const Image& a, const Image& b, std::size_t pixel)
{
    int largest = 0;
    for (std::size_t c = 0; c < 3; ++c)
        largest = std::max(largest, std::abs(a.rgba[pixel * 4 + c] - b.rgba[pixel * 4 + c]));
    return largest;
}

}  // namespace

Image Shrunk(const Image& picture, int factor)
{
    Image small;
    small.width = picture.width / factor;
    small.height = picture.height / factor;
    small.rgba.resize(static_cast<std::size_t>(small.width) * small.height * 4);
    const int area = factor * factor;
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy) {
                    for (int dx = 0; dx < factor; ++dx) {
                        const std::size_t at = (static_cast<std::size_t>(y * factor + dy) * picture.width +
                                                static_cast<std::size_t>(x * factor + dx)) * 4 + c;
                        sum += picture.rgba[at];
                    }
                }
                small.rgba[(static_cast<std::size_t>(y) * small.width + x) * 4 + c] =
                    static_cast<std::uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return small;
}

Difference Compare(const Image& reference, const Image& picture)
{
    const Image matched = Matched(reference, picture);
    Difference difference;
    if (matched.width != reference.width || matched.height != reference.height) {
        difference.sameSize = false;
        return difference;
    }
    const std::size_t pixels = static_cast<std::size_t>(reference.width) * reference.height;
    long long total = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const int largest = LargestChannelDifference(reference, matched, i);
        difference.largest = std::max(difference.largest, largest);
        difference.changed += largest > ChannelStep;
        for (std::size_t c = 0; c < 3; ++c)
            total += std::abs(reference.rgba[i * 4 + c] - matched.rgba[i * 4 + c]);
    }
    difference.mean = pixels ? static_cast<double>(total) / static_cast<double>(pixels * 3) : 0.0;
    return difference;
}

Image DifferenceImage(const Image& reference, const Image& picture)
{
    const Image matched = Matched(reference, picture);
    Image shown;
    shown.width = reference.width;
    shown.height = reference.height;
    shown.rgba.assign(reference.rgba.size(), 0);
    if (matched.width != reference.width || matched.height != reference.height)
        return shown;
    for (std::size_t i = 0; i < reference.rgba.size() / 4; ++i) {
        const int largest = LargestChannelDifference(reference, matched, i);
        const auto level = static_cast<std::uint8_t>(std::min(255, largest * 8));
        const bool changed = largest > ChannelStep;
        shown.rgba[i * 4 + 0] = changed ? 255 : level;
        shown.rgba[i * 4 + 1] = changed ? 0 : level;
        shown.rgba[i * 4 + 2] = changed ? 0 : level;
        shown.rgba[i * 4 + 3] = 255;
    }
    return shown;
}

std::string Describe(const Difference& difference)
{
    if (!difference.sameSize)
        return "not the reference's size";
    char text[160];
    std::snprintf(text, sizeof text, "%d pixels changed (at most %d), mean difference %.2f (at most %.2f), largest %d",
                  difference.changed, ChangedPixels, difference.mean, MeanDifference, difference.largest);
    return text;
}

}  // namespace ReferencePicture
