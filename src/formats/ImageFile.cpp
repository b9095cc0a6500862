#include "formats/ImageFile.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include <turbojpeg.h>

#include "files/FileBytes.h"

// The decoder is compiled here, from the system's header, limited to PNG,
// the format of the game's images: less code that untrusted files can reach,
// and the same code the fuzzer tries. Formats without a signature (TGA) would
// take any file that is not something else. JPEGs go to libjpeg-turbo
// instead: this decoder's JPEG path wrote past a Huffman table on a damaged file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS MaxImageSide
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

// An image file is compressed pixels; none of the game's comes near this.
constexpr std::size_t MaxImageFileBytes = 64u << 20;
constexpr int Channels = 4;
// No format packs pixels tighter than deflate's thousand to one, so a small
// file declaring a huge picture is damaged: it is refused before its pixels
// are allocated (and before a decoder spends seconds filling them in from
// nothing). Pictures up to 2048 x 2048 are always tried, since images of one
// or two bits a pixel may pack tighter still.
constexpr std::size_t MaxPackingRatio = 1100;
constexpr std::size_t AlwaysTriedBytes = 16u << 20;

constexpr std::uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length and type before a chunk's data, its checksum after.
constexpr std::size_t PngChunkHeaderBytes = 8;
constexpr std::size_t PngChunkCheckBytes = 4;

std::uint32_t ReadBig32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// The decoder grows its buffer to a chunk's declared length before reading
// the chunk, so every length is checked against the file first. It also
// copies an empty data chunk through a null buffer when no data came before;
// such chunks carry nothing, so a copy of the file without them is made in
// `cleaned` (left empty when there are none).
bool CheckPngChunks(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& cleaned, std::string& error)
{
    std::size_t offset = sizeof PngSignature;
    while (bytes.size() - offset >= PngChunkHeaderBytes) {
        const std::size_t start = offset;
        const std::size_t length = ReadBig32(bytes.data() + offset);
        const bool last = std::memcmp(bytes.data() + offset + 4, "IEND", 4) == 0;
        const bool emptyData = length == 0 && std::memcmp(bytes.data() + offset + 4, "IDAT", 4) == 0;
        offset += PngChunkHeaderBytes;
        if (length > bytes.size() - offset || bytes.size() - offset - length < PngChunkCheckBytes) {
            error = "a chunk of " + std::to_string(length) + " bytes runs past the end of the file";
            return false;
        }
        offset += length + PngChunkCheckBytes;
        if (emptyData && cleaned.empty())
            cleaned.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(start));
        else if (!emptyData && !cleaned.empty())
            cleaned.insert(cleaned.end(), bytes.begin() + static_cast<std::ptrdiff_t>(start),
                           bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        if (last)
            break;
    }
    if (!cleaned.empty())
        cleaned.insert(cleaned.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.end());
    return true;
}

// The size in a PNG's header, read before the decoder is asked: the decoder
// refuses a side beyond its limit as an "unknown image type", which would
// hide why. False when the file does not start with its header chunk.
bool PngHeaderSize(std::span<const std::uint8_t> bytes, int& width, int& height)
{
    constexpr std::size_t SizeAt = sizeof PngSignature + PngChunkHeaderBytes;
    if (bytes.size() < SizeAt + 8 || std::memcmp(bytes.data() + sizeof PngSignature + 4, "IHDR", 4) != 0)
        return false;
    const auto side = [](std::uint32_t value) { return value > INT_MAX ? INT_MAX : static_cast<int>(value); };
    width = side(ReadBig32(bytes.data() + SizeAt));
    height = side(ReadBig32(bytes.data() + SizeAt + 4));
    return true;
}

constexpr std::uint8_t JpegSignature[] = {0xFF, 0xD8, 0xFF};

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> signature)
{
    return bytes.size() >= signature.size() && std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

// Whether a picture of this size may be decoded from a file of fileBytes.
bool SizeFits(int width, int height, std::size_t fileBytes, std::string& error)
{
    if (width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide) {
        error = "the image is " + std::to_string(width) + " x " + std::to_string(height) + " pixels; at most " +
                std::to_string(MaxImageSide) + " a side";
        return false;
    }
    const std::size_t decoded = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * Channels;
    if (decoded > AlwaysTriedBytes && decoded / MaxPackingRatio > fileBytes) {
        error = "a file of " + std::to_string(fileBytes) + " bytes cannot hold a picture of " + std::to_string(width) +
                " x " + std::to_string(height) + " pixels";
        return false;
    }
    return true;
}

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string& error)
{
    const std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    if (!decoder) {
        error = "the JPEG decoder cannot start";
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(decoder.get(), bytes.data(), bytes.size(), &width, &height, &subsampling, &colourSpace) !=
        0) {
        error = std::string("broken image: ") + tjGetErrorStr2(decoder.get());
        return std::nullopt;
    }
    if (!SizeFits(width, height, bytes.size(), error))
        return std::nullopt;
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * Channels);
    // A damaged file with thousands of progressive scans would take minutes; a
    // warning (data cut short, say) still leaves a picture, as other viewers show it.
    if (tjDecompress2(decoder.get(), bytes.data(), bytes.size(), image.rgba.data(), width, 0, height, TJPF_RGBA,
                      TJFLAG_LIMITSCANS) != 0 &&
        tjGetErrorCode(decoder.get()) != TJERR_WARNING) {
        error = std::string("broken image: ") + tjGetErrorStr2(decoder.get());
        return std::nullopt;
    }
    return image;
}

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes, std::string& error)
{
    if (!StartsWith(bytes, PngSignature)) {
        error = "not an image: neither a PNG nor a JPEG";
        return std::nullopt;
    }
    std::vector<std::uint8_t> cleaned;
    if (!CheckPngChunks(bytes, cleaned, error))
        return std::nullopt;
    if (!cleaned.empty())
        bytes = cleaned;
    const auto* data = bytes.data();
    const int size = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (PngHeaderSize(bytes, width, height) && !SizeFits(width, height, bytes.size(), error))
        return std::nullopt;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels)) {
        error = std::string("not an image: ") + stbi_failure_reason();
        return std::nullopt;
    }
    if (!SizeFits(width, height, bytes.size(), error))
        return std::nullopt;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(data, size, &width, &height, &channels, Channels), stbi_image_free);
    if (!pixels) {
        error = std::string("broken image: ") + stbi_failure_reason();
        return std::nullopt;
    }
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.get(),
                      pixels.get() + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * Channels);
    return image;
}

}  // namespace

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes, std::string& error)
{
    if (bytes.size() > INT_MAX) {
        error = "too large";
        return std::nullopt;
    }
    // The sizes are checked before any pixels are allocated, but a picture may
    // still be more than the memory there is: a bad image, never the end.
    try {
        if (StartsWith(bytes, JpegSignature))
            return DecodeJpeg(bytes, error);
        return DecodePng(bytes, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to decode the image";
        return std::nullopt;
    }
}

std::optional<Image> ReadImageFile(const std::string& path, std::string& error)
{
    const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, MaxImageFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return DecodeImage(*bytes, error);
}
