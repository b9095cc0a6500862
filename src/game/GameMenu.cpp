#include "game/GameMenu.h"

#include <utility>

#include "app/SceneManager.h"
#include "game/GameKeys.h"
#include "game/GameSounds.h"
#include "platform/VirtualKey.h"
#include "sound/SoundPlayer.h"
#include "stage/StageCatalogue.h"

namespace {

constexpr float IconTurn = 3.0f;

}  // namespace

bool GameMenu::OpenKeyDown(Keyboard& keys) const
{
    return GameKeyDown(keys, VirtualKey::M) || (backKeys && GameKeyDown(keys, VirtualKey::Escape));
}

void GameMenu::ReadOpenKey(Keyboard& keys)
{
    if (OpenKeyDown(keys)) {
        if (latch.Take())
            open = true;
    } else {
        latch.Open();
    }
}

std::optional<GameMenu::Item> GameMenu::Input(Keyboard& keys, SoundPlayer& sound, bool cleared)
{
    if (!open) {
        if (!OpenKeyDown(keys)) {
            latch.Open();
        } else if (latch.Take()) {
            cursor = 0;
            open = true;
        }
        return std::nullopt;
    }

    int key = std::exchange(earlyKey, 0);
    if (key != 0) {
        // A key still held from before the menu opened must not act twice.
        latch.Close();
    } else {
        key = FirstGameKeyDown(keys, {VirtualKey::M, VirtualKey::Up, VirtualKey::Down, VirtualKey::Return});
        if (key == 0 && backKeys && GameKeyDown(keys, VirtualKey::Escape))
            key = VirtualKey::M;
        if (key == 0) {
            latch.Open();
            return std::nullopt;
        }
        if (!latch.Take())
            return std::nullopt;
    }
    switch (key) {
    case VirtualKey::M:
        // A cleared stage keeps its menu open.
        if (!cleared) {
            cursor = 0;
            open = false;
        }
        return std::nullopt;
    case VirtualKey::Up:
        cursor = (cursor + Items - 1) % Items;
        sound.PlayEffect(GameSound::Cursor, false);
        return std::nullopt;
    case VirtualKey::Down:
        cursor = (cursor + 1) % Items;
        sound.PlayEffect(GameSound::Cursor, false);
        return std::nullopt;
    default:
        return static_cast<Item>(cursor);
    }
}

void GameMenu::NoteEarlyKeys(Keyboard& keys)
{
    for (const int key : {VirtualKey::Up, VirtualKey::Down, VirtualKey::Return}) {
        if (MenuKeyPressed(keys, key))
            earlyKey = key;
    }
}

void GameMenu::TurnIcons()
{
    if (open)
        iconAngle += IconTurn;
}

SceneId MenuChoiceScene(SceneManager& scenes, GameMenu::Item item)
{
    CustomPlay& custom = scenes.stage.custom;
    // Stages played on their own: played again, or the next of them; anything
    // else leaves them for the title. The editor's test play goes back to it.
    if (custom.Active()) {
        if (custom.FromEditor())
            return SceneId::Edit;
        if (item == GameMenu::Retry)
            return SceneId::Game;
        if (item == GameMenu::NextStage && custom.current + 1 < custom.files.size()) {
            ++custom.current;
            return SceneId::Game;
        }
        custom = {};
        return SceneId::Title;
    }
    switch (item) {
    case GameMenu::NextStage:
        scenes.stage.number = StageCatalogue::NextStage(scenes.stage.number);
        return SceneId::Game;
    case GameMenu::StageSelect:
        return SceneId::Select;
    case GameMenu::BackToTitle:
        return SceneId::Title;
    default:
        return SceneId::Game;
    }
}
