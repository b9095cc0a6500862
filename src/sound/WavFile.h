#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The PCM content of one RIFF WAVE file, as the scenes' sound files hold it.
// DXSound loads every sound through here; the sound generator's tests read
// their output back through it too.
struct WavFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    // The data chunk's bytes, cut to whole sample frames.
    std::vector<std::uint8_t> data;

    int BytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// Reads uncompressed PCM, 8 or 16 bits, mono or stereo, with the chunks in any
// order. Anything else fails with a one-line reason: a missing or truncated
// file, no "fmt " or "data" chunk, another format, or a data chunk that claims
// more bytes than the file holds (so a broken header never causes a huge
// allocation).
std::optional<WavFile> ReadWavFile(const std::string& path, std::string& error);
