#include "formats/ImageFile.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <zlib.h>

#include <array>
#include <filesystem>
#include <functional>

// Images other programs wrote: PNGs of every colour type and depth, interlaced
// or not, and the pictures Debian ships with its model test data.
namespace {

using Pixel = std::array<std::uint8_t, 4>;
using Picture = std::function<Pixel(int x, int y)>;

enum ColourType : std::uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body)
{
    Put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, crc32(0, out.data() + start, static_cast<uInt>(out.size() - start)));
}

// A sample of `depth` bits holding the top bits of an 8-bit value, and the
// value that sample stands for when read back to 8 bits.
unsigned Sample(std::uint8_t value, int depth)
{
    return depth == 16 ? value * 257u : value >> (8 - depth);
}

std::uint8_t Expanded(std::uint8_t value, int depth)
{
    const unsigned top = (1u << depth) - 1;
    return depth >= 8 ? value : static_cast<std::uint8_t>(Sample(value, depth) * 255 / top);
}

struct PngForm {
    ColourType type;
    int depth;
    bool interlaced;
};

// The palette form takes the palette index from the red channel and stores
// the colours as the picture gives them.
std::vector<std::uint8_t> EncodePng(const PngForm& form, int width, int height, const Picture& picture)
{
    const int channels = form.type == Rgb ? 3 : form.type == GreyAlpha ? 2 : form.type == Rgba ? 4 : 1;
    const auto row = [&](int y, int x0, int step) {
        std::vector<std::uint8_t> bytes{0};
        unsigned bits = 0;
        int used = 0;
        for (int x = x0; x < width; x += step) {
            const Pixel p = picture(x, y);
            const std::array<std::uint8_t, 4> values =
                form.type == Rgb     ? Pixel{p[0], p[1], p[2], 0}
                : form.type == Rgba  ? p
                : form.type == GreyAlpha ? Pixel{p[0], p[3], 0, 0}
                                     : Pixel{p[0], 0, 0, 0};
            for (int c = 0; c < channels; ++c) {
                const unsigned sample = form.type == Palette ? p[0] : Sample(values[c], form.depth);
                if (form.depth == 16) {
                    bytes.push_back(static_cast<std::uint8_t>(sample >> 8));
                    bytes.push_back(static_cast<std::uint8_t>(sample));
                    continue;
                }
                bits = bits << form.depth | sample;
                used += form.depth;
                if (used == 8) {
                    bytes.push_back(static_cast<std::uint8_t>(bits));
                    bits = 0;
                    used = 0;
                }
            }
        }
        if (used > 0)
            bytes.push_back(static_cast<std::uint8_t>(bits << (8 - used)));
        return bytes;
    };

    std::vector<std::uint8_t> raw;
    const auto addPass = [&](int x0, int y0, int dx, int dy) {
        if (x0 >= width || y0 >= height)
            return;
        for (int y = y0; y < height; y += dy) {
            const std::vector<std::uint8_t> bytes = row(y, x0, dx);
            raw.insert(raw.end(), bytes.begin(), bytes.end());
        }
    };
    if (form.interlaced) {
        constexpr int adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& pass : adam7)
            addPass(pass[0], pass[1], pass[2], pass[3]);
    } else {
        addPass(0, 0, 1, 1);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {static_cast<std::uint8_t>(form.depth), form.type, 0, 0,
                                 static_cast<std::uint8_t>(form.interlaced)});
    PutChunk(out, "IHDR", header);
    if (form.type == Palette) {
        std::vector<std::uint8_t> colours, alphas;
        for (int i = 0; i < 1 << form.depth; ++i) {
            const Pixel p = picture(-1, i);
            colours.insert(colours.end(), {p[0], p[1], p[2]});
            alphas.push_back(p[3]);
        }
        PutChunk(out, "PLTE", colours);
        PutChunk(out, "tRNS", alphas);
    }
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

// Odd sizes, so that partial bytes and empty interlace passes occur.
constexpr int Width = 13;
constexpr int Height = 7;

Pixel Pattern(int x, int y)
{
    return {static_cast<std::uint8_t>(x * 19 + y * 7), static_cast<std::uint8_t>(255 - x * 11),
            static_cast<std::uint8_t>(y * 36), static_cast<std::uint8_t>(128 + x * 9 - y * 5)};
}

