#include "game/Block.h"

#include <cmath>

#include "game/BlockBurst.h"
#include "game/BlockModels.h"
#include "game/FlightState.h"
#include "game/GameSounds.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "rules/Field.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"

namespace {

// The field edge a flying block's leading face may not pass.
constexpr float FieldEnd = 500.0f;
constexpr float FieldStart = 0.5f;
constexpr float EdgeCentreHigh = 475.0f;
constexpr float EdgeCentreLow = 25.0f;

float SnapToCentre(float v)
{
    return Field::CellSize * std::floor(v / Field::CellSize) + Field::HalfCell;
}

}  // namespace

Block::Block(const MapPosition& cell, int blockKind) : kind(blockKind), mapCell(cell)
{
    transform.position = {Field::Centre(cell.x), Field::Centre(cell.y), Field::Centre(cell.z)};
    // A stage that starts lost never runs an update, and still shows its blocks.
    transform.UpdateWorld();
}

Block::~Block() = default;

std::optional<MapPosition> Block::Fly(const StageGrid& grid, const FlightState& flight, SoundPlayer* sound)
{
    if (!flight.inFlight || launched != 1 || state != BlockState::Moving)
        return std::nullopt;
    Vector3 candidate = transform.position + flight.velocity;
    if (Collide(grid, flight.direction, candidate) == 1) {
        transform.position = candidate;
        return std::nullopt;
    }
    launched = 0;
    state = BlockState::Resting;
    Vector3& p = transform.position;
    p.x = SnapToCentre(p.x);
    p.z = SnapToCentre(p.z);
    if (sound)
        sound->PlayEffect(GameSound::Landing, false);
    return MapPosition{Field::CellOf(p.x), Field::CellOf(p.y), Field::CellOf(p.z)};
}

void Block::Update(SoundPlayer* sound)
{
    if (!burst)
        burst = std::make_unique<BlockBurst>(weak_from_this());

    if (bursting)
        burst->Update(sound);

    transform.UpdateWorld();
    const Vector3& p = transform.position;
    mapCell = {Field::CellOf(p.x - Field::HalfCell), Field::CellOf(p.y - Field::HalfCell), Field::CellOf(p.z - Field::HalfCell)};
}

int Block::Collide(const StageGrid& grid, int direction, Vector3& candidate) const
{
    const float half = Field::HalfCell;
    const int layer = Field::CellOf(candidate.y - half);
    int x = 0;
    int z = 0;
    switch (direction) {
    case Direction::PlusZ:
        if (candidate.z + half > FieldEnd) {
            candidate.z = EdgeCentreHigh;
            return 0;
        }
        x = Field::CellOf(candidate.x);
        z = Field::CellOf(candidate.z + half + 1.0f);
        break;
    case Direction::MinusZ:
        if (candidate.z - half < FieldStart) {
            candidate.z = EdgeCentreLow;
            return 0;
        }
        x = Field::CellOf(candidate.x);
        z = Field::FloorCellOf(candidate.z - half);
        break;
    case Direction::MinusX:
        if (candidate.x - half < FieldStart) {
            candidate.x = EdgeCentreLow;
            return 0;
        }
        x = Field::FloorCellOf(candidate.x - half);
        z = Field::CellOf(candidate.z);
        break;
    default:
        if (candidate.x + half > FieldEnd) {
            candidate.x = EdgeCentreHigh;
            return 0;
        }
        x = Field::CellOf(candidate.x + half);
        z = Field::CellOf(candidate.z);
        break;
    }
    return grid.CellAt(x, layer, z) == BlockKind::Empty ? 1 : 0;
}

void Block::Draw(const RenderContext& render) const
{
    if (state == BlockState::Flipping)
        return;
    ModelShader& shader = render.shaders.modelShader;
    shader.SetWorld(transform.world);
    if (bursting) {
        if (burst)
            burst->Draw(render);
    } else if (const char* model = BlockModel::Of(kind)) {
        shader.DrawGlow(render.meshes.Get(model), 1.0f);
    }
}

void Block::DrawInverted(const RenderContext& render) const
{
    ModelShader& shader = render.shaders.modelShader;
    if (bursting)
        return;
    shader.SetWorld(transform.world);
    if (const char* model = BlockModel::InvertedOf(kind))
        shader.DrawToon(render.meshes.Get(model));
}
