#include "game/Game.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numbers>

#include "app/FadeOut.h"
#include "app/SceneManager.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "game/BlockBurst.h"
#include "game/BlockModels.h"
#include "game/BoardPieces.h"
#include "game/FlameBlock.h"
#include "game/FlipBatch.h"
#include "game/GameHud.h"
#include "game/GameKeys.h"
#include "game/GameSounds.h"
#include "game/Player.h"
#include "game/SearchPace.h"
#include "game/StageBlocks.h"
#include "platform/Application.h"
#include "platform/AudioDevice.h"
#include "platform/Messages.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/FadingFrame.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Sprites.h"
#include "render/Surface.h"
#include "render/Texture.h"
#include "render/TextureCache.h"
#include "rules/Field.h"
#include "rules/Shots.h"
#include "rules/BoardPosition.h"
#include "rules/StageGrid.h"
#include "sound/SoundPlayer.h"
#include "stage/ResultFile.h"
#include "stage/StageCatalogue.h"
#include "stage/StageFile.h"

namespace {

const char* const ShardTextureFile = "Resource/Data/WhiteBlock/Block_W_Cell.png";
const char* const MusicFile = "Resource/Sound/GameBGM.wav";
const char* const RefusedFile = "Resource/Sound/Refused.wav";

// The effect list, in the order every part of the game addresses it.
const char* const EffectFiles[] = {
    "Resource/Sound/Player_Trans.wav",
    "Resource/Sound/Block_接着音.wav",
    "Resource/Sound/Block_Reverse.wav",
    "Resource/Sound/GameClear.wav",
    "Resource/Sound/Cursor2.wav",
    "Resource/Sound/決定音1.wav",
    "Resource/Sound/発射準備.wav",
    "Resource/Sound/発射音2.wav",
    "Resource/Sound/Load_End.wav",
    "Resource/Sound/Load_End.wav",
    "Resource/Sound/Load_End.wav",
    "Resource/Sound/Load_End.wav",
    "Resource/Sound/Load_End.wav",
    "Resource/Sound/GameOver.wav",
    "Resource/Sound/GameClearString_Swing.wav",
    "Resource/Sound/GameClearString_END.wav",
    "Resource/Sound/GameClear2.wav",
    "Resource/Sound/ClearBlock.wav",
};
static_assert(std::size(EffectFiles) == GameSound::EffectCount);

constexpr int FlipDoneVolume = -670;
// Above full volume: the request is refused and the sound keeps full volume.
constexpr int GameOverVolume = 200;

constexpr float SkyScrollPerFrame = 0.001f;

constexpr int SwingFrames = 30;
constexpr int SwingInterval = 10;
constexpr int ClearJingleFrame = 50;
constexpr int ClearMusicVolume = -750;
// The burning phase starts once the jingle has ended or played this far.
constexpr std::uint32_t JinglePlayedEnough = 200000;
constexpr int IgnitionInterval = 10;
// The menu opens this many ignition intervals after the last block caught fire.
constexpr int AfterglowIntervals = 9;

constexpr int SlowdownFrames = 120;
constexpr int FadeFromFrame = 60;
constexpr int MusicFadeDepth = -2000;
constexpr int StingFrame = 170;
constexpr int GameOverMusicVolume = -300;
constexpr int GameOverMenuFrame = 260;

// From this frame of a game over the world shows its negative look.
constexpr int NegativeLookFrame = 160;
constexpr float MenuIconTurn = 3.0f;

// The volume keys' step, and how long the level shows.
constexpr int LevelStep = 10;
constexpr int LevelFrames = 90;

constexpr int MenuItems = 4;
enum MenuItem : int { NextStage = 0, StageSelect = 1, BackToTitle = 2, Retry = 3 };

// The play aids in the world: ghosts of the white block where a shot will
// land, and marks lying on the board's cells.
constexpr float AimGhostAlpha = 0.45f;
// The hint's ghost in the teal of its marks, see-through.
const Color HintGhostColour(0.25f, 0.75f, 0.8f, 0.55f);
constexpr float FloorMarkHeight = 0.5f;
constexpr int FloorMark = static_cast<int>(Field::CellSize);
const char* const HintCellImage = "Resource/Texture/HintCell.png";
const char* const HintArrowImage = "Resource/Texture/HintArrow.png";
const char* const RefusedCellImage = "Resource/Texture/RefusedCell.png";

// The arrow image points toward the camera (-z); the turn about y that points it the given way.
float ArrowTurn(int direction)
{
    switch (direction) {
    case Direction::PlusZ:
        return std::numbers::pi_v<float>;
    case Direction::MinusX:
        return std::numbers::pi_v<float> / 2.0f;
    case Direction::PlusX:
        return -std::numbers::pi_v<float> / 2.0f;
    default:
        return 0.0f;
    }
}

}  // namespace

