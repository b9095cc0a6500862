#pragma once

#include <optional>

#include "app/KeyLatch.h"
#include "app/SceneId.h"

class Keyboard;
class SceneManager;
class SoundPlayer;

// The Game's menu: M opens it at any time and closes it again (a cleared
// stage keeps it open), the arrows move its cursor round four items, and
// Return chooses one.
class GameMenu {
public:
    enum Item : int { NextStage = 0, StageSelect = 1, BackToTitle = 2, Retry = 3 };
    static constexpr int Items = 4;

    // A play aid: Escape opens and closes the menu as M does. (Backspace,
    // the way back elsewhere, is undo in a game.)
    bool backKeys = false;

    // M read before the play step: it opens the menu.
    void ReadOpenKey(Keyboard& keys);
    // The menu's keys, once a frame after everything else: the item chosen,
    // if one was.
    std::optional<Item> Input(Keyboard& keys, SoundPlayer& sound, bool cleared);
    // Opened by the game itself, when a stage's end has played out.
    void Open() { open = true; }
    // A play aid: while a stage's end plays out, the last of the menu's keys
    // pressed is kept and acts as soon as the menu opens, not lost.
    void NoteEarlyKeys(Keyboard& keys);
    // The key kept by NoteEarlyKeys; 0 when none is.
    int EarlyKey() const { return earlyKey; }
    // The cursor icons turn while the menu shows; once a drawn frame.
    void TurnIcons();

    bool IsOpen() const { return open; }
    int Cursor() const { return cursor; }
    float IconAngle() const { return iconAngle; }

private:
    bool OpenKeyDown(Keyboard& keys) const;

    // One latch for M in play and every key of the menu.
    KeyLatch latch;
    bool open = false;
    int cursor = 0;
    int earlyKey = 0;
    float iconAngle = 0.0f;
};

// The scene a menu choice leads to. The next stage, and the next of the
// stages played on their own, are settled with the scene manager here;
// leaving stages played on their own forgets them.
SceneId MenuChoiceScene(SceneManager& scenes, GameMenu::Item item);
