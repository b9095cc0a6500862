#include "formats/WavFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestWav.h"

namespace {

std::vector<std::int16_t> Ramp(int count)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < count; ++i)
        samples.push_back(static_cast<std::int16_t>(i * 7 - 3000));
    return samples;
}

void Patch32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t FormatTagOffset = 20;
constexpr std::size_t DataSizeOffset = 40;

}  // namespace

TEST(WavFile, AThousandMonoFramesGiveTheirTwoThousandBytesUnchanged)
{
    TestWavFolder folder;
    const std::vector<std::int16_t> samples = Ramp(1000);
    std::string error;
    const auto wav = ReadWavFile(folder.Write("mono.wav", 1, 22050, samples), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->sampleRate, 22050);
    EXPECT_EQ(wav->bitsPerSample, 16);
    ASSERT_EQ(wav->data.size(), 2000u);
    EXPECT_EQ(std::memcmp(wav->data.data(), samples.data(), 2000), 0);
}

TEST(WavFile, FindsItsChunksPastExtraFormatBytesAndOddSizedChunksInAnyOrder)
{
    // data first, then an odd-sized LIST chunk with its pad byte, then an 18-byte fmt.
    std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const std::vector<std::uint8_t> data = {'d', 'a', 't', 'a', 6, 0, 0, 0, 1, 2, 3, 4, 5, 6};
    const std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    const std::vector<std::uint8_t> format = {'f', 'm', 't', ' ', 18, 0,    0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0,
                                              0x88, 0x58, 1, 0, 2, 0, 16, 0, 0, 0};
    for (const auto* chunk : {&data, &list, &format})
        bytes.insert(bytes.end(), chunk->begin(), chunk->end());
    TestWavFolder folder;
    std::string error;
    const auto wav = ReadWavFile(folder.WriteBytes("order.wav", bytes), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->sampleRate, 44100);
    EXPECT_EQ(wav->data, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(WavFile, ADataChunkThatEndsInsideAFrameIsCutToWholeFrames)
{
    std::vector<std::uint8_t> bytes = WavBytes(2, 44100, Ramp(8));
    bytes.pop_back();
    Patch32(bytes, DataSizeOffset, 15);
    TestWavFolder folder;
    std::string error;
    const auto wav = ReadWavFile(folder.WriteBytes("odd.wav", bytes), error);
    ASSERT_TRUE(wav) << error;
    EXPECT_EQ(wav->data.size(), 12u);
}

TEST(WavFile, BrokenFilesFailWithAReason)
{
    TestWavFolder folder;
    const std::vector<std::uint8_t> good = WavBytes(2, 44100, Ramp(400));

    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> broken;
    broken.emplace_back("empty.wav", std::vector<std::uint8_t>{});
    broken.emplace_back("header-only.wav", std::vector<std::uint8_t>(good.begin(), good.begin() + 12));
    broken.emplace_back("truncated.wav", std::vector<std::uint8_t>(good.begin(), good.begin() + 300));
    auto notRiff = good;
    notRiff[3] = 'X';
    broken.emplace_back("not-riff.wav", notRiff);
    auto huge = good;
    Patch32(huge, DataSizeOffset, 0xFFFFFFF0u);
    broken.emplace_back("huge.wav", huge);
    auto adpcm = good;
    adpcm[FormatTagOffset] = 2;
    broken.emplace_back("adpcm.wav", adpcm);
    auto shortFormat = good;
    Patch32(shortFormat, 16, 14);
    broken.emplace_back("short-fmt.wav", shortFormat);
    auto noData = good;
    noData[36] = 'x';
    broken.emplace_back("no-data.wav", noData);

    // The music, read a piece at a time, is refused as a file read whole is.
    const auto refusal = [](const std::string& path) {
        std::string error;
        std::string streamError;
        EXPECT_FALSE(ReadWavFile(path, error)) << path;
        EXPECT_FALSE(WavStream::Open(path, streamError)) << path;
        EXPECT_EQ(streamError, error);
        return error;
    };
    for (const auto& [name, bytes] : broken)
        EXPECT_FALSE(refusal(folder.WriteBytes(name, bytes)).empty()) << name;
    const std::string error = refusal(folder.PathOf("missing.wav"));
    EXPECT_NE(error.find("missing.wav"), std::string::npos) << error;
}
