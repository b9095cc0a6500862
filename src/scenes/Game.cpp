#include "scenes/Game.h"

#include <algorithm>
#include <iterator>

#include "app/SceneManager.h"
#include "assets/AssetFiles.h"
#include "app/Settings.h"
#include "game/FlipBatch.h"
#include "game/GameSounds.h"
#include "game/SearchPace.h"
#include "game/StageBlocks.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "render/FadingFrame.h"
#include "render/TextureCache.h"
#include "rules/Field.h"
#include "sound/SoundPlayer.h"
#include "stage/ResultFile.h"
#include "stage/StageCatalogue.h"
#include "stage/StageFile.h"

namespace {

// The effect list, in the order every part of the game addresses it.
const char* const EffectFiles[] = {
    SoundFile::WalkStep,    SoundFile::BlockLanding,  SoundFile::FlipBatchStart, SoundFile::ClearFanfare,
    SoundFile::MenuCursor,  SoundFile::Decide,        SoundFile::ChargeLoop,     SoundFile::Shot,
    SoundFile::FlipDone,    SoundFile::FlipDone,      SoundFile::FlipDone,       SoundFile::FlipDone,
    SoundFile::FlipDone,    SoundFile::GameOverSting, SoundFile::ClearSwing,     SoundFile::ClearStrum,
    SoundFile::ClearJingle, SoundFile::BlockBurst,
};
static_assert(std::size(EffectFiles) == GameSound::EffectCount);

constexpr int FlipDoneVolume = -670;
// Above full volume: the request is refused and the sound keeps full volume.
constexpr int GameOverVolume = 200;

}  // namespace

Game::Game(const SceneContext& sceneContext)
    : context(sceneContext), board(context.render.device), view(context.render.device)
{
    const SceneManager& scenes = context.scenes;
    if (scenes.stage.custom.FromText()) {
        board.blocks = BlocksOfText(scenes.stage.custom.boardText);
    } else {
        const std::string stage = scenes.stage.custom.Active() ? scenes.stage.custom.File()
                                                             : StageFile::Path(scenes.stage.group, scenes.stage.number);
        if (!LoadStage(board.blocks, stage))
            context.application.ShowMessage(Message(MessageId::FileMissing));
    }
    for (const auto& block : board.blocks)
        board.startKinds.push_back(block->kind);
    view.LoadTextures(context.render.textures);
    board.RebuildGrid();
    if (BlackBoxedIn(board.Position())) {
        gameOver = true;
        loss = LossReason::NoUsefulShot;
    }
    if (context.settings.assists) {
        history = std::make_unique<PlayHistory>(SearchPace(context.settings));
        board.player.refuseBlockedShots = true;
        board.player.queueMoves = true;
        menu.backKeys = true;
        if (!gameOver) {
            history->Start(board);
            OfferUnfinished();
        }
    }
    LoadSounds();
    view.SetCamera(context.render.device);
}

Game::~Game() = default;

void Game::OfferUnfinished()
{
    const SceneManager& scenes = context.scenes;
    if (!context.settings.keepUnfinished || scenes.stage.custom.Active())
        return;
    resume = std::make_unique<ResumeOffer>(scenes.stage.group, scenes.stage.number, board.Position());
    if (resume->Kept())
        history->Continue(*resume->Kept(), board, WaitForSearches());
}

// The board stands as it was left while the question waits for its answer.
void Game::AskToResume()
{
    fade = std::max(0, fade - FadeStep);
    if (fade != 0)
        return;
    const std::optional<ResumeOffer::Answer> answer = resume->ReadAnswer(context.application.Keys(), *sound);
    if (answer == ResumeOffer::Answer::StartAgain)
        history->StartAgain(board, *sound, WaitForSearches());
}

void Game::LoadSounds()
{
    sound = SoundPlayer::Create(context.application);
    for (const char* file : EffectFiles)
        sound->AddEffect(file);
    if (history)
        sound->AddEffect(SoundFile::Refused);
    for (int i = GameSound::FirstFlipDone; i <= GameSound::LastFlipDone; ++i)
        sound->SetEffectVolume(i, FlipDoneVolume);
    sound->SetEffectVolume(GameSound::GameOver, GameOverVolume);
    sound->AddMusic(SoundFile::GameMusic);
    bgmFrequency = sound->GetMusicFrequency(GameSound::Music);
}

bool Game::WaitForSearches() const
{
    return context.settings.waitForSearches;
}

void Game::Update()
{
    Keyboard& keys = context.application.Keys();
    volumeKeys.Read(context.application, context.settings, *sound);
    if (history)
        history->Aids().Update(WaitForSearches());
    view.ScrollSky();
    if (resume && resume->Asking()) {
        AskToResume();
        return;
    }
    if (!cleared) {
        if (!gameOver && !menu.IsOpen()) {
            PlayStep();
            if (cleared)
                ClearSequence();
        }
    } else {
        ClearSequence();
    }
    if (gameOver && ending.GameOver(*sound, bgmFrequency))
        menu.Open();
    else if (history && (cleared || gameOver) && !menu.IsOpen())
        menu.NoteEarlyKeys(keys);
    if (const std::optional<GameMenu::Item> item = menu.Input(keys, *sound, cleared))
        ChooseMenuItem(*item);
}

