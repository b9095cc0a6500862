#include "formats/WavFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <new>

#include "files/FileBytes.h"
#include "files/LittleEndian.h"

namespace {

constexpr std::uint16_t PcmFormatTag = 1;
constexpr std::uint16_t FloatFormatTag = 3;
// The format's real tag is then the first two bytes of its sub-format GUID.
constexpr std::uint16_t ExtensibleFormatTag = 0xFFFE;
constexpr std::uint32_t MinFormatBytes = 16;
constexpr std::uint32_t ExtensibleFormatBytes = 40;
constexpr std::size_t SubFormatOffset = 24;
constexpr std::uint32_t ChunkHeaderBytes = 8;
constexpr std::size_t RiffHeaderBytes = 12;
// The playback rates DirectSound buffers accept, which the game's files stay within.
constexpr std::uint32_t MinSampleRate = 100;
constexpr std::uint32_t MaxSampleRate = 200000;
constexpr int MaxChannels = 64;
// The longest sound any scene could want is a few minutes of music.
constexpr std::size_t MaxWavFileBytes = 256u << 20;

// The sample layout a "fmt " chunk declares.
struct Format {
    bool isFloat = false;
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;

    int FrameBytes() const { return channels * bits / 8; }
    // What the sound device takes as it is: 8- or 16-bit integers, mono or stereo.
    bool Playable() const { return !isFloat && channels <= 2 && (bits == 8 || bits == 16); }
    // What the samples become for the device (see Decode).
    WavFormat Played() const { return {std::min(channels, 2), static_cast<int>(rate), Playable() ? bits : 16}; }
};

// Where a file's samples lie, and how they are laid out.
struct Samples {
    Format format;
    std::size_t dataOffset = 0;
    std::size_t dataBytes = 0;
};

bool ParseFormat(std::span<const std::uint8_t> chunk, Format& format, std::string& error)
{
    std::uint16_t tag = ReadLittle16(chunk.data());
    const std::uint16_t channels = ReadLittle16(chunk.data() + 2);
    format.rate = ReadLittle32(chunk.data() + 4);
    const std::uint16_t blockAlign = ReadLittle16(chunk.data() + 12);
    const std::uint16_t bits = ReadLittle16(chunk.data() + 14);
    if (tag == ExtensibleFormatTag) {
        if (chunk.size() < ExtensibleFormatBytes) {
            error = "short extensible \"fmt \" chunk";
            return false;
        }
        tag = ReadLittle16(chunk.data() + SubFormatOffset);
    }
    if (tag != PcmFormatTag && tag != FloatFormatTag) {
        error = "neither PCM nor float samples (format tag " + std::to_string(tag) + ")";
        return false;
    }
    format.isFloat = tag == FloatFormatTag;
    const bool bitsKnown = format.isFloat ? bits == 32 || bits == 64 : bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (channels < 1 || channels > MaxChannels || !bitsKnown) {
        error = "unsupported layout: " + std::to_string(channels) + " channels of " + std::to_string(bits) + " bits";
        return false;
    }
    if (format.rate < MinSampleRate || format.rate > MaxSampleRate) {
        error = "unsupported sample rate " + std::to_string(format.rate);
        return false;
    }
    format.channels = channels;
    format.bits = bits;
    if (blockAlign != format.FrameBytes()) {
        error = "block alignment " + std::to_string(blockAlign) + " does not match the format";
        return false;
    }
    return true;
}

// One sample as a 16-bit integer.
std::int16_t ToSixteenBits(const std::uint8_t* sample, const Format& format)
{
    if (format.isFloat) {
        double value = 0.0;
        if (format.bits == 32) {
            float narrow = 0.0f;
            std::memcpy(&narrow, sample, 4);
            value = narrow;
        } else {
            std::memcpy(&value, sample, 8);
        }
        if (std::isnan(value))
            return 0;
        return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    }
    if (format.bits == 8)
        return static_cast<std::int16_t>((sample[0] - 128) * 256);
    // Little-endian: the top two bytes are the last two.
    const std::uint8_t* top = sample + format.bits / 8 - 2;
    return static_cast<std::int16_t>(ReadLittle16(top));
}

// Whole frames of the file's samples as the device takes them (Format::Played):
// samples it cannot take are made 16-bit, and of more than two channels the
// first two (front left and right) are kept.
void Decode(std::span<const std::uint8_t> data, const Format& format, std::uint8_t* out)
{
    if (format.Playable()) {
        std::copy(data.begin(), data.end(), out);
        return;
    }
    const int channels = format.Played().channels;
    const std::size_t frames = data.size() / static_cast<std::size_t>(format.FrameBytes());
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const std::uint8_t* in = data.data() + frame * static_cast<std::size_t>(format.FrameBytes());
        for (int channel = 0; channel < channels; ++channel) {
            const auto sample = static_cast<std::uint16_t>(ToSixteenBits(in + channel * format.bits / 8, format));
            *out++ = static_cast<std::uint8_t>(sample & 0xFF);
            *out++ = static_cast<std::uint8_t>(sample >> 8);
        }
    }
}

