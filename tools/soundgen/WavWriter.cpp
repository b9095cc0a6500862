#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

namespace {

constexpr int Channels = 2;
constexpr int BytesPerSample = 2;
constexpr float FullScale = 32767.0f;

void Put16(std::vector<char>& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::vector<char>& bytes, std::uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

void PutTag(std::vector<char>& bytes, const char (&tag)[5])
{
    bytes.insert(bytes.end(), tag, tag + 4);
}

std::uint16_t ToPcm(float sample)
{
    const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * FullScale);
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
}

}  // namespace

bool WriteWav(const std::string& path, const StereoBuffer& sound, std::string& error)
{
    const auto dataBytes = static_cast<std::uint32_t>(sound.Frames() * Channels * BytesPerSample);
    std::vector<char> bytes;
    bytes.reserve(44 + dataBytes);
    PutTag(bytes, "RIFF");
    Put32(bytes, 36 + dataBytes);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, 16);
    Put16(bytes, 1);
    Put16(bytes, Channels);
    Put32(bytes, SampleRate);
    Put32(bytes, SampleRate * Channels * BytesPerSample);
    Put16(bytes, Channels * BytesPerSample);
    Put16(bytes, BytesPerSample * 8);
    PutTag(bytes, "data");
    Put32(bytes, dataBytes);
    for (std::size_t i = 0; i < sound.Frames(); ++i) {
        Put16(bytes, ToPcm(sound.left[i]));
        Put16(bytes, ToPcm(sound.right[i]));
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
