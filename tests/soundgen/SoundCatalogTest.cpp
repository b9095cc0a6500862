#include "SoundCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include "Music.h"
#include "WavWriter.h"
#include "formats/WavFile.h"

namespace {

// The clear sequence waits on this many bytes of GameClear2.wav before the blocks burn.
constexpr std::size_t ClearWaitBytes = 200000;
// Cues the game restarts every 10 frames, and the cube turn it cuts after 30.
constexpr double RestartPeriodSeconds = 0.16;
constexpr double CubeTurnSeconds = 0.48;

// Every file the scenes load from Resource/Sound, as their sound tables spell them.
const char* const SceneSoundFiles[] = {
    "Player_Trans.wav", "Block_接着音.wav", "Block_Reverse.wav", "GameClear.wav", "Cursor2.wav",
    "決定音1.wav", "発射準備.wav", "発射音2.wav", "Load_End.wav", "GameOver.wav",
    "GameClearString_Swing.wav", "GameClearString_END.wav", "GameClear2.wav", "ClearBlock.wav", "GameBGM.wav",
    "Cursor1.wav", "TitleBGM.wav", "Select_Finish.wav", "SelectBGM2.wav", "Refused.wav",
};

struct Samples {
    std::vector<std::int16_t> pcm;
    double Seconds() const { return static_cast<double>(pcm.size()) / 2 / 44100; }
    int At(std::size_t frame, int channel) const { return pcm[frame * 2 + static_cast<std::size_t>(channel)]; }
    std::size_t Frames() const { return pcm.size() / 2; }
    // The largest change from one sample to the next anywhere in the sound.
    int LargestStep() const
    {
        int step = 0;
        for (std::size_t i = 2; i < pcm.size(); ++i)
            step = std::max(step, std::abs(pcm[i] - pcm[i - 2]));
        return step;
    }
};

// Reads back what the build generated into the runtime directory, once for all tests.
class SoundCatalogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sounds = new std::map<std::string, Samples>();
        for (const SoundRecipe& recipe : SoundCatalog()) {
            std::string error;
            const auto wav = ReadWavFile((folder / recipe.fileName).string(), error);
            ASSERT_TRUE(wav) << error;
            ASSERT_EQ(wav->channels, 2) << recipe.fileName;
            ASSERT_EQ(wav->sampleRate, 44100) << recipe.fileName;
            ASSERT_EQ(wav->bitsPerSample, 16) << recipe.fileName;
            Samples& samples = (*sounds)[recipe.fileName];
            samples.pcm.resize(wav->data.size() / 2);
            std::memcpy(samples.pcm.data(), wav->data.data(), wav->data.size());
        }
    }
    static void TearDownTestSuite() { delete sounds; }
    static const Samples& Sound(const char* name) { return sounds->at(name); }

    static inline const std::filesystem::path folder = ORB_SOUND_DIR;
    static std::map<std::string, Samples>* sounds;
};

std::map<std::string, Samples>* SoundCatalogTest::sounds = nullptr;

}  // namespace

TEST_F(SoundCatalogTest, EveryFileTheScenesLoadIsWrittenAs44kHz16BitStereo)
{
    std::vector<std::string> written;
    for (const SoundRecipe& recipe : SoundCatalog())
        written.emplace_back(recipe.fileName);
    std::vector<std::string> expected(std::begin(SceneSoundFiles), std::end(SceneSoundFiles));
    std::sort(written.begin(), written.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(written, expected);
    for (const char* name : SceneSoundFiles)
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
}

TEST_F(SoundCatalogTest, OneShotsStartAndEndInSilenceAndLoopsFlowIntoTheirStart)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        const Samples& sound = Sound(recipe.fileName);
        ASSERT_GT(sound.Frames(), 0u) << recipe.fileName;
        const std::size_t last = sound.Frames() - 1;
        // A loop's seam is no larger a step than the sound takes anywhere else.
        const int limit = recipe.loops ? sound.LargestStep() : 0;
        for (int channel = 0; channel < 2; ++channel) {
            if (!recipe.loops) {
                EXPECT_EQ(sound.At(0, channel), 0) << recipe.fileName;
            }
            EXPECT_LE(std::abs(sound.At(last, channel) - sound.At(0, channel)), limit) << recipe.fileName;
        }
    }
}

TEST_F(SoundCatalogTest, LengthsFitTheirUse)
{
    for (const char* music : {"TitleBGM.wav", "SelectBGM2.wav", "GameBGM.wav"}) {
        EXPECT_GE(Sound(music).Seconds(), 30.0) << music;
        EXPECT_LE(Sound(music).Seconds(), 90.0) << music;
    }
    EXPECT_GE(Sound("GameClear2.wav").Seconds(), 1.2);
    EXPECT_GT(Sound("GameClear2.wav").pcm.size() * 2, ClearWaitBytes);
    EXPECT_LE(Sound("GameClearString_Swing.wav").Seconds(), RestartPeriodSeconds);
    EXPECT_LE(Sound("ClearBlock.wav").Seconds(), RestartPeriodSeconds);
    EXPECT_LE(Sound("Select_Finish.wav").Seconds(), CubeTurnSeconds);
    EXPECT_NEAR(Sound("Block_Reverse.wav").Seconds(), 1.0, 0.3);
    for (const char* tick : {"Cursor1.wav", "Cursor2.wav", "Player_Trans.wav", "Refused.wav"})
        EXPECT_LE(Sound(tick).Seconds(), 0.25) << tick;
}

TEST_F(SoundCatalogTest, NothingClipsAndMusicStaysQuieterThanTheEffects)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        const auto& pcm = Sound(recipe.fileName).pcm;
        const int peak = std::abs(*std::max_element(pcm.begin(), pcm.end(), [](int a, int b) {
            return std::abs(a) < std::abs(b);
        }));
        EXPECT_LT(peak, 32000) << recipe.fileName;
        EXPECT_GT(peak, 3000) << recipe.fileName << " is nearly silent";
        const bool music = std::string(recipe.fileName).find("BGM") != std::string::npos;
        if (music) {
            EXPECT_LT(peak, 12000) << recipe.fileName << " must be quiet enough to play for an hour";
        }
    }
}

TEST_F(SoundCatalogTest, TheSameSourceWritesTheSameBytes)
{
    const std::filesystem::path again =
        std::filesystem::temp_directory_path() / ("orb-soundgen-test-" + std::to_string(std::random_device()()) + ".wav");
    std::string error;
    ASSERT_TRUE(WriteWav(again.string(), SelectMusic(), error)) << error;
    const auto fresh = ReadWavFile(again.string(), error);
    std::filesystem::remove(again);
    ASSERT_TRUE(fresh) << error;
    const std::vector<std::int16_t>& built = Sound("SelectBGM2.wav").pcm;
    ASSERT_EQ(fresh->data.size(), built.size() * 2);
    EXPECT_EQ(std::memcmp(fresh->data.data(), built.data(), fresh->data.size()), 0);
}
