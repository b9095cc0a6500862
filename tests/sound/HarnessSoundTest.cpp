#include <gtest/gtest.h>

#include <sstream>

#include "Harness.h"
#include "main/GameContext.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "sound/SoundPlayer.h"
#include "support/TestWav.h"

namespace {

class HarnessSoundTest : public ::testing::Test {
protected:
    GameContext context;
};

}  // namespace

TEST_F(HarnessSoundTest, EachFrameMixesSixteenMillisecondsAndTracesItsSoundCalls)
{
    TestWavFolder folder;
    const std::string path = folder.Write("second.wav", 2, AudioDevice::SampleRate,
                                          SquareWave(AudioDevice::SampleRate, 1000));
    std::ostringstream trace;
    Harness harness(context, HarnessOptions{}, {}, &trace, nullptr);
    Application& application = context.application;
    application.Audio().OpenLoopback();
    application.SetFrameRecord(&harness.Record());

    auto sound = SoundPlayer::Create(application);
    sound->AddEffect(path);
    sound->PlayEffect(0, false);
    sound->SetEffectVolume(3, 200);
    harness.AfterFrame(0);
    for (int frame = 1; frame < 5; ++frame)
        harness.AfterFrame(frame);

    EXPECT_EQ(sound->GetEffectPosition(0), 3528u * 4) << "5 frames of 705.6 samples";
    std::istringstream lines(trace.str());
    std::string first;
    std::string second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_NE(first.find(R"("sounds":["effect 0 play","effect 3 volume 200"])"), std::string::npos) << first;
    EXPECT_NE(second.find(R"("sounds":[])"), std::string::npos) << second;
}
