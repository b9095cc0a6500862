#include "game/Player.h"

#include <algorithm>
#include <iterator>

#include "assets/AssetFiles.h"
#include "game/GameKeys.h"
#include "game/GameSounds.h"
#include "math/Angles.h"
#include "platform/VirtualKey.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr float TurnStep = 0.1f;
constexpr float TurnDone = 1.01f;
const Vector3 StartPosition{25.0f, 25.0f, 25.0f};

struct Arrow {
    int key;
    float yaw;
    Vector3 walk;
    int facing;
};

// In priority order: the first arrow held wins.
constexpr int ArrowCount = 4;
const Arrow Arrows[ArrowCount] = {
    {VirtualKey::Up, 0.0f, {0, 0, 1}, Direction::PlusZ},
    {VirtualKey::Down, 180.0f, {0, 0, -1}, Direction::MinusZ},
    {VirtualKey::Left, -90.0f, {-1, 0, 0}, Direction::MinusX},
    {VirtualKey::Right, 90.0f, {1, 0, 0}, Direction::PlusX},
};

Matrix Heading(float yawDegrees)
{
    return Matrix::RotationY(yawDegrees * DegreesToRadians);
}

}  // namespace

Player::Player()
{
    transform.position = StartPosition;
    transform.rotation = Heading(yaw);
    transform.UpdateWorld();
}

void Player::Update(const StageGrid& grid, ShotHold hold, SoundPlayer& sound, Keyboard& keys)
{
    if (queueMoves)
        NotePresses(keys);
    if (!ReadArrows(sound, keys) && !PlayPending(sound))
        ReadSpace(grid, hold, sound, keys);
    if (state == PlayerState::Walking)
        Walk(grid, sound);
    if (turnProgress != 0.0f)
        Turn();
    transform.UpdateWorld();
}

void Player::Draw(const RenderContext& render) const
{
    ModelShader& shader = render.shaders.modelShader;
    shader.SetWorld(transform.world);
    shader.DrawToon(render.meshes.Get(ModelFile::Player));
}

bool Player::ReadArrows(SoundPlayer& sound, Keyboard& keys)
{
    for (int arrow = 0; arrow < ArrowCount; ++arrow) {
        if (!GameKeyDown(keys, Arrows[arrow].key) || turnProgress != 0.0f)
            continue;
        const bool walked = Act(arrow, sound);
        if (pendingArrow == arrow && (walked || state == PlayerState::Charging))
            pendingArrow.reset();
        return true;
    }
    return false;
}

bool Player::Act(int index, SoundPlayer& sound)
{
    const Arrow& arrow = Arrows[index];
    // An arrow always turns, also while charging (the shot goes the new
    // way) or walking (the walk keeps its way).
    facing = arrow.facing;
    turnDelta = arrow.yaw - yaw;
    if (turnDelta > 180.0f)
        turnDelta -= 360.0f;
    else if (turnDelta < -180.0f)
        turnDelta += 360.0f;
    turnProgress = TurnStep;
    if (!inputReady)
        return false;
    inputReady = false;
    if (state == PlayerState::Charging || state == PlayerState::Walking)
        return false;
    walkDir = arrow.walk;
    state = PlayerState::Walking;
    sound.PlayEffect(GameSound::Walk, false);
    return true;
}

void Player::NotePresses(Keyboard& keys)
{
    for (int arrow = 0; arrow < ArrowCount; ++arrow) {
        if ((keys.Poll(Arrows[arrow].key) & Keyboard::PressedBit) != 0)
            pendingArrow = arrow;
    }
}

bool Player::PlayPending(SoundPlayer& sound)
{
    // A turn back to the way the player already faces shows nothing, so a
    // waiting press need not sit it out.
    const bool turning = turnProgress != 0.0f && static_cast<int>(turnDelta) / 10 != 0;
    if (!pendingArrow || turning || state == PlayerState::Walking || state == PlayerState::Firing)
        return false;
    Act(*std::exchange(pendingArrow, std::nullopt), sound);
    return true;
}

std::optional<int> Player::PendingMove() const
{
    if (!pendingArrow)
        return std::nullopt;
    return Arrows[*pendingArrow].facing;
}

void Player::ReadSpace(const StageGrid& grid, ShotHold hold, SoundPlayer& sound, Keyboard& keys)
{
    // Nothing can be charged while a shot flies or blocks turn over; a charge
    // under way goes off at once.
    const bool released = !GameKeyDown(keys, VirtualKey::Space) || hold.busy;
    if (released) {
        if (state == PlayerState::Charging && MayFire(grid, sound)) {
            state = PlayerState::Firing;
            sound.PlayEffect(GameSound::Shot, false);
            sound.StopEffect(GameSound::Charge);
            chargeSoundOn = false;
        }
        inputReady = true;
        return;
    }
    if (hold.shardsFlying || !inputReady)
        return;
    if (state == PlayerState::Idle) {
        inputReady = false;
        state = PlayerState::Charging;
        if (!chargeSoundOn) {
            sound.PlayEffect(GameSound::Charge, true);
            chargeSoundOn = true;
        }
    } else if (state == PlayerState::Charging) {
        inputReady = false;
        if (MayFire(grid, sound))
            state = PlayerState::Firing;
    }
}

