#include "formats/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <span>

#include "support/TestWav.h"

// WAV files as other programs write them: other rates, depths, float
// samples, more channels, the extensible layout, extra chunks.
namespace {

// A WAV file as other programs write it: any format tag, depth and channel
// count, optionally in the extensible layout; sample(frame, channel) gives a
// 16-bit value that each depth stores in its own way.
std::vector<std::uint8_t> ForeignWav(std::uint16_t tag, int channels, int rate, int bits, bool extensible, int frames,
                                     const std::function<std::int16_t(int, int)>& sample)
{
    std::vector<std::uint8_t> body;
    const auto put = [&body](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            body.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    for (int frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel) {
            const std::int16_t value = sample(frame, channel);
            if (tag == 3 && bits == 32) {
                const float f = static_cast<float>(value / 32767.0);
                std::uint32_t raw = 0;
                std::memcpy(&raw, &f, 4);
                put(raw, 4);
            } else if (tag == 3) {
                const double d = value / 32767.0;
                std::uint64_t raw = 0;
                std::memcpy(&raw, &d, 8);
                put(raw, 8);
            } else if (bits == 8) {
                put(static_cast<std::uint8_t>((value >> 8) + 128), 1);
            } else {
                // The low bytes of deeper samples are noise the reader must drop.
                const auto top = static_cast<std::uint16_t>(value);
                put(0x5Au, bits / 8 - 2);
                put(top, 2);
            }
        }

    std::vector<std::uint8_t> format;
    const auto putFormat = [&format](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            format.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const int frameBytes = channels * bits / 8;
    putFormat(extensible ? 0xFFFE : tag, 2);
    putFormat(channels, 2);
    putFormat(rate, 4);
    putFormat(rate * frameBytes, 4);
    putFormat(frameBytes, 2);
    putFormat(bits, 2);
    if (extensible) {
        putFormat(22, 2);
        putFormat(bits, 2);
        putFormat(channels == 6 ? 0x3F : 0x3, 4);
        // The sub-format GUID starts with the real tag.
        putFormat(tag, 2);
        for (const std::uint8_t b : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71})
            format.push_back(b);
    }

    std::vector<std::uint8_t> file;
    const auto putFile = [&file](std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const auto chunk = [&](const char* id, const std::vector<std::uint8_t>& bytes) {
        file.insert(file.end(), id, id + 4);
        putFile(static_cast<std::uint32_t>(bytes.size()));
        file.insert(file.end(), bytes.begin(), bytes.end());
        if (bytes.size() % 2)
            file.push_back(0);
    };
    const std::string riff("RIFF\0\0\0\0WAVE", 12);
    file.assign(riff.begin(), riff.end());
    chunk("fmt ", format);
    chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'x', 'y', 'z', 0});
    chunk("data", body);
    const auto riffSize = static_cast<std::uint32_t>(file.size() - 8);
    for (int i = 0; i < 4; ++i)
        file[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return file;
}

std::int16_t Wave(int frame, int channel)
{
    return static_cast<std::int16_t>(frame * 523 - 16000 + channel * 1000);
}

TEST(ForeignWav, EightAndSixteenBitFilesAtAnyRateInOneOrTwoChannelsPassThrough)
{
    for (const int rate : {8000, 11025, 22050, 32000, 44100, 48000, 96000})
        for (const int channels : {1, 2})
            for (const int bits : {8, 16})
                for (const bool extensible : {false, true}) {
                    const std::string name = std::to_string(rate) + " Hz, " + std::to_string(channels) + " x " +
                                             std::to_string(bits) + (extensible ? " bits, extensible" : " bits");
                    const std::vector<std::uint8_t> bytes = ForeignWav(1, channels, rate, bits, extensible, 61, Wave);
                    std::string error;
                    const std::optional<WavFile> wav = DecodeWav(bytes, error);
                    ASSERT_TRUE(wav) << name << ": " << error;
                    EXPECT_EQ(wav->sampleRate, rate) << name;
                    EXPECT_EQ(wav->channels, channels) << name;
                    EXPECT_EQ(wav->bitsPerSample, bits) << name;
                    EXPECT_EQ(wav->data.size(), static_cast<std::size_t>(61 * channels * bits / 8)) << name;
                    if (bits == 16) {
                        EXPECT_EQ(wav->data[2], static_cast<std::uint8_t>(Wave(channels == 2 ? 0 : 1, channels - 1)))
                            << name;
                    }
                }
}

TEST(ForeignWav, DeeperFloatAndManyChannelFilesBecomeSixteenBitStereoWithTheSameSamples)
{
    struct Form {
        std::uint16_t tag;
        int bits;
        int channels;
        bool extensible;
    };
    const Form forms[] = {{1, 24, 1, false}, {1, 24, 2, false}, {1, 32, 2, false}, {3, 32, 1, false},
                          {3, 32, 2, false}, {3, 64, 2, false}, {1, 24, 6, true},  {3, 32, 6, true},
                          {1, 16, 6, true},  {1, 8, 6, false}};
    for (const Form& form : forms) {
        const std::string name = std::string(form.tag == 3 ? "float " : "PCM ") + std::to_string(form.bits) + " x " +
                                 std::to_string(form.channels) + (form.extensible ? ", extensible" : "");
        const std::vector<std::uint8_t> bytes =
            ForeignWav(form.tag, form.channels, 22050, form.bits, form.extensible, 40, Wave);
        std::string error;
        const std::optional<WavFile> wav = DecodeWav(bytes, error);
        ASSERT_TRUE(wav) << name << ": " << error;
        EXPECT_EQ(wav->sampleRate, 22050) << name;
        const int channels = std::min(form.channels, 2);
        EXPECT_EQ(wav->channels, channels) << name;
        EXPECT_EQ(wav->bitsPerSample, 16) << name;
        ASSERT_EQ(wav->data.size(), static_cast<std::size_t>(40 * channels * 2)) << name;
        int wrong = 0;
        for (int frame = 0; frame < 40; ++frame)
            for (int channel = 0; channel < channels; ++channel) {
                const std::size_t at = static_cast<std::size_t>(frame * channels + channel) * 2;
                const auto got = static_cast<std::int16_t>(wav->data[at] | wav->data[at + 1] << 8);
                // Eight-bit samples keep only their top byte.
                const std::int16_t want = form.bits == 8 ? static_cast<std::int16_t>(Wave(frame, channel) & ~0xFF)
                                                         : Wave(frame, channel);
                wrong += got == want ? 0 : 1;
            }
        EXPECT_EQ(wrong, 0) << name << ": samples that differ";
    }
}

// The music is read from its file a piece at a time, so the pieces must be
// the samples the file gives when decoded whole, in every layout.
TEST(ForeignWav, EveryLayoutReadInPiecesGivesWhatItDecodesToWhole)
{
    struct Form {
        std::uint16_t tag;
        int bits;
        int channels;
        bool extensible;
    };
    const Form forms[] = {{1, 16, 2, false}, {1, 8, 1, false}, {1, 24, 6, true}, {3, 32, 1, false}};
    TestWavFolder folder;
    for (const Form& form : forms) {
        const std::string name = std::to_string(form.bits) + " x " + std::to_string(form.channels);
        const std::vector<std::uint8_t> bytes =
            ForeignWav(form.tag, form.channels, 22050, form.bits, form.extensible, 40, Wave);
        std::string error;
        const std::optional<WavFile> wav = DecodeWav(bytes, error);
        ASSERT_TRUE(wav) << name << ": " << error;
        const std::unique_ptr<WavStream> stream = WavStream::Open(folder.WriteBytes("foreign.wav", bytes), error);
        ASSERT_TRUE(stream) << name << ": " << error;
        EXPECT_EQ(stream->Layout().channels, wav->channels) << name;
        EXPECT_EQ(stream->Layout().bitsPerSample, wav->bitsPerSample) << name;
        EXPECT_EQ(stream->Layout().sampleRate, wav->sampleRate) << name;
        ASSERT_EQ(stream->Bytes(), wav->data.size()) << name;

        // Pieces of 7 frames, the last one short, from the end of the data back to its start.
        const auto frameBytes = static_cast<std::uint32_t>(wav->BytesPerFrame());
        std::vector<std::uint8_t> pieces(wav->data.size());
        for (std::uint32_t at = 35 * frameBytes;; at -= 7 * frameBytes) {
            const std::uint32_t count = std::min(7 * frameBytes, stream->Bytes() - at);
            EXPECT_TRUE(stream->Read(at, std::span(pieces).subspan(at, count))) << name;
            if (at == 0)
                break;
        }
        EXPECT_EQ(pieces, wav->data) << name;
    }
}

}  // namespace
