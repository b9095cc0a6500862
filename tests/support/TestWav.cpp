#include "support/TestWav.h"

#include <fstream>
#include <random>

namespace {

void Put16(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& bytes, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

TestWavFolder::TestWavFolder()
{
    std::random_device entropy;
    folder = std::filesystem::temp_directory_path() / ("orb-sound-test-" + std::to_string(entropy()));
    std::filesystem::create_directories(folder);
}

TestWavFolder::~TestWavFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string TestWavFolder::Write(const std::string& name, int channels, int sampleRate,
                                 const std::vector<std::int16_t>& samples)
{
    return WriteBytes(name, WavBytes(channels, sampleRate, samples));
}

std::string TestWavFolder::WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::string path = PathOf(name);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> WavBytes(int channels, int sampleRate, const std::vector<std::int16_t>& samples)
{
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> bytes;
    PutTag(bytes, "RIFF");
    Put32(bytes, 36 + dataBytes);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, 16);
    Put16(bytes, 1);
    Put16(bytes, static_cast<std::uint32_t>(channels));
    Put32(bytes, static_cast<std::uint32_t>(sampleRate));
    Put32(bytes, static_cast<std::uint32_t>(sampleRate * channels * 2));
    Put16(bytes, static_cast<std::uint32_t>(channels * 2));
    Put16(bytes, 16);
    PutTag(bytes, "data");
    Put32(bytes, dataBytes);
    for (std::int16_t sample : samples)
        Put16(bytes, static_cast<std::uint16_t>(sample));
    return bytes;
}

std::vector<std::int16_t> SquareWave(int frames, std::int16_t amplitude)
{
    constexpr int HalfPeriod = 220;
    std::vector<std::int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const std::int16_t value = (i / HalfPeriod) % 2 ? static_cast<std::int16_t>(-amplitude) : amplitude;
        samples.push_back(value);
        samples.push_back(value);
    }
    return samples;
}
