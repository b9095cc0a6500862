#include <gtest/gtest.h>

#include <SDL.h>

#include "app/SceneManager.h"
#include "scenes/Game.h"
#include "game/Player.h"
#include "main/FrameLoop.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "scenes/SceneFixture.h"
#include "scenes/Title.h"

namespace {

// A controller made by SDL itself (a virtual joystick with the standard
// controller layout), driving the real scenes through the same keys.
class GamePad : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        ASSERT_TRUE(App().OpenGamePads());
        SDL_VirtualJoystickDesc pad{};
        pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        pad.naxes = SDL_CONTROLLER_AXIS_MAX;
        pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        pad.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&pad);
        ASSERT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        // Plugged in while the game runs: the next events open it.
        Frames(1);
    }

    void TearDown() override
    {
        if (joystick) {
            SDL_JoystickClose(joystick);
            SDL_JoystickDetachVirtual(0);
        }
        SceneFixture::TearDown();
    }

    // Whole frames of the game's loop: events first, then the frame.
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            App().PumpEvents();
            RunFrame(Context());
        }
    }
    void Button(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
    }
    void Press(SDL_GameControllerButton button)
    {
        Button(button, true);
        Frames(1);
        Button(button, false);
        Frames(1);
    }
    void Stick(SDL_GameControllerAxis axis, int value) { SDL_JoystickSetVirtualAxis(joystick, axis, value); }

    SDL_Joystick* joystick = nullptr;
};

TEST_F(GamePad, TakesThePlayerFromTheTitleIntoAGameAndFiresAShot)
{
    WriteStage({{2, 0, 0, BlockKind::Black}, {3, 0, 0, BlockKind::White}});
    SceneManager& scenes = Scenes();
    scenes.ChangeScene(SceneId::Title);
    // Start opens the menu, B the difficulty choice, Start takes Easy.
    Press(SDL_CONTROLLER_BUTTON_START);
    Press(SDL_CONTROLLER_BUTTON_B);
    Frames(60);
    Press(SDL_CONTROLLER_BUTTON_START);
    for (int i = 0; i < 200 && scenes.CurrentId() != SceneId::Select; ++i)
        Frames(1);
    ASSERT_EQ(scenes.CurrentId(), SceneId::Select);
    Frames(90);
    Press(SDL_CONTROLLER_BUTTON_B);
    for (int i = 0; i < 200 && scenes.CurrentId() != SceneId::Game; ++i)
        Frames(1);
    ASSERT_EQ(scenes.CurrentId(), SceneId::Game);
    ASSERT_EQ(scenes.stage.group * 10 + scenes.stage.number, 11);
    Frames(90);

    // A held charges; the stick turns toward +x; letting go of A fires.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Frames(1);
    Stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    Frames(1);
    Stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Frames(10);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Frames(2);
    auto* game = dynamic_cast<Game*>(scenes.Current());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->GetPlayer().score, 1);
}

TEST_F(GamePad, AConfirmsInTheMenusAsEnterDoesAndBHeldKeepsEnterDown)
{
    SceneManager& scenes = Scenes();
    scenes.ChangeScene(SceneId::Title);
    Keyboard& keys = App().Keys();
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Frames(1);
    EXPECT_TRUE(keys.IsDown(VirtualKey::Return));
    EXPECT_TRUE(keys.IsDown(VirtualKey::Space));
    Button(SDL_CONTROLLER_BUTTON_B, true);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    Frames(1);
    EXPECT_TRUE(keys.IsDown(VirtualKey::Return)) << "B still holds Enter";
    EXPECT_FALSE(keys.IsDown(VirtualKey::Space));
    Button(SDL_CONTROLLER_BUTTON_B, false);
    Frames(1);
    // A alone, as the menus count it: the title's first Enter opens its menu.
    Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(dynamic_cast<Title&>(*scenes.Current()).MenuItem(), 1);
}

TEST_F(GamePad, ReleasesWhatItHeldWhenUnplugged)
{
    Keyboard& keys = App().Keys();
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Stick(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Frames(1);
    EXPECT_TRUE(keys.IsDown(VirtualKey::Left));
    // The stick still holds Left when the D-pad lets go.
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    Frames(1);
    EXPECT_TRUE(keys.IsDown(VirtualKey::Left));
    // Back under the release point, not just under the press point.
    Stick(SDL_CONTROLLER_AXIS_LEFTX, -14000);
    Frames(1);
    EXPECT_TRUE(keys.IsDown(VirtualKey::Left));
    Button(SDL_CONTROLLER_BUTTON_Y, true);
    Frames(1);
    EXPECT_TRUE(keys.IsDown('M'));
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(0);
    joystick = nullptr;
    Frames(1);
    EXPECT_FALSE(keys.IsDown(VirtualKey::Left));
    EXPECT_FALSE(keys.IsDown('M'));
}

}  // namespace