Game::Game(const SceneContext& sceneContext)
    : context(sceneContext),
      grid(std::make_unique<StageGrid>()),
      skySphere(std::make_unique<SkySphere>()),
      player(std::make_unique<Player>()),
      flame(std::make_unique<FlameBlock>()),
      flips(std::make_shared<FlipBatch>(context.render.device)),
      camera(Camera::Create(context.render.device))
{
    const SceneManager& scenes = context.scenes;
    if (scenes.customPlay.FromEditor()) {
        blocks = BlocksOfText(scenes.customPlay.editorBoard);
    } else {
        const std::string stage = scenes.customPlay.Active() ? scenes.customPlay.File()
                                                             : StageFile::Path(scenes.stageGroup, scenes.stageNumber);
        if (!LoadStage(blocks, stage))
            context.application.ShowMessage(Message(MessageId::FileMissing));
    }
    shardTexture = context.render.textures.Get(ShardTextureFile);
    RebuildGrid(*grid, blocks, player->transform.position);
    if (BlackBoxedIn(Position())) {
        gameOver = true;
        loss = LossReason::NoUsefulShot;
    }
    if (context.settings.assists) {
        assists = std::make_unique<Assists>(SearchPace(context.application));
        player->refuseBlockedShots = true;
        if (!gameOver)
            assists->NewPosition(PiecesOf(blocks), Field::CellOf(player->transform.position));
    }
    LoadSounds();
    // The view never changes; setting it now also serves a stage that starts
    // lost, where no play step runs.
    camera->UpdateOrbit(context.render.device);
}

Game::~Game() = default;

void Game::LoadSounds()
{
    sound = SoundPlayer::Create(context.application);
    for (const char* file : EffectFiles)
        sound->AddEffect(file);
    if (assists)
        sound->AddEffect(RefusedFile);
    for (int i = GameSound::FirstFlipDone; i <= GameSound::LastFlipDone; ++i)
        sound->SetEffectVolume(i, FlipDoneVolume);
    sound->SetEffectVolume(GameSound::GameOver, GameOverVolume);
    sound->AddMusic(MusicFile);
    bgmFrequency = sound->GetMusicFrequency(GameSound::Music);
}

void Game::Update()
{
    ReadVolumeKeys();
    if (assists)
        assists->Update(context.application.BackgroundWorkWaited());
    skySphere->vScroll += SkyScrollPerFrame;
    if (!cleared) {
        if (!gameOver && !menuOpen) {
            PlayStep();
            if (cleared)
                ClearSequence();
        }
    } else {
        ClearSequence();
    }
    if (gameOver)
        GameOverSequence();
    MenuInput();
}

