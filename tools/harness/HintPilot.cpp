#include "HintPilot.h"

#include "game/Assists.h"
#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "game/GameKeys.h"
#include "game/Player.h"
#include "platform/VirtualKey.h"

namespace {

// A charge is held past the 10 frames of the turn toward the shot.
constexpr int ChargeFrames = 11;

// Nothing moves: no shot in the air, nothing turning, the player standing still.
bool Settled(const Game& game)
{
    const Player& player = game.GetPlayer();
    return !game.Flight().inFlight && !game.Flight().landed && game.Flips().IsEmpty() &&
           player.state == PlayerState::Idle && player.turnProgress == 0.0f;
}

}  // namespace

void HintPilot::Press(int key, std::vector<KeyChange>& changes)
{
    changes.push_back({0, key, true});
    held.push_back(key);
}

void HintPilot::Tap(int key, std::vector<KeyChange>& changes)
{
    changes.push_back({0, key, true});
    tapped = key;
}

void HintPilot::ReleaseAll(std::vector<KeyChange>& changes)
{
    for (const int key : held)
        changes.push_back({0, key, false});
    held.clear();
    phase = Phase::Asking;
}

std::vector<KeyChange> HintPilot::Next(int frame, const BaseScene* scene)
{
    std::vector<KeyChange> changes;
    if (tapped != 0) {
        changes.push_back({0, tapped, false});
        tapped = 0;
        return changes;
    }
    const auto* game = dynamic_cast<const Game*>(scene);
    if (!game || !game->Aids() || game->Cleared() || game->GameOver() || game->MenuOpen()) {
        ReleaseAll(changes);
        return changes;
    }
    const Player& player = game->GetPlayer();
    switch (phase) {
    case Phase::Asking:
        if (!Settled(*game))
            break;
        if (const auto& hint = game->Aids()->Hint()) {
            walk = hint->walk;
            step = 0;
            direction = hint->direction;
            phase = Phase::Walking;
        } else {
            Tap(VirtualKey::H, changes);
        }
        break;
    case Phase::Walking:
        if (!Settled(*game))
            break;
        if (step < walk.size()) {
            Tap(ArrowKeyOf(walk[step++]), changes);
        } else {
            Press(VirtualKey::Space, changes);
            phase = Phase::Turning;
        }
        break;
    case Phase::Turning:
        Tap(ArrowKeyOf(direction), changes);
        releaseFrame = frame + ChargeFrames;
        phase = Phase::Firing;
        break;
    case Phase::Firing:
        if (frame < releaseFrame || player.turnProgress != 0.0f)
            break;
        scoreBefore = player.score;
        ReleaseAll(changes);
        phase = Phase::Landing;
        break;
    case Phase::Landing:
        if (player.score != scoreBefore && Settled(*game))
            phase = Phase::Asking;
        break;
    }
    return changes;
}
