#include "sound/WavFile.h"

#include <array>
#include <cstring>
#include <fstream>

#include "platform/LittleEndian.h"

namespace {

constexpr std::uint16_t PcmFormatTag = 1;
constexpr std::uint32_t MinFormatBytes = 16;
constexpr std::uint32_t ChunkHeaderBytes = 8;
// The playback rates DirectSound buffers accept, which the game's files stay within.
constexpr std::uint32_t MinSampleRate = 100;
constexpr std::uint32_t MaxSampleRate = 200000;

bool ReadExactly(std::ifstream& file, void* destination, std::uint64_t count)
{
    file.read(static_cast<char*>(destination), static_cast<std::streamsize>(count));
    return static_cast<std::uint64_t>(file.gcount()) == count;
}

// Fills the format fields from the first 16 bytes of a "fmt " chunk.
bool ParseFormat(const std::uint8_t* bytes, WavFile& wav, std::string& error)
{
    const std::uint16_t tag = ReadLittle16(bytes);
    const std::uint16_t channels = ReadLittle16(bytes + 2);
    const std::uint32_t rate = ReadLittle32(bytes + 4);
    const std::uint16_t blockAlign = ReadLittle16(bytes + 12);
    const std::uint16_t bits = ReadLittle16(bytes + 14);
    if (tag != PcmFormatTag) {
        error = "not PCM (format tag " + std::to_string(tag) + ")";
        return false;
    }
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) {
        error = "unsupported layout: " + std::to_string(channels) + " channels of " + std::to_string(bits) + " bits";
        return false;
    }
    if (rate < MinSampleRate || rate > MaxSampleRate) {
        error = "unsupported sample rate " + std::to_string(rate);
        return false;
    }
    if (blockAlign != channels * bits / 8) {
        error = "block alignment " + std::to_string(blockAlign) + " does not match the format";
        return false;
    }
    wav.channels = channels;
    wav.sampleRate = static_cast<int>(rate);
    wav.bitsPerSample = bits;
    return true;
}

}  // namespace

std::optional<WavFile> ReadWavFile(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    const std::uint64_t fileBytes = static_cast<std::uint64_t>(file.tellg());
    file.seekg(0);

    std::array<std::uint8_t, 12> header{};
    if (fileBytes < header.size() || !ReadExactly(file, header.data(), header.size()) ||
        std::memcmp(header.data(), "RIFF", 4) != 0 || std::memcmp(header.data() + 8, "WAVE", 4) != 0) {
        error = path + ": not a RIFF WAVE file";
        return std::nullopt;
    }

    // The RIFF size is often wrong in files written by streaming tools, so the
    // chunks are walked to the end of the file instead.
    WavFile wav;
    bool haveFormat = false;
    std::uint64_t dataOffset = 0;
    std::uint64_t dataBytes = 0;
    bool haveData = false;
    std::uint64_t offset = header.size();
    while (offset + ChunkHeaderBytes <= fileBytes && !(haveFormat && haveData)) {
        std::array<std::uint8_t, ChunkHeaderBytes> chunk{};
        file.seekg(static_cast<std::streamoff>(offset));
        if (!ReadExactly(file, chunk.data(), chunk.size()))
            break;
        const std::uint64_t size = ReadLittle32(chunk.data() + 4);
        const std::uint64_t body = offset + ChunkHeaderBytes;
        if (std::memcmp(chunk.data(), "fmt ", 4) == 0 && !haveFormat) {
            std::array<std::uint8_t, MinFormatBytes> format{};
            if (size < MinFormatBytes || body + MinFormatBytes > fileBytes ||
                !ReadExactly(file, format.data(), format.size())) {
                error = path + ": short \"fmt \" chunk";
                return std::nullopt;
            }
            if (!ParseFormat(format.data(), wav, error)) {
                error = path + ": " + error;
                return std::nullopt;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk.data(), "data", 4) == 0 && !haveData) {
            if (size > fileBytes - body) {
                error = path + ": the data chunk claims " + std::to_string(size) + " bytes but the file holds " +
                        std::to_string(fileBytes - body);
                return std::nullopt;
            }
            dataOffset = body;
            dataBytes = size;
            haveData = true;
        }
        // Chunks are padded to an even length.
        offset = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) {
        error = path + (haveFormat ? ": no \"data\" chunk" : ": no \"fmt \" chunk");
        return std::nullopt;
    }

    dataBytes -= dataBytes % static_cast<std::uint64_t>(wav.BytesPerFrame());
    wav.data.resize(dataBytes);
    file.clear();
    file.seekg(static_cast<std::streamoff>(dataOffset));
    if (!ReadExactly(file, wav.data.data(), dataBytes)) {
        error = path + ": cannot read the data chunk";
        return std::nullopt;
    }
    return wav;
}
