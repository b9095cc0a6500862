#include "platform/GamePads.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/VirtualKey.h"

namespace {

// Stick directions are inputs numbered after the buttons.
constexpr int StickLeft = SDL_CONTROLLER_BUTTON_MAX;
constexpr int StickRight = StickLeft + 1;
constexpr int StickUp = StickLeft + 2;
constexpr int StickDown = StickLeft + 3;

// A stick pushed past half way presses its direction; it must come back
// under a third before the direction is released, so a stick held near the
// threshold does not chatter.
constexpr int PressAt = 16384;
constexpr int ReleaseAt = 10923;

int KeyOf(int input)
{
    switch (input) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    case StickLeft:
        return VirtualKey::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    case StickRight:
        return VirtualKey::Right;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
    case StickUp:
        return VirtualKey::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    case StickDown:
        return VirtualKey::Down;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_START:
        return VirtualKey::Return;
    case SDL_CONTROLLER_BUTTON_Y:
        return 'M';
    case SDL_CONTROLLER_BUTTON_X:
        return VirtualKey::H;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return VirtualKey::Z;
    case SDL_CONTROLLER_BUTTON_BACK:
        return VirtualKey::Escape;
    default:
        return -1;
    }
}

// The keys an input presses: one, or for A both Space (fire, in play) and
// Enter (choose, in the menus).
std::vector<int> KeysOf(int input)
{
    if (input == SDL_CONTROLLER_BUTTON_A)
        return {VirtualKey::Space, VirtualKey::Return};
    const int key = KeyOf(input);
    return key < 0 ? std::vector<int>{} : std::vector<int>{key};
}

}  // namespace

GamePads::~GamePads()
{
    for (auto& [id, pad] : pads)
        SDL_GameControllerClose(pad.controller);
}

bool GamePads::Handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        Open(event.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        Close(event.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (const auto found = pads.find(event.cbutton.which); found != pads.end())
            Set(found->second, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (const auto found = pads.find(event.caxis.which); found != pads.end())
            Stick(found->second, event.caxis.axis, event.caxis.value);
        return true;
    default:
        return false;
    }
}

void GamePads::Open(int deviceIndex)
{
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    // SDL reports the controllers present at start-up as added too.
    if (pads.contains(id)) {
        SDL_GameControllerClose(controller);
        return;
    }
    pads[id].controller = controller;
}

void GamePads::Close(int instanceId)
{
    const auto found = pads.find(instanceId);
    if (found == pads.end())
        return;
    // Whatever it held is let go, as if each input came back.
    Pad& pad = found->second;
    while (!pad.held.empty())
        Set(pad, *pad.held.begin(), false);
    SDL_GameControllerClose(pad.controller);
    pads.erase(found);
}

void GamePads::Set(Pad& pad, int input, bool down)
{
    const std::vector<int> pressed = KeysOf(input);
    if (pressed.empty() || pad.held.contains(input) == down)
        return;
    // A key another held input still gives stays down.
    const auto givesKey = [&pad](int key) {
        for (const int other : pad.held) {
            const std::vector<int> given = KeysOf(other);
            if (std::find(given.begin(), given.end(), key) != given.end())
                return true;
        }
        return false;
    };
    std::vector<bool> wasDown;
    for (const int key : pressed)
        wasDown.push_back(givesKey(key));
    if (down)
        pad.held.insert(input);
    else
        pad.held.erase(input);
    for (std::size_t i = 0; i < pressed.size(); ++i) {
        if (givesKey(pressed[i]) != wasDown[i])
            keys(pressed[i], down);
    }
}

void GamePads::Stick(Pad& pad, int axis, int value)
{
    int negative = 0;
    int positive = 0;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
        negative = StickLeft;
        positive = StickRight;
    } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
        // Down the stick is positive.
        negative = StickUp;
        positive = StickDown;
    } else {
        return;
    }
    const auto update = [&](int input, int push) {
        if (push >= PressAt)
            Set(pad, input, true);
        else if (push < ReleaseAt)
            Set(pad, input, false);
    };
    update(negative, -value);
    update(positive, value);
}