void Game::PlayStep()
{
    Keyboard& keys = context.application.Keys();
    menu.ReadOpenKey(keys);
    fade = std::max(0, fade - FadeStep);
    if (history) {
        history->ReadKeys(keys, context.settings, KeyLineShown(), board, *sound, WaitForSearches());
        history->KeepRestPoint(board);
    }
    Player& player = board.player;
    FlightState& flight = board.flight;
    player.Update(board.grid, {flight.inFlight || !board.flips->IsEmpty(), board.shardsFlying}, *sound, keys);
    if (history) {
        if (const std::optional<MapPosition> cell = player.TakeRefusal())
            history->Aids().MarkRefused(*cell);
    }
    if (std::shared_ptr<Block> shot = board.flame.Update(board.grid, player)) {
        board.blocks.push_back(std::move(shot));
        flight.Launch(player.facing);
    }
    if (history)
        history->CountShot(board);
    for (const std::shared_ptr<Block>& block : board.blocks) {
        if (const std::optional<MapPosition> cell = block->Fly(board.grid, flight, sound.get()))
            flight.Land(*cell);
        block->Update(sound.get());
    }

    if (flight.landed)
        ResolveLanding();
    board.shardsFlying = StepShards(board.shards);
    if (!board.flips->Update(*sound))
        EndTurningOver();
    if (cleared) {
        WriteResult();
        gameOver = false;
        loss = LossReason::None;
    }
    if (history) {
        history->SearchWhenAtRest(board, cleared || gameOver, WaitForSearches());
        view.plan = history->PlanShown();
        if (history->TakeNewPosition() && resume)
            resume->Keep(board.Position(), cleared || gameOver);
    }
    view.Step(context.render.device);
}

// A stage played on its own keeps no score.
void Game::WriteResult()
{
    const SceneManager& scenes = context.scenes;
    if (scenes.stage.custom.Active())
        return;
    const std::string path = ResultFile::Path(scenes.stage.group, scenes.stage.number);
    if (ResultFile::Unopened(ResultFile::Write(path, board.player.score)))
        context.application.ShowMessage(Message(MessageId::FileMissing));
}

void Game::ResolveLanding()
{
    const std::vector<TurnedPiece> turned = TurnOver(board.grid, board.flight.landingCell);
    for (const TurnedPiece& piece : turned)
        board.flips->Add(board.blocks[static_cast<std::size_t>(piece.index)], piece.becomes);
    // Nothing turned over: the shot dissolves, and still counts.
    if (turned.empty() && !board.blocks.empty()) {
        LaunchShards(board.shards, board.blocks.back()->transform.world);
        board.blocks.pop_back();
    }
    board.flight.landed = false;
    board.RebuildGrid();
}

void Game::EndTurningOver()
{
    board.flips->Clear();
    board.RebuildGrid();
    const Standing standing = Judge(board.Position());
    if (standing.loss != LossReason::None) {
        gameOver = true;
        loss = standing.loss;
    }
    cleared = cleared || standing.cleared;
}

bool Game::KeyLineShown() const
{
    const SceneManager& scenes = context.scenes;
    return history && context.settings.keyLine.value_or(scenes.stage.number == 1 && !scenes.stage.custom.Active());
}

void Game::ClearSequence()
{
    if (!ending.Clear(board.blocks, *sound))
        return;
    // A test play from the editor ends with its clear.
    if (context.scenes.stage.custom.FromEditor()) {
        leaving = true;
        nextScene = SceneId::Edit;
    } else {
        menu.Open();
    }
}

void Game::ChooseMenuItem(GameMenu::Item item)
{
    if (resume && item == GameMenu::Retry)
        resume->Forget();
    leaving = true;
    nextScene = MenuChoiceScene(context.scenes, item);
    sound->PlayEffect(GameSound::Decide, false);
}

void Game::UpdateFadeOut()
{
    if (FadeOutAndChange(fade, context.scenes, nextScene, FadeChange::OnOpaqueFrame))
        sound->StopMusic(GameSound::Music);
}

void Game::Draw()
{
    menu.TurnIcons();
    GameHudState hud{fade,
                     menu.IsOpen(),
                     menu.Cursor(),
                     menu.IconAngle(),
                     board.player.score,
                     cleared,
                     ending.ClearFrame(),
                     gameOver,
                     ending.GameOverFrame()};
    hud.level = volumeKeys.Shown();
    if (history) {
        const Assists& aids = history->Aids();
        const bool playing = !cleared && !gameOver;
        // The plan and the notices need the top of the picture.
        const bool topFree = !view.plan && !aids.DeadEnd() && !aids.TooLarge();
        hud.assists = {true,
                       KeyLineShown() && playing && !menu.IsOpen() && topFree,
                       aids.DeadEnd() && playing,
                       aids.TooLarge() && playing,
                       loss,
                       aids.Par(),
                       aids.HintsUsed()};
        if (resume && resume->Asking())
            hud.assists.resumeStartAgain = resume->StartAgainChosen();
        const StageChoice& stage = context.scenes.stage;
        if (!stage.custom.Active())
            hud.assists.next = {{stage.group, StageCatalogue::NextStage(stage.number)}};
    }
    view.Draw(context.render, board, Aids(), context.scenes.stage.group, hud);

    if (!bgmStarted) {
        bgmStarted = true;
        if (sound->MusicCount() > 0)
            sound->PlayMusic(GameSound::Music);
    }
}

void Game::DrawFadeOut()
{
    // The overlay goes over everything, HUD included: a second one over the HUD's own.
    PresentFadingFrame(context.render, [this] { Draw(); }, fade);
}
