#pragma once

#include <functional>
#include <map>
#include <set>

struct _SDL_GameController;
union SDL_Event;

// Game controllers as a second keyboard: each button or stick direction the
// game uses goes down and up as its key would, through the same key events,
// so every scene behaves as it does with the keyboard. Controllers may come
// and go while the game runs.
//   D-pad and left stick  arrows
//   A                     Space
//   B, Start              Enter
//   Y                     M
//   Back                  Escape
class GamePads {
public:
    // Where a key goes down (true) or up (false).
    using KeySink = std::function<void(int virtualKey, bool down)>;

    explicit GamePads(KeySink sink) : keys(std::move(sink)) {}
    ~GamePads();
    GamePads(const GamePads&) = delete;
    GamePads& operator=(const GamePads&) = delete;

    // Takes a controller event (a controller added, removed, a button or a
    // stick moved); false for any other event.
    bool Handle(const SDL_Event& event);

private:
    // One controller, with the inputs it holds down: buttons by their number,
    // stick directions after them. A key stays down while any input of the
    // controller that gives it is held.
    struct Pad {
        _SDL_GameController* controller = nullptr;
        std::set<int> held;
    };

    void Open(int deviceIndex);
    void Close(int instanceId);
    void Set(Pad& pad, int input, bool down);
    void Stick(Pad& pad, int axis, int value);

    KeySink keys;
    std::map<int, Pad> pads;
};
