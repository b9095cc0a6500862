#include "sound/SoundPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>

#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/FrameRecord.h"
#include "support/TestWav.h"

namespace {

using namespace std::chrono_literals;

constexpr int Rate = AudioDevice::SampleRate;
constexpr std::uint32_t StereoFrameBytes = 4;
constexpr std::int16_t Amplitude = 8000;
// The mixer dithers its 16-bit output, so silence reads as the odd ±1.
constexpr int Dither = 1;

int PeakOf(const std::vector<std::int16_t>& mix)
{
    int peak = 0;
    for (std::int16_t sample : mix)
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

// Loudest sample of what the device mixes over the given frames, once a new
// gain has settled: OpenAL takes it up one mix later and then glides into it
// over some samples rather than jump (a jump would click).
int Peak(AudioDevice& device, int frames)
{
    constexpr int SettleFrames = 1024;
    device.Mix(SettleFrames);
    device.Mix(SettleFrames);
    return PeakOf(device.Mix(frames));
}

// A track that never repeats itself, so that a piece played out of place shows.
std::vector<std::int16_t> Noise(int frames)
{
    std::mt19937 random(7);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * 2);
    for (std::int16_t& sample : samples)
        sample = static_cast<std::int16_t>(static_cast<int>(random() % (2 * Amplitude + 1)) - Amplitude);
    return samples;
}

// 1.3 seconds: longer than music's queue, and ending inside one of its buffers.
constexpr int LongFrames = 57330;

// What the device mixes over a run of frame-sized mixes with one of two
// seconds among them, longer than a queue of music, and where the sound
// stands after each.
struct Heard {
    std::vector<std::int16_t> samples;
    std::vector<std::uint32_t> positions;
};

Heard Listen(AudioDevice& device, const std::function<std::uint32_t()>& position)
{
    Heard heard;
    const auto mix = [&](int frames) {
        const std::vector<std::int16_t> samples = device.Mix(frames);
        heard.samples.insert(heard.samples.end(), samples.begin(), samples.end());
        heard.positions.push_back(position());
    };
    for (int frame = 0; frame < 40; ++frame)
        mix(706);
    mix(2 * Rate);
    for (int frame = 0; frame < 30; ++frame)
        mix(706);
    return heard;
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application.Audio().OpenLoopback();
        oneSecond = folder.Write("second.wav", 2, Rate, SquareWave(Rate, Amplitude));
    }

    AudioDevice& Device() { return application.Audio(); }
    int Peak(int frames) { return ::Peak(Device(), frames); }
    void Run(int milliseconds) { Device().Advance(std::chrono::milliseconds(milliseconds)); }

    Application application;
    TestWavFolder folder;
    std::string oneSecond;
};

}  // namespace

TEST_F(SoundPlayerTest, AOneShotPlayedAgainStartsOverAndIsHeardOnce)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->PlayEffect(0, false);
    Run(100);
    EXPECT_EQ(sound->GetEffectPosition(0), 4410 * StereoFrameBytes);

    sound->PlayEffect(0, false);
    EXPECT_EQ(sound->GetEffectPosition(0), 0u);
    sound->PlayEffect(0, false);
    const int peak = PeakOf(Device().Mix(441));
    EXPECT_EQ(sound->GetEffectPosition(0), 441 * StereoFrameBytes);
    EXPECT_NEAR(peak, Amplitude, Amplitude / 20) << "two copies at once would be twice as loud";
}

TEST_F(SoundPlayerTest, AOneShotReadsZeroOnceEndedWhileALoopGoesRound)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->AddEffect(oneSecond);
    EXPECT_EQ(sound->GetEffectPosition(0), 0u);
    EXPECT_FALSE(sound->IsEffectPlaying(0));

    sound->PlayEffect(0, false);
    sound->PlayEffect(1, true);
    // Started but not yet mixed: the position still reads 0, so a wait for the end must ask IsEffectPlaying.
    EXPECT_EQ(sound->GetEffectPosition(0), 0u);
    EXPECT_TRUE(sound->IsEffectPlaying(0));

    Run(1200);
    EXPECT_EQ(sound->GetEffectPosition(0), 0u);
    EXPECT_FALSE(sound->IsEffectPlaying(0));
    EXPECT_EQ(sound->GetEffectPosition(1), 8820 * StereoFrameBytes);
    EXPECT_TRUE(sound->IsEffectPlaying(1));
}

TEST_F(SoundPlayerTest, FramesOfSixteenMillisecondsAdvanceWithoutDrift)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->PlayEffect(0, false);
    for (int frame = 0; frame < 5; ++frame)
        Device().Advance(16ms);
    EXPECT_EQ(sound->GetEffectPosition(0), 3528 * StereoFrameBytes) << "5 frames of 705.6 samples";
}