// Palette entry i: a colour made from i, and the pixel at (x, y) uses entry (x + y) mod entries.
Pixel PaletteEntry(int i)
{
    return {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 91), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i % 3 == 0 ? 0 : 255)};
}

Pixel Expected(const PngForm& form, int x, int y)
{
    const Pixel p = Pattern(x, y);
    switch (form.type) {
    case Grey: {
        const std::uint8_t g = Expanded(p[0], form.depth);
        return {g, g, g, 255};
    }
    case Rgb:
        return {p[0], p[1], p[2], 255};
    case Palette:
        return PaletteEntry((x + y) % (1 << form.depth));
    case GreyAlpha:
        return {p[0], p[0], p[0], p[3]};
    case Rgba:
        return p;
    }
    return {};
}

std::optional<Image> Decode(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    return DecodeImage(std::span(bytes.data(), bytes.size()), error);
}

TEST(ImageFile, PngsOfEveryColourTypeAndDepthInterlacedOrNotGiveTheirPixels)
{
    std::vector<PngForm> forms;
    for (const bool interlaced : {false, true}) {
        for (const int depth : {1, 2, 4, 8, 16})
            forms.push_back({Grey, depth, interlaced});
        for (const int depth : {1, 2, 4, 8})
            forms.push_back({Palette, depth, interlaced});
        for (const ColourType type : {Rgb, GreyAlpha, Rgba})
            for (const int depth : {8, 16})
                forms.push_back({type, depth, interlaced});
    }
    for (const PngForm& form : forms) {
        const std::string name = "colour type " + std::to_string(form.type) + ", " + std::to_string(form.depth) +
                                 " bits" + (form.interlaced ? ", interlaced" : "");
        const Picture picture = [&form](int x, int y) {
            if (form.type != Palette)
                return Pattern(x, y);
            // The palette itself when x is -1; otherwise the index in the first channel.
            if (x < 0)
                return PaletteEntry(y);
            return Pixel{static_cast<std::uint8_t>((x + y) % (1 << form.depth)), 0, 0, 0};
        };
        std::string error;
        const std::optional<Image> image = Decode(EncodePng(form, Width, Height, picture), error);
        ASSERT_TRUE(image) << name << ": " << error;
        ASSERT_EQ(image->width, Width) << name;
        ASSERT_EQ(image->height, Height) << name;
        int wrong = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const Pixel want = Expected(form, x, y);
                // 16-bit samples are cut to their top byte.
                for (int c = 0; c < 4; ++c)
                    wrong += image->rgba[(y * Width + x) * 4 + c] == want[c] ? 0 : 1;
            }
        EXPECT_EQ(wrong, 0) << name << ": channel values that differ";
    }
}

// The game's images are PNGs; JPEGs are read too. A TGA has no signature, so
// its decoder would take any file that is not something else: that one and
// BMP's are not compiled in, and such files are refused by their first bytes.
TEST(ImageFile, PicturesFromDebiansModelTestDataDecodeAtTheirOwnSizeAndOtherFormatsAreRefused)
{
    const std::filesystem::path folder = "/usr/share/assimp/models";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "needs the assimp-testmodels package";
    int pictures = 0;
    int refused = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string error;
        if (extension == ".bmp" || extension == ".tga") {
            EXPECT_FALSE(ReadImageFile(entry.path().string(), error)) << entry.path();
            EXPECT_EQ(error, "not an image: neither a PNG nor a JPEG") << entry.path();
            ++refused;
            continue;
        }
        if (extension != ".png" && extension != ".jpg")
            continue;
        const std::optional<Image> image = ReadImageFile(entry.path().string(), error);
        // Some of the data is broken on purpose; what reads must read whole.
        if (!image) {
            EXPECT_FALSE(error.empty()) << entry.path();
            continue;
        }
        EXPECT_GT(image->width, 0) << entry.path();
        EXPECT_EQ(image->rgba.size(), static_cast<std::size_t>(image->width) * image->height * 4) << entry.path();
        ++pictures;
    }
    EXPECT_GE(pictures, 20);
    EXPECT_GE(refused, 5);
}

}  // namespace

