#include "SceneTrace.h"

#include "JsonWriter.h"
#include "app/BaseScene.h"
#include "game/FlightState.h"
#include "game/Game.h"
#include "game/Player.h"
#include "game/Reverse.h"

namespace {

void WriteGameTrace(const Game& game, JsonWriter& json)
{
    const Player& player = game.GetPlayer();
    const Vector3& p = player.transform.position;
    json.Key("game");
    json.BeginObject();
    json.Key("fade");
    json.Int(game.Fade());
    json.Key("score");
    json.Int(player.score);
    json.Key("player");
    json.BeginObject();
    json.Key("cell");
    json.BeginArray();
    for (const float v : {p.x, p.y, p.z})
        json.Int(static_cast<int>(v) / 50);
    json.EndArray();
    json.Key("pos");
    json.BeginArray();
    for (const float v : {p.x, p.y, p.z})
        json.Float(v);
    json.EndArray();
    json.Key("facing");
    json.Int(player.facing);
    json.Key("state");
    json.Int(static_cast<int>(player.state));
    json.EndObject();
    json.Key("blocks");
    json.BeginArray();
    for (const auto& block : game.Blocks()) {
        json.BeginArray();
        for (const int v : {block->mapCell.x, block->mapCell.y, block->mapCell.z, block->kind, block->state})
            json.Int(v);
        json.EndArray();
    }
    json.EndArray();
    json.Key("inFlight");
    json.Bool(FlightState::Instance().inFlight);
    json.Key("reverse");
    json.Int(static_cast<long long>(game.GetReverse().entries.size()));
    json.Key("cleared");
    json.Bool(game.Cleared());
    json.Key("clearFrame");
    json.Int(game.ClearFrame());
    json.Key("gameOver");
    json.Bool(game.GameOver());
    json.Key("gameOverFrame");
    json.Int(game.GameOverFrame());
    json.Key("menuOpen");
    json.Bool(game.MenuOpen());
    json.Key("menuCursor");
    json.Int(game.MenuCursor());
    json.EndObject();
}

}  // namespace

const char* SceneName(SceneId id)
{
    switch (id) {
    case SceneId::Title:
        return "title";
    case SceneId::Game:
        return "game";
    case SceneId::Edit:
        return "edit";
    case SceneId::Select:
        return "select";
    }
    return "unknown";
}

void WriteSceneTrace(const BaseScene& scene, JsonWriter& json)
{
    if (const auto* game = dynamic_cast<const Game*>(&scene))
        WriteGameTrace(*game, json);
}
