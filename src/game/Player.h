#pragma once

#include <array>
#include <optional>
#include <utility>

#include "math/Vector3.h"
#include "render/Transform.h"
#include "rules/MapPosition.h"

class Keyboard;
class SoundPlayer;
class StageGrid;
struct RenderContext;

enum class PlayerState : int {
    Idle = 0,
    // Space is held.
    Charging = 1,
    // A shot is requested; the launch marker fires it when its cell is free.
    Firing = 2,
    Walking = 4,
};

// Where the player stands and how it is turned, as undo puts it back.
struct PlayerPose {
    Vector3 position;
    int facing = 1;
    float yaw = 180.0f;
    float turnProgress = 0.0f;
    float turnDelta = 0.0f;
};

// What holds the player's shot back this frame.
struct ShotHold {
    // A shot flies or blocks turn over: nothing is charged, and a charge
    // under way goes off at once.
    bool busy = false;
    // The shards of a dissolved shot still fly: nothing new is charged.
    bool shardsFlying = false;
};

// The one walker on the field. Arrows turn it (10 frames) and walk it one
// cell (11 frames); holding Space charges a shot and releasing it fires.
class Player {
public:
    static constexpr int WalkSteps = 10;

    Player();

    // Input, then walking and turning, then the world matrix; once a play frame.
    void Update(const StageGrid& grid, ShotHold hold, SoundPlayer& sound, Keyboard& keys);
    // Whether the cells under the leading face toward direction are free. At
    // the field edge it refuses and puts the walking coordinate on the edge cell's centre.
    bool CanStep(const StageGrid& grid, int direction);
    // Toon-shaded, under whatever lighting the scene has set.
    void Draw(const RenderContext& render) const;

    PlayerPose Pose() const;
    // At rest on the cell's centre, facing the given way.
    static PlayerPose StandingAt(const MapPosition& cell, int facing);
    // Stands the player as pose has it, at rest, nothing held or charging.
    void Restore(const PlayerPose& pose);
    // The cell a refused shot could not be launched into (a block's, or one
    // past the field's edge), once; see refuseBlockedShots.
    std::optional<MapPosition> TakeRefusal() { return std::exchange(refusedAt, std::nullopt); }

    // The position is the player's centre.
    Transform transform;
    // Direction code: 0 +z, 1 -z, 2 -x, 3 +x.
    int facing = 1;
    PlayerState state = PlayerState::Idle;
    // The edge latch of the arrows and Space: a press is taken only while this is set.
    bool inputReady = true;
    // Shots fired in this stage.
    int score = 0;
    // Distance moved on each frame of a walk: 55 units, eased out.
    std::array<float, WalkSteps> stepTable{10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    int stepIndex = 0;
    Vector3 walkDir{0.0f};
    // 0 when not turning, else 0.1 to 1.0.
    float turnProgress = 0.0f;
    // Heading in degrees.
    float yaw = 180.0f;
    float turnDelta = 0.0f;
    bool chargeSoundOn = false;
    // A play aid: a shot whose launch cell is taken is refused when Space is
    // let go, with its own sound, and the player stands idle again, instead
    // of playing the firing sound and waiting to fire once turned to a free cell.
    bool refuseBlockedShots = false;
    // A play aid: an arrow pressed while the player cannot take it (a walk or
    // a turn under way) is kept, the latest one alone, and played as soon as
    // the player is free, instead of being lost.
    bool queueMoves = false;

    // The direction of the arrow press waiting to be played; see queueMoves.
    std::optional<int> PendingMove() const;

private:
    // False when no arrow acted.
    bool ReadArrows(SoundPlayer& sound, Keyboard& keys);
    // Turns toward the arrow and, when the player may, starts a walk; true when a walk started.
    bool Act(int arrow, SoundPlayer& sound);
    void NotePresses(Keyboard& keys);
    // False when nothing was pending or the player is not free for it yet.
    bool PlayPending(SoundPlayer& sound);
    void ReadSpace(const StageGrid& grid, ShotHold hold, SoundPlayer& sound, Keyboard& keys);
    // False, refusing the shot, when refuseBlockedShots holds and nothing can be launched.
    bool MayFire(const StageGrid& grid, SoundPlayer& sound);
    void Walk(const StageGrid& grid, SoundPlayer& sound);
    void Turn();
    void FinishWalk();

    std::optional<MapPosition> refusedAt;
    // An index into the arrows; see queueMoves.
    std::optional<int> pendingArrow;
};
