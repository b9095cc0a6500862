#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/Keyboard.h"
#include "platform/VirtualKey.h"

namespace {

constexpr std::uint16_t Down = Keyboard::DownBit;
constexpr std::uint16_t Pressed = Keyboard::PressedBit;

TEST(Keyboard, HeldKeyReportsDownAndThePressOnlyOnce)
{
    Keyboard keys;
    keys.Press(VirtualKey::Up);
    EXPECT_EQ(keys.Poll(VirtualKey::Up), Down | Pressed);
    EXPECT_EQ(keys.Poll(VirtualKey::Up), Down);
    keys.Release(VirtualKey::Up);
    EXPECT_EQ(keys.Poll(VirtualKey::Up), 0);
}

TEST(Keyboard, TapBetweenTwoPollsCountsForThePressedBitOnly)
{
    Keyboard keys;
    keys.Press(VirtualKey::Return);
    keys.Release(VirtualKey::Return);
    EXPECT_EQ(keys.Poll(VirtualKey::Return), Pressed);
    EXPECT_EQ(keys.Poll(VirtualKey::Return), 0);
}

TEST(Keyboard, PressedBitIsKeptPerKey)
{
    Keyboard keys;
    keys.Press(VirtualKey::Left);
    keys.Press(VirtualKey::Right);
    EXPECT_EQ(keys.Poll(VirtualKey::Left), Down | Pressed);
    EXPECT_EQ(keys.Poll(VirtualKey::Right), Down | Pressed) << "polling Left must not consume Right's press";
}

TEST(Keyboard, AutoRepeatOfAHeldKeyIsNotANewPress)
{
    Keyboard keys;
    keys.Press(VirtualKey::Space);
    keys.Poll(VirtualKey::Space);
    keys.Press(VirtualKey::Space);
    EXPECT_EQ(keys.Poll(VirtualKey::Space), Down);
}

TEST(Keyboard, ReleaseAllForgetsHeldKeysAndPendingPresses)
{
    Keyboard keys;
    keys.Press(VirtualKey::M);
    keys.Press(VirtualKey::Digit1);
    keys.ReleaseAll();
    EXPECT_EQ(keys.Poll(VirtualKey::M), 0);
    EXPECT_EQ(keys.Poll(VirtualKey::Digit1), 0);
}

TEST(Keyboard, CodesOutsideTheTableAreIgnored)
{
    Keyboard keys;
    keys.Press(-1);
    keys.Press(256);
    EXPECT_EQ(keys.Poll(256), 0);
    EXPECT_FALSE(keys.IsDown(-1));
}

TEST(Application, EscapeDownPostsTheQuitAndOtherKeysDoNot)
{
    Application application;
    application.KeyEvent(VirtualKey::Up, true);
    EXPECT_FALSE(application.QuitPosted());
    EXPECT_TRUE(application.Keys().IsDown(VirtualKey::Up));
    application.KeyEvent(VirtualKey::Escape, true);
    EXPECT_TRUE(application.QuitPosted());
    EXPECT_FALSE(application.PumpEvents());
}

TEST(Application, MessageBoxesGoToTheResponderWithTheirDefault)
{
    Application application;
    std::vector<MessageRequest> seen;
    application.SetMessageResponder([&](const MessageRequest& request) {
        seen.push_back(request);
        return DefaultAnswer(request);
    });
    std::string error;
    ASSERT_TRUE(application.Create(false, error));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "フルスクリーンにしますか？");
    EXPECT_EQ(seen[0].caption, "確認");
    EXPECT_EQ(seen[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(application.fullScreen) << "No is the default answer";
}

}  // namespace
