#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// WAV files written on the spot for the sound tests, in a folder of their own
// that goes away with the object.
class TestWavFolder {
public:
    TestWavFolder();
    ~TestWavFolder();

    // A 16-bit PCM file holding the given interleaved samples.
    std::string Write(const std::string& name, int channels, int sampleRate, const std::vector<std::int16_t>& samples);
    // Any bytes at all, for broken files.
    std::string WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes);
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

private:
    std::filesystem::path folder;
};

// The bytes of a 16-bit PCM WAV file.
std::vector<std::uint8_t> WavBytes(int channels, int sampleRate, const std::vector<std::int16_t>& samples);

// frames stereo frames of a square wave of the given amplitude, 100 Hz at 44.1 kHz.
std::vector<std::int16_t> SquareWave(int frames, std::int16_t amplitude);