void Game::PlayStep()
{
    if (GameKeyDown(context.application.Keys(), VirtualKey::M)) {
        if (latch.Take())
            menuOpen = true;
    } else {
        latch.Open();
    }
    fade = std::max(0, fade - FadeStep);
    skySphere->transform->UpdateWorld();
    if (assists) {
        ReadAssistKeys();
        KeepRestPoint();
    }
    player->Update(*grid, {flight.inFlight || !flips->IsEmpty(), shardsFlying}, *sound, context.application.Keys());
    if (assists) {
        if (const std::optional<MapPosition> cell = player->TakeRefusal())
            assists->MarkRefused(*cell);
    }
    if (std::shared_ptr<Block> shot = flame->Update(*grid, *player)) {
        blocks.push_back(std::move(shot));
        flight.Launch(player->facing);
    }
    if (assists)
        CountShot();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (const std::optional<MapPosition> cell = blocks[i]->Fly(*grid, flight, sound.get()))
            flight.Land(*cell);
        blocks[i]->Update(sound.get());
    }

    if (flight.landed)
        ResolveLanding();
    shardsFlying = StepShards(shards);
    if (!flips->Update(*sound))
        EndTurningOver();
    if (cleared) {
        WriteResult();
        gameOver = false;
        loss = LossReason::None;
    }
    if (assists)
        SearchWhenAtRest();
    camera->UpdateOrbit(context.render.device);
}

// A stage played on its own keeps no score.
void Game::WriteResult()
{
    const SceneManager& scenes = context.scenes;
    if (scenes.customPlay.Active())
        return;
    if (ResultFile::Unopened(ResultFile::Write(ResultFile::Path(scenes.stageGroup, scenes.stageNumber), player->score)))
        context.application.ShowMessage(Message(MessageId::FileMissing));
}

BoardPosition Game::Position() const
{
    return {PiecesOf(blocks), Field::CellOf(player->transform.position), player->facing, player->score};
}

void Game::ResolveLanding()
{
    const std::vector<TurnedPiece> turned = TurnOver(*grid, flight.landingCell);
    for (const TurnedPiece& piece : turned)
        flips->Add(blocks[static_cast<std::size_t>(piece.index)], piece.becomes);
    // Nothing turned over: the shot dissolves, and still counts.
    if (turned.empty() && !blocks.empty()) {
        LaunchShards(shards, blocks.back()->transform.world);
        blocks.pop_back();
    }
    flight.landed = false;
    RebuildGrid(*grid, blocks, player->transform.position);
}

void Game::EndTurningOver()
{
    flips->Clear();
    RebuildGrid(*grid, blocks, player->transform.position);
    const Standing standing = Judge(Position());
    if (standing.loss != LossReason::None) {
        gameOver = true;
        loss = standing.loss;
    }
    cleared = cleared || standing.cleared;
}

void Game::ReadVolumeKeys()
{
    if (levelFrames > 0 && --levelFrames == 0)
        levelShown.clear();
    struct VolumeKey {
        int key;
        int Settings::*level;
        int step;
        const char* name;
    };
    static constexpr VolumeKey Keys[] = {{VirtualKey::Minus, &Settings::musicLevel, -LevelStep, "music"},
                                         {VirtualKey::Equals, &Settings::musicLevel, LevelStep, "music"},
                                         {VirtualKey::LeftBracket, &Settings::effectsLevel, -LevelStep, "effects"},
                                         {VirtualKey::RightBracket, &Settings::effectsLevel, LevelStep, "effects"}};
    const VolumeKey* pressed = nullptr;
    for (const VolumeKey& candidate : Keys) {
        if (GameKeyDown(context.application.Keys(), candidate.key)) {
            pressed = &candidate;
            break;
        }
    }
    if (!pressed) {
        volumeLatch.Open();
        return;
    }
    if (!volumeLatch.Take())
        return;
    Settings& settings = context.settings;
    int& level = settings.*(pressed->level);
    level = std::clamp(level + pressed->step, 0, AudioDevice::FullLevel);
    context.application.Audio().SetLevels(settings.musicLevel, settings.effectsLevel);
    sound->ApplyLevels();
    levelShown = std::string(pressed->name) + " " + std::to_string(level);
    levelFrames = LevelFrames;
    if (!settings.file.empty() && !SettingsFile::Write(settings.file, settings))
        levelShown += " (not saved)";
}