TEST_F(SoundPlayerTest, StoppedSoundsKeepTheirPlaceAndMusicResumesWithoutRestarting)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->AddMusic(oneSecond);
    sound->PlayMusic(0);
    sound->PlayEffect(0, false);
    Run(100);
    sound->StopMusic(0);
    sound->StopEffect(0);
    Run(100);
    EXPECT_EQ(sound->GetMusicPosition(0), 4410 * StereoFrameBytes);
    EXPECT_EQ(sound->GetEffectPosition(0), 4410 * StereoFrameBytes);
    EXPECT_FALSE(sound->IsEffectPlaying(0));

    sound->PlayMusic(0);
    Run(100);
    sound->PlayMusic(0);
    Run(100);
    EXPECT_EQ(sound->GetMusicPosition(0), 3 * 4410 * StereoFrameBytes);
    Run(800);
    EXPECT_EQ(sound->GetMusicPosition(0), 4410 * StereoFrameBytes) << "music loops";
}

TEST_F(SoundPlayerTest, MusicLongerThanItsQueueSoundsAndCountsAsTheTrackHeldWholeAndLooping)
{
    const std::string track = folder.Write("long.wav", 2, Rate, Noise(LongFrames));
    Heard whole;
    {
        auto sound = SoundPlayer::Create(application);
        sound->AddEffect(track);
        sound->PlayEffect(0, true);
        whole = Listen(Device(), [&] { return sound->GetEffectPosition(0); });
    }
    // Afresh, for the same dither.
    Device().OpenLoopback();
    auto sound = SoundPlayer::Create(application);
    sound->AddMusic(track);
    sound->PlayMusic(0);
    const Heard streamed = Listen(Device(), [&] { return sound->GetMusicPosition(0); });

    EXPECT_EQ(streamed.positions.back(), (40 * 706 + 2 * Rate + 30 * 706) % LongFrames * StereoFrameBytes);
    EXPECT_EQ(streamed.positions, whole.positions);
    ASSERT_EQ(streamed.samples.size(), whole.samples.size());
    const auto differ = std::mismatch(streamed.samples.begin(), streamed.samples.end(), whole.samples.begin());
    EXPECT_EQ(differ.first - streamed.samples.begin(), std::ssize(whole.samples)) << "the first sample that differs";
}

TEST_F(SoundPlayerTest, PausedMusicResumesWhereItStoppedPastItsFirstBuffers)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddMusic(folder.Write("long.wav", 2, Rate, Noise(LongFrames)));
    sound->PlayMusic(0);
    Run(700);
    sound->StopMusic(0);
    Run(2000);
    EXPECT_EQ(sound->GetMusicPosition(0), 30870 * StereoFrameBytes);
    EXPECT_LE(Peak(1000), Dither);

    sound->PlayMusic(0);
    Run(900);
    EXPECT_EQ(sound->GetMusicPosition(0), (30870 + 39690 - LongFrames) * StereoFrameBytes);
    EXPECT_GT(Peak(1000), Amplitude / 2);
}

TEST_F(SoundPlayerTest, AMusicFileCutShortWhilePlayingFallsSilentWithoutHarm)
{
    const std::string track = folder.Write("long.wav", 2, Rate, Noise(LongFrames));
    auto sound = SoundPlayer::Create(application);
    sound->AddMusic(track);
    sound->PlayMusic(0);
    Run(100);
    std::filesystem::resize_file(track, 1000);
    Run(3000);
    EXPECT_LE(Peak(1000), Dither);
    sound->StopMusic(0);
    sound->PlayMusic(0);
    EXPECT_LE(Peak(1000), Dither);
}

TEST_F(SoundPlayerTest, VolumesAreHundredthsOfADecibelAndValuesAboveZeroAreRefused)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->PlayEffect(0, true);

    EXPECT_FALSE(sound->SetEffectVolume(0, 300));
    EXPECT_NEAR(Peak(1000), Amplitude, Amplitude / 20);
    EXPECT_TRUE(sound->SetEffectVolume(0, -600));
    EXPECT_NEAR(Peak(1000), Amplitude / 2, Amplitude / 20) << "-6 dB is half the amplitude";
    EXPECT_FALSE(sound->SetEffectVolume(0, 200));
    EXPECT_NEAR(Peak(1000), Amplitude / 2, Amplitude / 20) << "a refused value leaves the volume as it was";
    EXPECT_TRUE(sound->SetEffectVolume(0, -10000));
    EXPECT_LE(Peak(1000), Dither) << "-10000 is silence";
}

TEST_F(SoundPlayerTest, HalfTheFrequencyPlaysAtHalfTheSpeed)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddMusic(oneSecond);
    EXPECT_EQ(sound->GetMusicFrequency(0), 44100u);
    EXPECT_TRUE(sound->SetMusicFrequency(0, 22050));
    EXPECT_EQ(sound->GetMusicFrequency(0), 22050u);
    sound->PlayMusic(0);
    Run(100);
    EXPECT_EQ(sound->GetMusicPosition(0), 2205 * StereoFrameBytes);

    EXPECT_FALSE(sound->SetMusicFrequency(0, 50));
    EXPECT_TRUE(sound->SetMusicFrequency(0, 0));
    EXPECT_EQ(sound->GetMusicFrequency(0), 44100u) << "0 restores the file's own rate";
}

