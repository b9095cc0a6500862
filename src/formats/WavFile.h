#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// How the samples of a RIFF WAVE file are laid out as the sound device takes them.
struct WavFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;

    int BytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// The PCM content of one RIFF WAVE file, as the scenes' sound files hold it.
// SoundPlayer loads its effects through here; the sound generator's tests read
// their output back through it too.
struct WavFile : WavFormat {
    // The data chunk's bytes, cut to whole sample frames.
    std::vector<std::uint8_t> data;
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

// A WAV file held open and read a piece at a time: the music, too long to
// hold whole. It is checked as ReadWavFile checks a file and refused with the
// same reason, and each piece is what ReadWavFile's data holds at its place.
class WavStream {
public:
    static std::unique_ptr<WavStream> Open(const std::string& path, std::string& error);
    ~WavStream();

    const WavFormat& Layout() const { return layout; }
    // The length of the data, as ReadWavFile's data would have it.
    std::uint32_t Bytes() const { return bytes; }
    // Fills out with the data from offset on, both in whole frames and within
    // Bytes(); false once the file cannot give them (it was cut short since).
    bool Read(std::uint32_t offset, std::span<std::uint8_t> out);

private:
    struct Source;
    explicit WavStream(std::unique_ptr<Source> source);

    std::unique_ptr<Source> source;
    WavFormat layout;
    std::uint32_t bytes = 0;
};