namespace {

// The decoder would reserve a chunk's declared length before reading it.
TEST(ImageFile, AChunkDeclaringMoreThanTheFileHoldsIsRefusedBeforeItsDataIsRead)
{
    const Picture picture = [](int x, int y) { return Pattern(x, y); };
    std::vector<std::uint8_t> png = EncodePng({Rgba, 8, false}, Width, Height, picture);
    constexpr std::size_t IdatLengthOffset = 8 + 25;
    ASSERT_EQ(std::string(png.begin() + IdatLengthOffset + 4, png.begin() + IdatLengthOffset + 8), "IDAT");
    for (const std::uint32_t length : {0x43000000u, 0xFFFFFFFFu, static_cast<std::uint32_t>(png.size())}) {
        std::vector<std::uint8_t> broken = png;
        for (int i = 0; i < 4; ++i)
            broken[IdatLengthOffset + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
        std::string error;
        EXPECT_FALSE(Decode(broken, error)) << length;
        EXPECT_NE(error.find("runs past the end"), std::string::npos) << error;
    }
}

// Empty data chunks carry nothing and change nothing.
TEST(ImageFile, EmptyDataChunksAnywhereLeaveThePictureAsItIs)
{
    const Picture picture = [](int x, int y) { return Pattern(x, y); };
    const std::vector<std::uint8_t> png = EncodePng({Rgba, 8, false}, Width, Height, picture);
    std::string error;
    const std::optional<Image> plain = Decode(png, error);
    ASSERT_TRUE(plain) << error;

    constexpr std::size_t IdatOffset = 8 + 25;
    const std::uint32_t idatLength = static_cast<std::uint32_t>(png[IdatOffset]) << 24 | png[IdatOffset + 1] << 16 |
                                     png[IdatOffset + 2] << 8 | png[IdatOffset + 3];
    const std::size_t afterIdat = IdatOffset + 12 + idatLength;
    std::vector<std::uint8_t> empty;
    PutChunk(empty, "IDAT", {});
    std::vector<std::uint8_t> padded(png.begin(), png.begin() + IdatOffset);
    padded.insert(padded.end(), empty.begin(), empty.end());
    padded.insert(padded.end(), png.begin() + IdatOffset, png.begin() + static_cast<std::ptrdiff_t>(afterIdat));
    padded.insert(padded.end(), empty.begin(), empty.end());
    padded.insert(padded.end(), png.begin() + static_cast<std::ptrdiff_t>(afterIdat), png.end());

    const std::optional<Image> image = Decode(padded, error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->rgba, plain->rgba);
}

TEST(ImageFile, JpegsDecodeCloseToTheirColoursAndCutShortStillGiveAPictureOrAReason)
{
    constexpr int W = 32;
    constexpr int H = 24;
    const Pixel quadrants[4] = {{200, 40, 40, 255}, {40, 200, 40, 255}, {40, 40, 200, 255}, {230, 230, 230, 255}};
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Pixel& p = quadrants[(y >= H / 2) * 2 + (x >= W / 2)];
            rgb.insert(rgb.end(), p.begin(), p.begin() + 3);
        }
    std::vector<std::uint8_t> jpeg;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(context);
            out->insert(out->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
        },
        &jpeg, W, H, 3, rgb.data(), 95);

    std::string error;
    const std::optional<Image> image = Decode(jpeg, error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(image->width, W);
    ASSERT_EQ(image->height, H);
    for (int q = 0; q < 4; ++q) {
        const int x = (q % 2) * W / 2 + W / 4;
        const int y = (q / 2) * H / 2 + H / 4;
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(image->rgba[(y * W + x) * 4 + c], quadrants[q][c], 8) << "quadrant " << q << " channel " << c;
    }

    for (const std::size_t keep : {jpeg.size() / 2, std::size_t{40}, std::size_t{3}}) {
        const std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(keep));
        error.clear();
        const std::optional<Image> partial = Decode(cut, error);
        if (partial)
            EXPECT_EQ(partial->rgba.size(), static_cast<std::size_t>(W * H * 4)) << keep;
        else
            EXPECT_FALSE(error.empty()) << keep;
    }
}

}  // namespace