TEST_F(SoundPlayerTest, CallsOnPositionsTheListsDoNotHaveDoNothing)
{
    auto sound = SoundPlayer::Create(application);
    for (int i = 0; i < 17; ++i)
        sound->AddEffect(oneSecond);
    sound->AddMusic(oneSecond);
    for (int position : {17, -1, 1000}) {
        sound->PlayEffect(position, false);
        sound->PlayEffect(position, true);
        sound->StopEffect(position);
        EXPECT_FALSE(sound->SetEffectVolume(position, -100));
        EXPECT_FALSE(sound->IsEffectPlaying(position));
        EXPECT_EQ(sound->GetEffectPosition(position), 0u);
    }
    sound->PlayMusic(1);
    sound->StopMusic(1);
    EXPECT_FALSE(sound->SetMusicVolume(1, -100));
    EXPECT_FALSE(sound->SetMusicFrequency(1, 22050));
    EXPECT_EQ(sound->GetMusicFrequency(1), 0u);
    EXPECT_LE(Peak(1000), Dither);
}

TEST_F(SoundPlayerTest, BrokenFilesStaySilentAndKeepEveryLaterPositionInPlace)
{
    std::vector<std::uint8_t> huge = WavBytes(2, Rate, SquareWave(100, Amplitude));
    huge[40] = huge[41] = huge[42] = huge[43] = 0xFF;
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(folder.PathOf("missing.wav"));
    sound->AddEffect(folder.WriteBytes("garbage.wav", {'R', 'I', 'F', 'F', 1, 2, 3}));
    sound->AddEffect(folder.WriteBytes("huge.wav", huge));
    const std::string mono = folder.Write("mono.wav", 1, Rate, std::vector<std::int16_t>(1000, Amplitude));
    sound->AddEffect(mono);
    sound->AddMusic(folder.PathOf("missing.wav"));
    sound->AddMusic(oneSecond);

    ASSERT_EQ(sound->EffectCount(), 4);
    for (int position = 0; position < 3; ++position) {
        sound->PlayEffect(position, true);
        EXPECT_FALSE(sound->IsEffectPlaying(position)) << position;
        EXPECT_EQ(sound->GetEffectLength(position), 0u) << position;
    }
    sound->PlayMusic(0);
    EXPECT_EQ(sound->GetMusicFrequency(0), 0u);
    EXPECT_LE(Peak(500), Dither);

    EXPECT_EQ(sound->GetEffectLength(3), 2000u) << "1000 frames of 16-bit mono";
    sound->PlayEffect(3, false);
    sound->PlayMusic(1);
    EXPECT_TRUE(sound->IsEffectPlaying(3));
    Run(10);
    EXPECT_EQ(sound->GetEffectPosition(3), 441u * 2);
    EXPECT_EQ(sound->GetMusicPosition(1), 441u * StereoFrameBytes);
}

TEST_F(SoundPlayerTest, DestructionPutsTheOutputVolumeBack)
{
    Device().SetOutputGain(0.5f);
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    Device().SetOutputGain(0.25f);
    sound.reset();
    EXPECT_FLOAT_EQ(Device().OutputGain(), 0.5f);
}

TEST_F(SoundPlayerTest, EveryCallIsReportedInTheFrameRecord)
{
    FrameRecord record;
    application.SetFrameRecord(&record);
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->AddMusic(oneSecond);
    sound->PlayEffect(0, false);
    sound->PlayEffect(6, true);
    sound->StopEffect(0);
    sound->SetEffectVolume(13, 200);
    sound->PlayMusic(0);
    sound->StopMusic(0);
    sound->SetMusicVolume(0, -500);
    sound->SetMusicFrequency(0, 36750);
    sound->GetEffectPosition(0);
    sound->IsEffectPlaying(0);
    EXPECT_EQ(record.sounds, (std::vector<std::string>{"effect 0 play", "effect 6 loop", "effect 0 stop",
                                                       "effect 13 volume 200", "music 0 play", "music 0 stop",
                                                       "music 0 volume -500", "music 0 frequency 36750"}));
}

TEST_F(SoundPlayerTest, ASoundOutlivingItsDeviceGoesSilentWithoutHarm)
{
    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(oneSecond);
    sound->PlayEffect(0, true);
    Device().Close();
    sound->PlayEffect(0, false);
    EXPECT_FALSE(sound->IsEffectPlaying(0));
    EXPECT_EQ(sound->GetEffectPosition(0), 0u);

    Device().OpenLoopback();
    auto next = SoundPlayer::Create(application);
    next->AddEffect(oneSecond);
    next->PlayEffect(0, true);
    sound.reset();
    EXPECT_TRUE(next->IsEffectPlaying(0)) << "the old sound must not release the new device's sources";
}