bool Game::KeyLineShown() const
{
    const SceneManager& scenes = context.scenes;
    return assists && context.settings.keyLine.value_or(scenes.stageNumber == 1 && !scenes.customPlay.Active());
}

bool Game::AtRest() const
{
    return !flight.inFlight && !flight.landed && flips->IsEmpty();
}

// The aids' keys share a latch of their own, so they never hold up the menu's.
void Game::ReadAssistKeys()
{
    int key = 0;
    for (const int candidate : {VirtualKey::H, VirtualKey::Z, VirtualKey::Back, VirtualKey::F1}) {
        if (GameKeyDown(context.application.Keys(), candidate)) {
            key = candidate;
            break;
        }
    }
    if (key == 0) {
        assistLatch.Open();
        return;
    }
    if (!assistLatch.Take())
        return;
    switch (key) {
    case VirtualKey::H:
        assists->AskHint();
        break;
    case VirtualKey::F1:
        context.settings.keyLine = !KeyLineShown();
        break;
    default:
        Undo();
        break;
    }
}

// Undo goes back to the last frame before a charge began.
void Game::KeepRestPoint()
{
    if (player->state == PlayerState::Idle && AtRest())
        restPoint = Snapshot();
}

void Game::CountShot()
{
    if (player->score == shotsCounted)
        return;
    shotsCounted = player->score;
    if (restPoint) {
        restPoint->known = assists->Known();
        assists->Push(std::move(*restPoint));
        restPoint.reset();
    }
    assists->LeavePosition();
    awaitingRest = true;
}

// Once the shot has landed and everything it turned has turned, the board is
// a new position to search, unless the stage has ended.
void Game::SearchWhenAtRest()
{
    if (!awaitingRest || !AtRest())
        return;
    awaitingRest = false;
    if (cleared || gameOver)
        return;
    assists->NewPosition(PiecesOf(blocks), Field::CellOf(player->transform.position));
    assists->TakeAnswer(context.application.BackgroundWorkWaited());
}

UndoStep Game::Snapshot() const
{
    UndoStep step;
    step.pieces = PiecesOf(blocks);
    step.blocks.reserve(blocks.size());
    for (const auto& block : blocks) {
        step.blocks.push_back(
            {block->kind, block->launched, block->state, block->transform.position, block->transform.rotation});
    }
    step.player = player->Pose();
    step.score = player->score;
    return step;
}

// Blocks are only ever appended (a shot that stays) or taken off the end (one
// that dissolves), so the blocks of an earlier position are the first ones.
void Game::Undo()
{
    std::optional<UndoStep> step;
    if (AtRest())
        step = assists->Pop();
    if (!step || step->blocks.size() > blocks.size()) {
        sound->PlayEffect(GameSound::Refused, false);
        return;
    }
    blocks.resize(step->blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        Block& block = *blocks[i];
        const BlockPose& pose = step->blocks[i];
        block.kind = pose.kind;
        block.launched = pose.launched;
        block.state = pose.state;
        block.transform.position = pose.position;
        block.transform.rotation = pose.rotation;
        block.transform.UpdateWorld();
        block.mapCell = step->pieces[i].cell;
    }
    if (player->chargeSoundOn)
        sound->StopEffect(GameSound::Charge);
    player->Restore(step->player);
    player->score = step->score;
    shotsCounted = step->score;
    flight = FlightState{};
    shardsFlying = false;
    for (CellShard& shard : shards)
        shard.visible = false;
    flame->visible = false;
    RebuildGrid(*grid, blocks, player->transform.position);
    restPoint.reset();
    assists->NewPosition(std::move(step->pieces), Field::CellOf(player->transform.position), std::move(step->known));
    assists->TakeAnswer(context.application.BackgroundWorkWaited());
    sound->PlayEffect(GameSound::Cursor, false);
}

