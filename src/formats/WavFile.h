#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The PCM content of one RIFF WAVE file, as the scenes' sound files hold it.
// SoundPlayer loads every sound through here; the sound generator's tests read
// their output back through it too.
struct WavFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    // The data chunk's bytes, cut to whole sample frames.
    std::vector<std::uint8_t> data;

    int BytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// Reads uncompressed samples with the chunks in any order. 8- and 16-bit PCM
// in one or two channels comes through as it is; 24- and 32-bit PCM, 32- and
// 64-bit float and the extensible format become 16-bit, and of more channels
// the first two are kept. Anything else fails with a one-line reason: a
// truncated file, no "fmt " or "data" chunk, another format, or a data chunk
// that claims more bytes than the file holds (so a broken header never causes
// a huge allocation).
std::optional<WavFile> DecodeWav(std::span<const std::uint8_t> bytes, std::string& error);
// The same for a file; the reason starts with the path.
std::optional<WavFile> ReadWavFile(const std::string& path, std::string& error);
