#include "SceneTrace.h"

#include <algorithm>
#include <iterator>

#include "JsonWriter.h"
#include "app/BaseScene.h"
#include "app/SceneManager.h"
#include "game/FlipBatch.h"
#include "scenes/Game.h"
#include "game/Player.h"
#include "scenes/Edit.h"
#include "scenes/GroupPars.h"
#include "scenes/Select.h"
#include "scenes/Title.h"
#include "stage/StageCatalogue.h"

namespace {

// A block's kind column: a bursting block reads 4, past every kind, so that
// the clear sequence shows in a trace as it always has.
constexpr int BurstingInTrace = 4;

int TracedKind(const Block& block)
{
    return block.bursting ? BurstingInTrace : block.kind;
}

const char* LossName(LossReason loss)
{
    switch (loss) {
    case LossReason::WalledIn:
        return "walled in";
    case LossReason::NoUsefulShot:
        return "no useful shot left";
    default:
        return "";
    }
}

void WriteCell(const MapPosition& cell, JsonWriter& json)
{
    json.BeginArray();
    for (const int v : {cell.x, cell.y, cell.z})
        json.Int(v);
    json.EndArray();
}

// Only with the play aids on: a run without them traces as it always has.
void WriteAssistTrace(const Game& game, const Assists& aids, JsonWriter& json)
{
    json.Key("assists");
    json.BeginObject();
    json.Key("par");
    if (aids.Par())
        json.Int(*aids.Par());
    else
        json.Null();
    json.Key("solvable");
    if (const std::optional<bool> solvable = aids.Solvable())
        json.Bool(*solvable);
    else
        json.Null();
    json.Key("tooLarge");
    json.Bool(aids.TooLarge());
    json.Key("shotsLeft");
    if (aids.Solvable() == true)
        json.Int(static_cast<long long>(aids.Known()->shots.size()));
    else
        json.Null();
    json.Key("hint");
    if (const std::optional<SolutionShot>& hint = aids.Hint()) {
        json.BeginObject();
        json.Key("from");
        WriteCell(hint->from, json);
        json.Key("facing");
        json.Int(hint->direction);
        json.Key("landing");
        WriteCell(hint->landing, json);
        json.Key("walk");
        json.BeginArray();
        for (const int step : hint->walk)
            json.Int(step);
        json.EndArray();
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("hintsUsed");
    json.Bool(aids.HintsUsed());
    json.Key("undoDepth");
    json.Int(aids.UndoDepth());
    json.Key("redoDepth");
    json.Int(aids.RedoDepth());
    json.Key("loss");
    json.String(LossName(game.Loss()));
    json.Key("keyLine");
    json.Bool(game.KeyLineShown());
    json.Key("pendingMove");
    if (const std::optional<int> move = game.GetPlayer().PendingMove())
        json.Int(*move);
    else
        json.Null();
    json.Key("plan");
    json.Bool(game.PlanShown());
    json.Key("resume");
    if (const ResumeOffer* resume = game.Unfinished(); resume && resume->Asking()) {
        json.BeginObject();
        json.Key("shots");
        json.Int(resume->Kept()->shots);
        json.Key("startAgain");
        json.Bool(resume->StartAgainChosen());
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("earlyMenuKey");
    json.Int(game.EarlyMenuKey());
    json.Key("aim");
    if (const std::optional<AimPreview> aim = game.Aim()) {
        json.BeginObject();
        json.Key("landing");
        WriteCell(aim->landing, json);
        json.Key("turns");
        json.BeginArray();
        for (const TurnedPiece& piece : aim->turned) {
            json.BeginArray();
            for (const int v : {piece.cell.x, piece.cell.y, piece.cell.z, piece.becomes})
                json.Int(v);
            json.EndArray();
        }
        json.EndArray();
        json.EndObject();
    } else {
        json.Null();
    }
    json.EndObject();
}

void WriteGameTrace(const Game& game, JsonWriter& json)
{
    const Player& player = game.GetPlayer();
    const Vector3& p = player.transform.position;
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
        for (const int v : {block->mapCell.x, block->mapCell.y, block->mapCell.z, TracedKind(*block), block->state})
            json.Int(v);
        json.EndArray();
    }
    json.EndArray();
    json.Key("inFlight");
    json.Bool(game.Flight().inFlight);
    json.Key("reverse");
    json.Int(static_cast<long long>(game.Flips().entries.size()));
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
    if (const Assists* aids = game.Aids())
        WriteAssistTrace(game, *aids, json);
}

void WriteTitleTrace(const Title& title, JsonWriter& json)
{
    json.Key("menuItem");
    json.Int(title.MenuItem());
    json.Key("difficultyOpen");
    json.Bool(title.DifficultyOpen());
    json.Key("difficultyIndex");
    json.Int(title.DifficultyIndex());
    json.Key("tweenProgress");
    json.Float(title.TweenProgress());
    json.Key("resetMessageTimer");
    json.Int(title.ResetMessageTimer());
    json.Key("resetAsked");
    json.Bool(title.ResetAsked());
    json.Key("resetYes");
    json.Bool(title.ResetYesChosen());
}

void WriteSelectTrace(const Select& select, const SceneManager& scenes, JsonWriter& json)
{
    json.Key("fade");
    json.Int(select.Fade());
    json.Key("stageNumber");
    json.Int(scenes.stage.number);
    json.Key("scores");
    json.BeginArray();
    for (const int score : select.Scores())
        json.Int(score);
    json.EndArray();
    json.Key("tweenT");
    json.Float(select.TweenT());
    if (const GroupPars* pars = select.Pars()) {
        json.Key("pars");
        json.BeginArray();
        for (int stage = 1; stage <= StageCatalogue::StagesPerGroup; ++stage) {
            if (const std::optional<int> par = pars->Par(stage))
                json.Int(*par);
            else
                json.Null();
        }
        json.EndArray();
        const Select::Progress progress = select.GroupProgress();
        json.Key("progress");
        json.BeginObject();
        json.Key("cleared");
        json.Int(progress.cleared);
        json.Key("atPar");
        json.Int(progress.atPar);
        json.EndObject();
    }
}

void WriteEditTrace(const Edit& edit, JsonWriter& json)
{
    json.Key("cursor");
    json.BeginArray();
    json.Int(edit.CursorX());
    json.Int(edit.CursorZ());
    json.EndArray();
    json.Key("loadMode");
    json.Bool(edit.LoadMode());
    json.Key("loadStep");
    json.Int(edit.LoadStep());
    json.Key("loadGroup");
    json.Int(edit.LoadGroup());
    json.Key("loadStage");
    json.Int(edit.LoadStageNumber());
    json.Key("blocks");
    json.BeginArray();
    for (const auto& block : edit.Blocks()) {
        json.BeginArray();
        for (const int v : {block->mapCell.x, block->mapCell.y, block->mapCell.z, TracedKind(*block)})
            json.Int(v);
        json.EndArray();
    }
    json.EndArray();
    json.Key("saveMessage");
    json.String(edit.SaveMessage());
    if (edit.Assisted()) {
        json.Key("assists");
        json.BeginObject();
        json.Key("keyList");
        json.Bool(edit.KeyListShown());
        json.Key("notice");
        json.String(edit.Notice());
        json.Key("unsaved");
        json.Bool(edit.Unsaved());
        json.Key("recoveryAsked");
        json.Bool(edit.RecoveryAsked());
        json.Key("leaveAsked");
        if (const std::optional<int> choice = edit.LeaveChoice())
            json.Int(*choice);
        else
            json.Null();
        const auto optionalString = [&json](const char* key, const std::optional<std::string>& value) {
            json.Key(key);
            if (value)
                json.String(*value);
            else
                json.Null();
        };
        optionalString("naming", edit.Naming());
        optionalString("listed", edit.ListChoice());
        json.Key("ownFile");
        json.String(edit.OwnFile());
        json.EndObject();
    }
}

// The scenes that report a state of their own, each under its name. The
// scene table builds each id's class, so the cast fails only if it does not.
struct TraceWriter {
    SceneId id;
    void (*write)(const BaseScene& scene, const SceneManager& scenes, JsonWriter& json);
};

const TraceWriter TraceWriters[] = {
    {SceneId::Title,
     [](const BaseScene& scene, const SceneManager&, JsonWriter& json) {
         WriteTitleTrace(dynamic_cast<const Title&>(scene), json);
     }},
    {SceneId::Select,
     [](const BaseScene& scene, const SceneManager& scenes, JsonWriter& json) {
         WriteSelectTrace(dynamic_cast<const Select&>(scene), scenes, json);
     }},
    {SceneId::Game,
     [](const BaseScene& scene, const SceneManager&, JsonWriter& json) {
         WriteGameTrace(dynamic_cast<const Game&>(scene), json);
     }},
    {SceneId::Edit,
     [](const BaseScene& scene, const SceneManager&, JsonWriter& json) {
         WriteEditTrace(dynamic_cast<const Edit&>(scene), json);
     }},
};

}  // namespace

void WriteSceneTrace(const BaseScene& scene, const SceneManager& scenes, JsonWriter& json)
{
    const SceneId id = scenes.CurrentId();
    const auto* writer =
        std::find_if(std::begin(TraceWriters), std::end(TraceWriters), [id](const TraceWriter& w) { return w.id == id; });
    if (writer == std::end(TraceWriters))
        return;
    json.Key(SceneName(id));
    json.BeginObject();
    writer->write(scene, scenes, json);
    json.EndObject();
}