void Game::ClearSequence()
{
    if (clearFrame < SwingFrames) {
        if (clearFrame % SwingInterval == 0)
            sound->PlayEffect(GameSound::ClearSwing, false);
        ++clearFrame;
        return;
    }
    if (clearFrame < ClearJingleFrame) {
        if (clearFrame == SwingFrames) {
            clearStarted = true;
            burnLimit = (static_cast<int>(blocks.size()) + AfterglowIntervals) * IgnitionInterval;
            sound->SetMusicVolume(GameSound::Music, ClearMusicVolume);
            sound->PlayEffect(GameSound::ClearStrum, false);
        }
        ++clearFrame;
        if (clearFrame == ClearJingleFrame)
            sound->PlayEffect(GameSound::ClearJingle, false);
        return;
    }
    // A sound just started may still report position 0, so "ended" is asked directly.
    if (sound->IsEffectPlaying(GameSound::ClearJingle) && sound->GetEffectPosition(GameSound::ClearJingle) < JinglePlayedEnough)
        return;
    for (const std::shared_ptr<Block>& block : blocks)
        block->Update(sound.get());
    ++burnTimer;
    if (burnIndex < static_cast<int>(blocks.size())) {
        if (burnTimer % IgnitionInterval == 0)
            blocks[burnIndex++]->bursting = true;
    } else if (burnTimer >= burnLimit) {
        // A test play from the editor ends with its clear.
        if (context.scenes.customPlay.FromEditor()) {
            leaving = true;
            nextScene = SceneId::Edit;
        } else {
            menuOpen = true;
        }
    }
}

void Game::GameOverSequence()
{
    if (gameOverFrame < SlowdownFrames) {
        const int t = ++gameOverFrame;
        // The music slides down to half its speed.
        const double slowdown = 1.0 + t / static_cast<double>(SlowdownFrames);
        sound->SetMusicFrequency(GameSound::Music, static_cast<unsigned>(bgmFrequency / slowdown));
        if (t > FadeFromFrame) {
            const int volume = (t - FadeFromFrame) * MusicFadeDepth / (SlowdownFrames - FadeFromFrame);
            sound->SetMusicVolume(GameSound::Music, volume);
        }
        if (t == SlowdownFrames)
            sound->StopMusic(GameSound::Music);
    } else if (gameOverFrame < StingFrame) {
        if (++gameOverFrame == StingFrame) {
            sound->PlayEffect(GameSound::GameOver, false);
            sound->SetMusicVolume(GameSound::Music, GameOverMusicVolume);
            sound->PlayMusic(GameSound::Music);
        }
    } else if (gameOverFrame < GameOverMenuFrame) {
        if (++gameOverFrame == GameOverMenuFrame)
            menuOpen = true;
    }
}

void Game::MenuInput()
{
    if (!menuOpen) {
        if (!GameKeyDown(context.application.Keys(), VirtualKey::M)) {
            latch.Open();
        } else if (latch.Take()) {
            menuCursor = 0;
            menuOpen = true;
        }
        return;
    }

    int key = 0;
    for (const int candidate : {VirtualKey::M, VirtualKey::Up, VirtualKey::Down, VirtualKey::Return}) {
        if (GameKeyDown(context.application.Keys(), candidate)) {
            key = candidate;
            break;
        }
    }
    if (key == 0) {
        latch.Open();
        return;
    }
    if (!latch.Take())
        return;
    switch (key) {
    case VirtualKey::M:
        // A cleared stage keeps its menu open.
        if (!cleared) {
            menuCursor = 0;
            menuOpen = false;
        }
        break;
    case VirtualKey::Up:
        menuCursor = (menuCursor + MenuItems - 1) % MenuItems;
        sound->PlayEffect(GameSound::Cursor, false);
        break;
    case VirtualKey::Down:
        menuCursor = (menuCursor + 1) % MenuItems;
        sound->PlayEffect(GameSound::Cursor, false);
        break;
    default:
        ChooseMenuItem();
        break;
    }
}