namespace {

// A PNG header claiming width x height, padded with an ancillary chunk to
// fileBytes in all, and no pixel data.
std::vector<std::uint8_t> PngClaiming(std::uint32_t width, std::uint32_t height, std::size_t fileBytes)
{
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    Put32(header, width);
    Put32(header, height);
    header.insert(header.end(), {8, Rgba, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    constexpr std::size_t ChunkOverhead = 12;
    const std::size_t rest = png.size() + 2 * ChunkOverhead;
    if (fileBytes > rest)
        PutChunk(png, "teXt", std::vector<std::uint8_t>(fileBytes - rest, 'a'));
    PutChunk(png, "IEND", {});
    return png;
}

// A baseline JPEG's markers up to its scan claiming width x height in one
// component, padded with comments to fileBytes in all; no tables, no data.
std::vector<std::uint8_t> JpegClaiming(std::uint16_t width, std::uint16_t height, std::size_t fileBytes)
{
    const auto put16 = [](std::vector<std::uint8_t>& out, std::size_t value) {
        out.push_back(static_cast<std::uint8_t>(value >> 8));
        out.push_back(static_cast<std::uint8_t>(value));
    };
    std::vector<std::uint8_t> jpeg{0xFF, 0xD8};
    const std::vector<std::uint8_t> frame{0xFF, 0xC0, 0, 11, 8, static_cast<std::uint8_t>(height >> 8),
                                          static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(width >> 8),
                                          static_cast<std::uint8_t>(width), 1, 1, 0x11, 0};
    const std::vector<std::uint8_t> scan{0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0, 0xFF, 0xD9};
    constexpr std::size_t CommentMost = 0xFFFF - 2;
    for (std::size_t room = fileBytes - std::min(fileBytes, jpeg.size() + frame.size() + scan.size()); room >= 4;) {
        const std::size_t body = std::min(room - 4, CommentMost);
        jpeg.insert(jpeg.end(), {0xFF, 0xFE});
        put16(jpeg, body + 2);
        jpeg.insert(jpeg.end(), body, 'a');
        room -= body + 4;
    }
    jpeg.insert(jpeg.end(), frame.begin(), frame.end());
    jpeg.insert(jpeg.end(), scan.begin(), scan.end());
    return jpeg;
}

// A header is all a damaged file needs to claim any size, and the pixels
// are allocated from it. No format packs more than about a thousand bytes
// of picture into one byte of file, so beyond the pictures always tried
// (2048 x 2048, 16 MiB), a size the file cannot hold is refused before any
// pixel is allocated, as is any side beyond 8192. Worked by hand: 8192 x 8192
// takes 256 MiB, which needs a file of more than 244,032 bytes.
TEST(ImageFile, AHeaderClaimingMoreThanTheFileCanHoldIsRefusedBeforeThePixelsAreAllocated)
{
    struct Case {
        std::uint32_t width;
        std::uint32_t height;
        std::size_t fileBytes;
        bool refused;
        // A JPEG's pixels are allocated before its data is read: not 256 MiB in a test.
        bool asJpeg = true;
    };
    const Case cases[] = {
        {8192, 8192, 0, true},        // 256 MiB from a header alone
        {8192, 8192, 200'000, true},  // still short of a thousandth
        {8192, 8192, 250'000, false, false},
        {4096, 2048, 30'000, true},   // 32 MiB: 30,504 bytes at least
        {4096, 2048, 31'000, false},
        {2048, 2048, 0, false},       // always tried
        {2049, 2048, 0, true},
        {8193, 1, 0, true},           // a side too long, however small the picture
        {1, 8193, 0, true},
    };
    for (const bool jpeg : {false, true}) {
        for (const Case& c : cases) {
            if (jpeg && !c.asJpeg)
                continue;
            const std::string what = std::string(jpeg ? "JPEG " : "PNG ") + std::to_string(c.width) + " x " +
                                     std::to_string(c.height) + " in " + std::to_string(c.fileBytes) + " bytes";
            // Above 65535 a JPEG cannot say it; the side's limit is the PNG's to test.
            const std::vector<std::uint8_t> bytes =
                jpeg ? JpegClaiming(static_cast<std::uint16_t>(c.width), static_cast<std::uint16_t>(c.height),
                                    c.fileBytes)
                     : PngClaiming(c.width, c.height, c.fileBytes);
            if (c.fileBytes > 0) {
                ASSERT_EQ(bytes.size(), c.fileBytes) << what;
            }
            std::string error;
            EXPECT_FALSE(Decode(bytes, error)) << what << ": there are no pixels";
            const bool bySize = error.find("cannot hold a picture") != std::string::npos ||
                                error.find("a side") != std::string::npos;
            EXPECT_EQ(bySize, c.refused) << what << ": " << error;
        }
    }
}

}  // namespace