bool Player::MayFire(const StageGrid& grid, SoundPlayer& sound)
{
    if (!refuseBlockedShots)
        return true;
    const MapPosition launch = LaunchCell(transform.position, facing);
    if (CanLaunch(grid, launch))
        return true;
    state = PlayerState::Idle;
    sound.StopEffect(GameSound::Charge);
    chargeSoundOn = false;
    sound.PlayEffect(GameSound::Refused, false);
    refusedAt = launch;
    return false;
}

PlayerPose Player::StandingAt(const MapPosition& cell, int facing)
{
    const Arrow* arrow = std::find_if(std::begin(Arrows), std::end(Arrows),
                                      [facing](const Arrow& candidate) { return candidate.facing == facing; });
    return {Field::Centre(cell), facing, arrow->yaw};
}

PlayerPose Player::Pose() const
{
    return {transform.position, facing, yaw, turnProgress, turnDelta};
}

void Player::Restore(const PlayerPose& pose)
{
    transform.position = pose.position;
    facing = pose.facing;
    yaw = pose.yaw;
    turnProgress = pose.turnProgress;
    turnDelta = pose.turnDelta;
    transform.rotation = Heading(yaw);
    transform.UpdateWorld();
    state = PlayerState::Idle;
    inputReady = true;
    stepIndex = 0;
    walkDir = Vector3(0.0f);
    chargeSoundOn = false;
    refusedAt.reset();
    pendingArrow.reset();
}

void Player::Walk(const StageGrid& grid, SoundPlayer& sound)
{
    const bool alongX = walkDir.x != 0.0f;
    const int direction = alongX ? (walkDir.x < 0.0f ? Direction::MinusX : Direction::PlusX)
                                 : (walkDir.z > 0.0f ? Direction::PlusZ : Direction::MinusZ);
    float& v = alongX ? transform.position.x : transform.position.z;
    if (!CanStep(grid, direction)) {
        sound.StopEffect(GameSound::Walk);
        // The leading face looks two cells ahead on a walk's last frames, so
        // a block there stops the walk short of the centre it was heading for.
        v = Field::Centre(Field::CellOf(v));
        FinishWalk();
        return;
    }
    if (stepIndex == WalkSteps) {
        v = Field::Centre(Field::CellOf(v));
        FinishWalk();
        return;
    }
    transform.position += stepTable[stepIndex] * walkDir;
    ++stepIndex;
}

void Player::FinishWalk()
{
    inputReady = true;
    stepIndex = 0;
    state = PlayerState::Idle;
}

void Player::Turn()
{
    yaw += static_cast<float>(static_cast<int>(turnDelta) / 10);
    transform.rotation = Heading(yaw);
    turnProgress += TurnStep;
    if (turnProgress > TurnDone)
        turnProgress = 0.0f;
}

bool Player::CanStep(const StageGrid& grid, int direction)
{
    Vector3& p = transform.position;
    const int layer = Field::CellOf(p.y - 24.0f);
    int firstX = 0;
    int secondX = 0;
    int firstZ = 0;
    int secondZ = 0;
    switch (direction) {
    case Direction::PlusZ:
        if (p.z + 25.0f > 499.0f) {
            p.z = 475.0f;
            return false;
        }
        firstZ = secondZ = Field::CellOf(p.z + 25.0f);
        firstX = Field::CellOf(p.x - 25.0f);
        secondX = Field::CellOf(p.x + 24.0f);
        break;
    case Direction::MinusZ:
        if (p.z - 25.0f < 0.5f) {
            p.z = 25.0f;
            return false;
        }
        firstZ = secondZ = Field::FloorCellOf(p.z - 30.0f);
        firstX = Field::CellOf(p.x - 25.0f);
        secondX = Field::CellOf(p.x + 24.0f);
        break;
    case Direction::MinusX:
        if (p.x - 25.0f < 1.0f) {
            p.x = 25.0f;
            return false;
        }
        firstX = secondX = Field::FloorCellOf(p.x - 30.0f);
        firstZ = Field::CellOf(p.z - 25.0f);
        secondZ = Field::CellOf(p.z + 24.0f);
        break;
    default:
        if (p.x + 25.0f > 499.5f) {
            p.x = 475.0f;
            return false;
        }
        firstX = secondX = Field::CellOf(p.x + 25.0f);
        firstZ = Field::CellOf(p.z - 25.0f);
        secondZ = Field::CellOf(p.z + 24.0f);
        break;
    }
    return !BlockKind::IsBlock(grid.CellAt(firstX, layer, firstZ)) &&
           !BlockKind::IsBlock(grid.CellAt(secondX, layer, secondZ));
}