void Game::ChooseMenuItem()
{
    leaving = true;
    nextScene = MenuChoiceScene();
    sound->PlayEffect(GameSound::Decide, false);
}

SceneId Game::MenuChoiceScene()
{
    SceneManager& scenes = context.scenes;
    SceneManager::CustomPlay& custom = scenes.customPlay;
    // Stages played on their own: played again, or the next of them; anything
    // else leaves them for the title. The editor's test play goes back to it.
    if (custom.Active()) {
        if (custom.FromEditor())
            return SceneId::Edit;
        if (menuCursor == Retry)
            return SceneId::Game;
        if (menuCursor == NextStage && custom.current + 1 < custom.files.size()) {
            ++custom.current;
            return SceneId::Game;
        }
        custom = {};
        return SceneId::Title;
    }
    switch (menuCursor) {
    case NextStage:
        scenes.stageNumber = StageCatalogue::NextStage(scenes.stageNumber);
        return SceneId::Game;
    case StageSelect:
        return SceneId::Select;
    case BackToTitle:
        return SceneId::Title;
    default:
        return SceneId::Game;
    }
}

void Game::UpdateFadeOut()
{
    if (FadeOutAndChange(fade, context.scenes, nextScene, FadeChange::OnOpaqueFrame))
        sound->StopMusic(GameSound::Music);
}

void Game::Draw()
{
    GraphicsDevice& device = context.render.device;
    ShaderManager& shaders = context.render.shaders;
    const int width = device.BackBufferWidth();
    const int height = device.BackBufferHeight();

    // Without a scene target, or the filter that copies it to the screen, the
    // world goes straight to the back buffer.
    Texture* scene = shaders.sceneTarget && shaders.sceneTarget->GetSurface() && shaders.filterShader.effect
                         ? shaders.sceneTarget.get()
                         : nullptr;
    Surface* savedTarget = device.GetRenderTarget();
    if (scene) {
        // The scene target is only ever copied whole onto the screen, or read
        // back by the negative pass while it is current: the screen can hold
        // the world itself and save a full-screen copy. Not while something
        // see-through is shown: lit above 1, it blends in at its full value in
        // the float target but clamped to 1 on the 8-bit screen, and looks
        // darker there.
        if (!SeeThroughInWorld())
            device.StandIn(scene->GetSurface(), savedTarget);
        device.SetRenderTarget(scene->GetSurface());
    }
    DrawWorld(scene);
    if (scene) {
        device.SetRenderTarget(savedTarget);
        shaders.filterShader.DrawNormal(*scene, width, height, Color(1.0f), 1.0f);
    }
    if (glowReady)
        ComposeGlow();

    if (menuOpen)
        menuIconAngle += MenuIconTurn;
    GameHudState hud{fade, menuOpen, menuCursor, menuIconAngle, player->score, cleared, clearFrame, gameOver,
                     gameOverFrame};
    hud.level = levelShown;
    if (assists) {
        const bool playing = !cleared && !gameOver;
        hud.assists = {true,
                       KeyLineShown() && playing && !menuOpen,
                       assists->DeadEnd() && playing,
                       assists->TooLarge() && playing,
                       loss,
                       assists->Par(),
                       assists->HintsUsed()};
    }
    DrawGameHud(context.render, hud);

    if (!bgmStarted) {
        bgmStarted = true;
        if (sound->MusicCount() > 0)
            sound->PlayMusic(GameSound::Music);
    }
}

