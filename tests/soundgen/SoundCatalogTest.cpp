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

// The clear sequence waits on this many bytes of the clear jingle before the blocks burn.
constexpr std::size_t ClearWaitBytes = 200000;
// Cues the game restarts every 10 frames, and the cube turn it cuts after 30.
constexpr double RestartPeriodSeconds = 0.16;
constexpr double CubeTurnSeconds = 0.48;

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
            const auto wav = ReadWavFile((runtime / recipe.file).string(), error);
            ASSERT_TRUE(wav) << error;
            ASSERT_EQ(wav->channels, 2) << recipe.file;
            ASSERT_EQ(wav->sampleRate, 44100) << recipe.file;
            ASSERT_EQ(wav->bitsPerSample, 16) << recipe.file;
            Samples& samples = (*sounds)[recipe.file];
            samples.pcm.resize(wav->data.size() / 2);
            std::memcpy(samples.pcm.data(), wav->data.data(), wav->data.size());
        }
    }
    static void TearDownTestSuite() { delete sounds; }
    static const Samples& Sound(const char* name) { return sounds->at(name); }

    static inline const std::filesystem::path runtime = ORB_RUNTIME_DIR;
    static std::map<std::string, Samples>* sounds;
};

std::map<std::string, Samples>* SoundCatalogTest::sounds = nullptr;

}  // namespace

TEST_F(SoundCatalogTest, EverySoundTheGameNamesIsWrittenOnceAs44kHz16BitStereo)
{
    std::vector<std::string> written;
    for (const SoundRecipe& recipe : SoundCatalog())
        written.emplace_back(recipe.file);
    std::vector<std::string> named(std::begin(SoundFile::Named), std::end(SoundFile::Named));
    std::sort(written.begin(), written.end());
    std::sort(named.begin(), named.end());
    EXPECT_EQ(written, named);
    for (const char* name : SoundFile::Named)
        EXPECT_TRUE(std::filesystem::exists(runtime / name)) << name;
}

TEST_F(SoundCatalogTest, OneShotsStartAndEndInSilenceAndLoopsFlowIntoTheirStart)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        const Samples& sound = Sound(recipe.file);
        ASSERT_GT(sound.Frames(), 0u) << recipe.file;
        const std::size_t last = sound.Frames() - 1;
        // A loop's seam is no larger a step than the sound takes anywhere else.
        const int limit = recipe.loops ? sound.LargestStep() : 0;
        for (int channel = 0; channel < 2; ++channel) {
            if (!recipe.loops) {
                EXPECT_EQ(sound.At(0, channel), 0) << recipe.file;
            }
            EXPECT_LE(std::abs(sound.At(last, channel) - sound.At(0, channel)), limit) << recipe.file;
        }
    }
}

TEST_F(SoundCatalogTest, LengthsFitTheirUse)
{
    for (const char* music : {SoundFile::TitleMusic, SoundFile::SelectMusic, SoundFile::GameMusic}) {
        EXPECT_GE(Sound(music).Seconds(), 30.0) << music;
        EXPECT_LE(Sound(music).Seconds(), 90.0) << music;
    }
    EXPECT_GE(Sound(SoundFile::ClearJingle).Seconds(), 1.2);
    EXPECT_GT(Sound(SoundFile::ClearJingle).pcm.size() * 2, ClearWaitBytes);
    EXPECT_LE(Sound(SoundFile::ClearSwing).Seconds(), RestartPeriodSeconds);
    EXPECT_LE(Sound(SoundFile::BlockBurst).Seconds(), RestartPeriodSeconds);
    EXPECT_LE(Sound(SoundFile::CubeTurn).Seconds(), CubeTurnSeconds);
    EXPECT_NEAR(Sound(SoundFile::FlipBatchStart).Seconds(), 1.0, 0.3);
    for (const char* tick : {SoundFile::TitleCursor, SoundFile::MenuCursor, SoundFile::WalkStep, SoundFile::Refused})
        EXPECT_LE(Sound(tick).Seconds(), 0.25) << tick;
}

TEST_F(SoundCatalogTest, NothingClipsAndMusicStaysQuieterThanTheEffects)
{
    for (const SoundRecipe& recipe : SoundCatalog()) {
        const auto& pcm = Sound(recipe.file).pcm;
        const int peak = std::abs(*std::max_element(pcm.begin(), pcm.end(), [](int a, int b) {
            return std::abs(a) < std::abs(b);
        }));
        EXPECT_LT(peak, 32000) << recipe.file;
        EXPECT_GT(peak, 3000) << recipe.file << " is nearly silent";
        const bool music = std::string(recipe.file).find("BGM") != std::string::npos;
        if (music) {
            EXPECT_LT(peak, 12000) << recipe.file << " must be quiet enough to play for an hour";
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
    const std::vector<std::int16_t>& built = Sound(SoundFile::SelectMusic).pcm;
    ASSERT_EQ(fresh->data.size(), built.size() * 2);
    EXPECT_EQ(std::memcmp(fresh->data.data(), built.data(), fresh->data.size()), 0);
}