// Walks the chunks of a file of fileSize bytes. read(offset, count) gives
// count bytes at offset, or null when the file cannot give them, having then
// said why in error; a file held whole always gives them.
template <typename Read>
std::optional<Samples> FindSamples(std::size_t fileSize, const Read& read, std::string& error)
{
    const std::uint8_t* riff = fileSize >= RiffHeaderBytes ? read(0, RiffHeaderBytes) : nullptr;
    if (!riff || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        error = "not a RIFF WAVE file";
        return std::nullopt;
    }

    // The RIFF size is often wrong in files written by streaming tools, so the
    // chunks are walked to the end of the file instead.
    Samples samples;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t offset = RiffHeaderBytes;
    while (fileSize - offset >= ChunkHeaderBytes && !(haveFormat && haveData)) {
        const std::uint8_t* chunk = read(offset, ChunkHeaderBytes);
        if (!chunk)
            return std::nullopt;
        const bool isFormat = std::memcmp(chunk, "fmt ", 4) == 0;
        const bool isData = std::memcmp(chunk, "data", 4) == 0;
        const std::size_t size = ReadLittle32(chunk + 4);
        const std::size_t body = offset + ChunkHeaderBytes;
        const std::size_t left = fileSize - body;
        if (isFormat && !haveFormat) {
            if (size < MinFormatBytes || left < MinFormatBytes) {
                error = "short \"fmt \" chunk";
                return std::nullopt;
            }
            // ParseFormat looks no further than the extensible layout's bytes.
            const std::size_t formatBytes = std::min({size, left, std::size_t{ExtensibleFormatBytes}});
            const std::uint8_t* format = read(body, formatBytes);
            if (!format || !ParseFormat(std::span(format, formatBytes), samples.format, error))
                return std::nullopt;
            haveFormat = true;
        } else if (isData && !haveData) {
            if (size > left) {
                error = "the data chunk claims " + std::to_string(size) + " bytes but the file holds " +
                        std::to_string(left);
                return std::nullopt;
            }
            samples.dataOffset = body;
            samples.dataBytes = size;
            haveData = true;
        }
        // Chunks are padded to an even length.
        if (size + (size & 1) >= left)
            break;
        offset = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) {
        error = haveFormat ? "no \"data\" chunk" : "no \"fmt \" chunk";
        return std::nullopt;
    }
    return samples;
}

}  // namespace

std::optional<WavFile> DecodeWav(std::span<const std::uint8_t> bytes, std::string& error)
{
    const auto whole = [bytes](std::size_t offset, std::size_t) { return bytes.data() + offset; };
    const std::optional<Samples> samples = FindSamples(bytes.size(), whole, error);
    if (!samples)
        return std::nullopt;
    const Format& format = samples->format;
    WavFile wav;
    static_cast<WavFormat&>(wav) = format.Played();
    const std::size_t frames = samples->dataBytes / static_cast<std::size_t>(format.FrameBytes());
    wav.data.resize(frames * static_cast<std::size_t>(wav.BytesPerFrame()));
    Decode(bytes.subspan(samples->dataOffset, frames * static_cast<std::size_t>(format.FrameBytes())), format,
           wav.data.data());
    return wav;
}

std::optional<WavFile> ReadWavFile(const std::string& path, std::string& error)
{
    std::optional<WavFile> wav;
    // Converting samples may still find no memory: a bad sound, never the end.
    try {
        if (const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, MaxWavFileBytes, error))
            wav = DecodeWav(*bytes, error);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to read it";
    }
    if (!wav)
        error = path + ": " + error;
    return wav;
}

struct WavStream::Source {
    std::unique_ptr<FileReader> file;
    Format format;
    std::size_t dataOffset = 0;
    // The file's bytes of a piece whose samples are made 16-bit on the way.
    std::vector<std::uint8_t> undecoded;
};

WavStream::WavStream(std::unique_ptr<Source> opened) : source(std::move(opened)) {}

WavStream::~WavStream() = default;

std::unique_ptr<WavStream> WavStream::Open(const std::string& path, std::string& error)
{
    std::unique_ptr<FileReader> file = FileReader::Open(path, MaxWavFileBytes, error);
    std::optional<Samples> samples;
    if (file) {
        std::array<std::uint8_t, ExtensibleFormatBytes> header{};
        const auto piece = [&](std::size_t offset, std::size_t count) -> const std::uint8_t* {
            if (file->Read(offset, std::span(header).first(count)))
                return header.data();
            error = "cut short while read";
            return nullptr;
        };
        samples = FindSamples(file->Size(), piece, error);
    }
    if (!samples) {
        error = path + ": " + error;
        return nullptr;
    }
    auto source = std::make_unique<Source>();
    source->file = std::move(file);
    source->format = samples->format;
    source->dataOffset = samples->dataOffset;
    std::unique_ptr<WavStream> stream(new WavStream(std::move(source)));
    stream->layout = samples->format.Played();
    const std::size_t frames = samples->dataBytes / static_cast<std::size_t>(samples->format.FrameBytes());
    stream->bytes = static_cast<std::uint32_t>(frames * static_cast<std::size_t>(stream->layout.BytesPerFrame()));
    return stream;
}

bool WavStream::Read(std::uint32_t offset, std::span<std::uint8_t> out)
{
    const Format& stored = source->format;
    const std::size_t frame = offset / static_cast<std::size_t>(layout.BytesPerFrame());
    const std::size_t at = source->dataOffset + frame * static_cast<std::size_t>(stored.FrameBytes());
    if (stored.Playable())
        return source->file->Read(at, out);
    const std::size_t frames = out.size() / static_cast<std::size_t>(layout.BytesPerFrame());
    source->undecoded.resize(frames * static_cast<std::size_t>(stored.FrameBytes()));
    if (!source->file->Read(at, source->undecoded))
        return false;
    Decode(source->undecoded, stored, out.data());
    return true;
}