void Game::DrawWorld(Texture* scene)
{
    const RenderContext& render = context.render;
    GraphicsDevice& device = render.device;
    ShaderManager& shaders = render.shaders;
    ModelShader& model = shaders.modelShader;
    // The camera's update set both; the light is whatever the menus last gave the shared effect.
    model.SetCamera(device.GetTransform(TransformState::View), device.GetTransform(TransformState::Projection));

    const int group = context.scenes.stageGroup;
    const auto board = render.meshes.Get("Resource/Data/Stage/Stage" + std::to_string(group) + ".x");
    // The sky fills the screen; with the board's depth in first, the half
    // of it the board covers is never drawn.
    model.SetLighting(false);
    model.SetWorld(skySphere->transform->world);
    model.PrimeDepth(board);
    skySphere->Draw(render, group);
    model.DrawGlow(board, 1.0f);

    model.SetLighting(true);
    player->Draw(render);
    flame->Draw(render);

    if (gameOver && gameOverFrame >= NegativeLookFrame) {
        model.SetLighting(true);
        for (const auto& block : blocks)
            block->DrawInverted(render);
        DrawShards(device, shards, shardTexture);
        // Inverted blocks under a negative come out in their own colours
        // again, on a negative board and sky.
        if (scene)
            shaders.filterShader.DrawNegative(*scene, Color(1.0f));
        return;
    }
    flips->Draw(render, shaders.glowTarget, glowReady);
    model.SetLighting(true);
    for (const auto& block : blocks)
        block->Draw(render);
    if (assists)
        DrawAssists();
    DrawShards(device, shards, shardTexture);
}

bool Game::SeeThroughInWorld() const
{
    const bool shardShown =
        std::any_of(shards.begin(), shards.end(), [](const CellShard& shard) { return shard.visible; });
    const bool aidShown = assists && (assists->Hint() || assists->RefusedMark());
    return flame->visible || shardShown || aidShown;
}

void Game::DrawAssists() const
{
    const RenderContext& render = context.render;
    GraphicsDevice& device = render.device;
    ModelShader& model = render.shaders.modelShader;
    if (player->state == PlayerState::Charging && AtRest()) {
        const MapPosition launch = LaunchCell(player->transform.position, player->facing);
        if (CanLaunch(*grid, launch)) {
            model.SetWorld(Matrix::Translation(Field::Centre(LandingCell(*grid, launch, player->facing))));
            model.DrawGlow(render.meshes.Get(BlockModel::White), AimGhostAlpha);
        }
    }
    const std::optional<SolutionShot>& hint = assists->Hint();
    if (hint) {
        model.SetWorld(Matrix::Translation(Field::Centre(hint->landing)));
        model.DrawColor(render.meshes.Get(BlockModel::White), HintGhostColour, 1.0f);
    }

    const bool lit = device.Lighting();
    device.SetLighting(false);
    const auto mark = [&](const char* image, const MapPosition& cell, float turn) {
        const Vector3 centre = Field::Centre(cell);
        device.SetTexture(render.textures.Get(image).get());
        DrawQuadXZ(device, {-FloorMark / 2, -FloorMark / 2, FloorMark, FloorMark},
                   Matrix::RotationY(turn) * Matrix::Translation(centre.x, FloorMarkHeight, centre.z), {}, 255.0f);
    };
    if (hint) {
        mark(HintCellImage, hint->from, 0.0f);
        mark(HintArrowImage, hint->from, ArrowTurn(hint->direction));
    }
    if (const std::optional<MapPosition>& refused = assists->RefusedMark())
        mark(RefusedCellImage, *refused, 0.0f);
    device.SetTexture(nullptr);
    device.SetLighting(lit);
}

void Game::ComposeGlow()
{
    GraphicsDevice& device = context.render.device;
    ShaderManager& shaders = context.render.shaders;
    if (!shaders.glowTarget || !shaders.blur)
        return;
    shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur);
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::One);
    for (const BlurTexture::Level& level : shaders.blur->levels) {
        if (level.b)
            shaders.filterShader.DrawNormal(*level.b, device.BackBufferWidth(), device.BackBufferHeight(),
                                            Color(1.0f), 1.0f);
    }
    device.SetBlendOperation(BlendOperation::Add);
    device.SetSourceBlend(BlendFactor::SourceAlpha);
    device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
}

void Game::DrawFadeOut()
{
    // The overlay goes over everything, HUD included: a second one over the HUD's own.
    PresentFadingFrame(context.render, [this] { Draw(); }, fade);
}
