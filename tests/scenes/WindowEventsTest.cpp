#include <gtest/gtest.h>

#include <SDL.h>

#include "app/SceneManager.h"
#include "scenes/Game.h"
#include "game/Player.h"
#include "main/FrameLoop.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "scenes/Edit.h"
#include "scenes/SceneFixture.h"

namespace {

// Window events as SDL delivers them, through the game's own event handling
// and frame loop. (Taking controllers starts SDL's event queue without a window.)
class WindowEvents : public SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        ASSERT_TRUE(App().OpenGamePads());
    }

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            App().PumpEvents();
            RunFrame(Context());
        }
    }
    static void Key(SDL_Scancode scancode, SDL_Keycode code, bool down, Uint16 modifiers = KMOD_NONE)
    {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = code;
        event.key.keysym.mod = modifiers;
        SDL_PushEvent(&event);
    }
    static void Focus(bool gained)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&event);
    }
    int Shots() { return dynamic_cast<Game&>(*Scenes().Current()).GetPlayer().score; }
};

TEST_F(WindowEvents, LosingTheFocusWhileChargingFiresNothingUntilTheWindowIsBack)
{
    WriteStage({{2, 0, 0, BlockKind::Black}, {3, 0, 0, BlockKind::White}});
    Start();
    Frames(90);
    Key(SDL_SCANCODE_SPACE, SDLK_SPACE, true);
    Frames(1);
    Key(SDL_SCANCODE_RIGHT, SDLK_RIGHT, true);
    Frames(1);
    Key(SDL_SCANCODE_RIGHT, SDLK_RIGHT, false);
    Frames(10);

    // Away, Space is let go where this window cannot see it.
    Focus(false);
    Frames(60);
    EXPECT_EQ(Shots(), 0);
    EXPECT_FALSE(Current().Flight().inFlight);
    EXPECT_TRUE(App().Keys().IsDown(VirtualKey::Space));

    // Back: the keyboard holds nothing, so the charge is let go and fires.
    Focus(true);
    Frames(2);
    EXPECT_EQ(Shots(), 1);
}

// The key code of "é", the character AZERTY's second top-row key gives.
constexpr SDL_Keycode EAcute = 0xE9;

TEST_F(WindowEvents, OnAnAzertyKeyboardTheTopRowPlacesBlocksAndLettersFollowTheirLabels)
{
    Edit& edit = Build<Edit>(SceneId::Edit);
    // AZERTY's top row gives "&" and "é" unshifted; its M sits where QWERTY has ";".
    Key(SDL_SCANCODE_1, SDLK_AMPERSAND, true);
    Frames(1);
    Key(SDL_SCANCODE_1, SDLK_AMPERSAND, false);
    Frames(1);
    Key(SDL_SCANCODE_RIGHT, SDLK_RIGHT, true);
    Frames(1);
    Key(SDL_SCANCODE_RIGHT, SDLK_RIGHT, false);
    Frames(1);
    Key(SDL_SCANCODE_2, EAcute, true);
    Frames(1);
    Key(SDL_SCANCODE_2, EAcute, false);
    Frames(1);
    ASSERT_EQ(edit.Blocks().size(), 2u);
    EXPECT_EQ(edit.Blocks()[0]->kind, BlockKind::White);
    EXPECT_EQ(edit.Blocks()[1]->kind, BlockKind::Black);

    Key(SDL_SCANCODE_SEMICOLON, SDLK_m, true);
    Frames(1);
    EXPECT_TRUE(App().Keys().IsDown('M'));
    EXPECT_FALSE(App().Keys().IsDown(';'));
}

TEST_F(WindowEvents, AltEnterSwitchesTheDisplayAndIsNoEnterForTheScenes)
{
    Application& application = App();
    const bool wasFullScreen = application.fullScreen;
    Key(SDL_SCANCODE_RETURN, SDLK_RETURN, true, KMOD_LALT);
    Frames(1);
    EXPECT_NE(application.fullScreen, wasFullScreen);
    EXPECT_FALSE(application.Keys().IsDown(VirtualKey::Return));
    Key(SDL_SCANCODE_RETURN, SDLK_RETURN, false, KMOD_LALT);
    Key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true, KMOD_RALT);
    Frames(1);
    EXPECT_EQ(application.fullScreen, wasFullScreen);
}

}  // namespace
