#include "platform/AudioDevice.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/Application.h"
#include "sound/SoundPlayer.h"
#include "support/TestWav.h"

namespace {

class AudioDeviceTest : public ::testing::Test {
protected:
    Application application;
};

}  // namespace

TEST_F(AudioDeviceTest, TheFirstSoundPlayerOpensTheDeviceAndWithoutHardwareTimeStillPasses)
{
    TestWavFolder folder;
    const std::string path = folder.Write("second.wav", 2, AudioDevice::SampleRate,
                                          SquareWave(AudioDevice::SampleRate, 1000));
    auto sound = SoundPlayer::Create(application);
    ASSERT_TRUE(application.Audio().IsOpen());
    sound->AddEffect(path);
    sound->PlayEffect(0, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_GT(sound->GetEffectPosition(0), 0u) << "the loopback fallback must follow the wall clock";
}

TEST_F(AudioDeviceTest, OnlyAnOpenLoopbackDeviceMixes)
{
    AudioDevice device;
    EXPECT_TRUE(device.Mix(100).empty());
    ASSERT_TRUE(device.OpenLoopback());
    EXPECT_TRUE(device.IsLoopback());
    EXPECT_EQ(device.Mix(100).size(), 200u);
    auto session = device.CurrentSession();
    device.Close();
    EXPECT_FALSE(device.IsOpen());
    EXPECT_TRUE(session.expired());
}
