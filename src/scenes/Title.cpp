#include "scenes/Title.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "app/FadeOut.h"
#include "app/SceneManager.h"
#include "app/Settings.h"
#include "game/VolumeKeys.h"
#include "assets/AssetFiles.h"
#include "game/GameKeys.h"
#include "math/Angles.h"
#include "platform/Application.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/FadingFrame.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/Sprites.h"
#include "render/Texture.h"
#include "rules/Field.h"
#include "sound/SoundPlayer.h"
#include "stage/ResultFile.h"
#include "stage/StageCatalogue.h"

namespace {

using StageCatalogue::Groups;

// Effects, in the order they are loaded.
enum TitleSound : int { Decide = 0, Loaded = 1, Cursor = 2 };
const char* const EffectFiles[] = {SoundFile::Decide, SoundFile::FlipDone,
                                   SoundFile::TitleCursor};

const Vector3 Eye{0.0f, 0.0f, -60.0f};
const Vector3 SlotPositions[Groups] = {{0.0f, -3.0f, -40.0f}, {10.0f, -3.0f, -10.0f}, {-10.0f, -3.0f, -10.0f}};
const Vector3 CarouselPositions[Groups] = {{0.0f, -3.0f, -12.0f}, {10.0f, -3.0f, 10.0f}, {-10.0f, -3.0f, 10.0f}};

constexpr float QuarterTurn = std::numbers::pi_v<float> / 4.0f;
constexpr float BlinkStep = 0.02f;
constexpr float IntroStep = 0.02f;
constexpr float MoveStep = 0.02f;
constexpr double CarouselStep = 0.1;
constexpr float LogoSpinDegrees = 0.1f;
constexpr float ModelSpinDegrees = 1.0f;
constexpr int ArrowPeriod = 60;
constexpr int ResetMessageFrames = 120;

// The HUD rows.
constexpr float MenuY = 600.0f;
constexpr float DifficultyY = 625.0f;
constexpr float ArrowSpread = 225.0f;
constexpr double ArrowBob = 25.0;
constexpr float UpArrowY = 540.0f;
constexpr float DownArrowY = 665.0f;
constexpr float TitleScale = 1.8f;
constexpr int TitleRaise = 50;
constexpr float TitleCentreX = 180.0f;

// An arrow's place, moved by its bob in double precision.
float Bobbed(float place, double bob)
{
    return static_cast<float>(place + bob);
}

Matrix Upright()
{
    return Matrix::RotationYawPitchRoll(QuarterTurn, QuarterTurn, QuarterTurn);
}

Matrix Yaw(float degrees)
{
    return Matrix::RotationYawPitchRoll(degrees * DegreesToRadians, 0.0f, 0.0f);
}

}  // namespace

Title::Title(const SceneContext& sceneContext) : context(sceneContext), camera(std::make_unique<Camera>())
{
    context.scenes.stage.group = 1;
    if (context.settings.assists)
        context.scenes.stage.number = 1;
    logoTransform.rotation = Upright();
    for (int k = 0; k < Groups; ++k) {
        slotTransforms[static_cast<std::size_t>(k)].position = SlotPositions[k];
        Transform& model = modelTransforms[static_cast<std::size_t>(k)];
        model.position = CarouselPositions[k];
        model.rotation = Upright();
        model.UpdateWorld();
    }
    // The first update makes the view and projection from these.
    camera->eye = Eye;
    camera->target = Vector3(0.0f);
    camera->up = Vector3(0.0f, 1.0f, 0.0f);

    sound = SoundPlayer::Create(context.application);
    for (const char* file : EffectFiles)
        sound->AddEffect(file);
    sound->AddMusic(SoundFile::TitleMusic);
}

Title::~Title() = default;

void Title::Update()
{
    // With the play aids the volume keys work on every screen.
    if (context.settings.assists)
        volumeKeys.Read(context.application, context.settings, *sound);
    if (resetMessageTimer == 0)
        ReadKeys();
    if (menuItem == 0) {
        pressEnterAlpha += pressEnterRising ? BlinkStep : -BlinkStep;
        if (pressEnterAlpha > 1.0f) {
            pressEnterAlpha = 1.0f;
            pressEnterRising = false;
        } else if (pressEnterAlpha < 0.0f) {
            pressEnterAlpha = 0.0f;
            pressEnterRising = true;
        }
    }
    if (introAlpha < 1.0f)
        introAlpha += IntroStep;
    carouselAngle = static_cast<float>(carouselAngle + CarouselStep);
    logoTransform.rotation = logoTransform.rotation * Yaw(LogoSpinDegrees);
    logoTransform.UpdateWorld();
    MoveModels();
    if (++arrowPhase > ArrowPeriod)
        arrowPhase = 0;
    if (scoreResetDone && ++resetMessageTimer > ResetMessageFrames) {
        resetMessageTimer = 0;
        scoreResetDone = false;
    }
    camera->LookAt(context.render.device, Matrix::Identity(), camera->eye, camera->target, camera->up);
}

// Keys count on either bit, so a tap shorter than a frame still counts; the
// first one pressed, in this order, is the one handled.
void Title::ReadKeys()
{
    if (resetAsked) {
        ReadResetAnswer();
        return;
    }
    if (context.settings.assists && ReadBackKeys())
        return;
    const bool moveEnded = difficultyOpen && tweenProgress >= 1.0f;
    if (MenuKeyPressed(context.application.Keys(), VirtualKey::Return)) {
        if (latch.Take())
            Enter();
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Up)) {
        // The menu is hidden while the difficulty choice is open; so are its keys.
        if (!latch.Closed() && menuItem != 0 && !difficultyOpen) {
            menuItem = menuItem == 2 ? 1 : 2;
            sound->PlayEffect(Cursor, false);
            latch.Close();
        }
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Down)) {
        if (!latch.Closed() && menuItem != 0 && !difficultyOpen) {
            menuItem = menuItem == 1 ? 2 : 1;
            sound->PlayEffect(Cursor, false);
            latch.Close();
        }
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Left)) {
        // Held, it turns the triangle again each time a move has ended.
        if (moveEnded)
            Turn(-1);
    } else if (MenuKeyPressed(context.application.Keys(), VirtualKey::Right)) {
        if (moveEnded)
            Turn(+1);
    } else {
        latch.Open();
    }
}

bool Title::ReadBackKeys()
{
    Keyboard& keys = context.application.Keys();
    const bool escape = MenuKeyPressed(keys, VirtualKey::Escape);
    const bool back = MenuKeyPressed(keys, VirtualKey::Back);
    if (!escape && !back)
        return false;
    if (!latch.Take())
        return true;
    if (difficultyOpen) {
        // The emblems take up the carousel again where it has turned to.
        difficultyOpen = false;
        sound->PlayEffect(Cursor, false);
    } else if (escape) {
        context.application.PostQuit();
    } else if (menuItem != 0) {
        menuItem = 0;
        sound->PlayEffect(Cursor, false);
    }
    return true;
}

void Title::ReadResetAnswer()
{
    Keyboard& keys = context.application.Keys();
    if (MenuKeyPressed(keys, VirtualKey::Return)) {
        if (!latch.Take())
            return;
        resetAsked = false;
        if (resetYes) {
            ResetScores();
            scoreResetDone = true;
        }
        sound->PlayEffect(Decide, false);
    } else if (MenuKeyPressed(keys, VirtualKey::Left) || MenuKeyPressed(keys, VirtualKey::Right)) {
        if (!latch.Take())
            return;
        resetYes = !resetYes;
        sound->PlayEffect(Cursor, false);
    } else if (MenuKeyPressed(keys, VirtualKey::Back) ||
               (context.settings.assists && MenuKeyPressed(keys, VirtualKey::Escape))) {
        if (!latch.Take())
            return;
        resetAsked = false;
        sound->PlayEffect(Cursor, false);
    } else if (!MenuKeyPressed(keys, VirtualKey::Up) && !MenuKeyPressed(keys, VirtualKey::Down)) {
        // Up and Down wait for the answer; taken here, a press of them is
        // not left over for the menu once the question has closed.
        latch.Open();
    }
}

void Title::Enter()
{
    switch (menuItem) {
    case 0:
        menuItem = 1;
        sound->PlayEffect(Decide, false);
        break;
    case 1:
        if (difficultyOpen && tweenProgress >= 1.0f) {
            leaving = true;
            sound->PlayEffect(Decide, false);
        } else if (!difficultyOpen) {
            difficultyOpen = true;
            StartMove();
            sound->PlayEffect(Decide, false);
        }
        // Open but still moving: the press only sets the latch.
        break;
    default:
        if (!scoreResetDone) {
            resetAsked = true;
            resetYes = false;
            sound->PlayEffect(Decide, false);
        }
        break;
    }
}

void Title::Turn(int step)
{
    SceneManager& scenes = context.scenes;
    difficultyIndex = (difficultyIndex + Groups - step) % Groups;
    scenes.stage.group = StageCatalogue::Cycle(scenes.stage.group, step, Groups);
    StartMove();
    latch.Close();
    sound->PlayEffect(Cursor, false);
}

void Title::StartMove()
{
    for (int k = 0; k < Groups; ++k) {
        const int slot = (difficultyIndex + k) % Groups;
        tweenFrom[static_cast<std::size_t>(k)] = modelTransforms[static_cast<std::size_t>(k)].world;
        tweenTo[static_cast<std::size_t>(k)] =
            Upright() * slotTransforms[static_cast<std::size_t>(slot)].GetTranslation();
    }
    tweenProgress = 0.0f;
}

void Title::MoveModels()
{
    if (!difficultyOpen) {
        const Matrix carousel = Matrix::RotationY(carouselAngle * DegreesToRadians);
        for (Transform& model : modelTransforms) {
            model.rotation = model.rotation * Yaw(ModelSpinDegrees);
            model.world = model.rotation * model.GetTranslation() * carousel;
        }
        return;
    }
    tweenProgress = std::min(1.0f, tweenProgress + MoveStep);
    for (std::size_t k = 0; k < modelTransforms.size(); ++k) {
        const Quaternion q = Slerp(QuaternionFromMatrix(tweenFrom[k]), QuaternionFromMatrix(tweenTo[k]), tweenProgress);
        const Vector3 from = tweenFrom[k].TranslationRow();
        const Vector3 to = tweenTo[k].TranslationRow();
        Matrix world = Matrix::RotationQuaternion(q);
        world.SetTranslationRow(from + (to - from) * tweenProgress);
        modelTransforms[k].world = world;
    }
}

void Title::ResetScores()
{
    for (int group = 1; group <= Groups; ++group) {
        for (int stage = 1; stage <= StageCatalogue::StagesPerGroup; ++stage)
            ResultFile::Reset(ResultFile::Path(group, stage));
    }
}

void Title::UpdateFadeOut()
{
    FadeOutAndChange(fade, context.scenes, SceneId::Select, FadeChange::FrameAfterOpaque);
}

void Title::Draw()
{
    GraphicsDevice& device = context.render.device;
    ModelShader& model = context.render.shaders.modelShader;
    model.SetCamera(device.GetTransform(TransformState::View), device.GetTransform(TransformState::Projection));
    model.SetLight(device.GetLight().direction, device.GetLight().diffuse);

    model.SetLighting(true);
    model.SetWorld(logoTransform.world);
    model.DrawGlow(context.render.meshes.Get(ModelFile::TitleLogo), introAlpha);
    model.SetLighting(true);
    for (int k = 0; k < Groups; ++k) {
        model.SetWorld(modelTransforms[static_cast<std::size_t>(k)].world);
        model.DrawGlow(context.render.meshes.Get(ModelFile::TitleEmblem(k + 1)), introAlpha);
    }

    DrawHud();

    if (!bgmStarted) {
        bgmStarted = true;
        sound->PlayMusic(0);
    }
}

void Title::DrawHud()
{
    GraphicsDevice& device = context.render.device;
    const int width = device.BackBufferWidth();
    const auto halfWidth = static_cast<float>(width / 2);
    const float middle = 0.5f * static_cast<float>(width);
    const double bob = ArrowBob * std::sin(arrowPhase * std::numbers::pi / ArrowPeriod);
    const auto at = [](float x, float y) { return Matrix::Translation(x, y, 0.0f); };
    using Sprites::DrawCentred;
    using Sprites::Image;

    device.BeginSprite();
    const auto title = Image(context.render, ImageFile::TitleLettering);
    const unsigned titleHeight = title->imageInfo.height;
    Sprites::Draw(context.render, title,
                  Matrix::Scaling(TitleScale, TitleScale, TitleScale) *
                      at(halfWidth, static_cast<float>(titleHeight - TitleRaise)),
                  {TitleCentreX, static_cast<float>(titleHeight / 2), 0.0f});
    if (menuItem == 0) {
        const auto alpha = static_cast<std::uint32_t>(255.0f * pressEnterAlpha);
        const auto inverse = static_cast<std::uint32_t>(255.0f - 255.0f * pressEnterAlpha);
        DrawCentred(context.render, Image(context.render, ImageFile::PressEnter), at(halfWidth, MenuY), alpha << 24 | 0x00FFFFFFu);
        DrawCentred(context.render, Image(context.render, ImageFile::PressEnterInverted), at(halfWidth, MenuY), inverse << 24 | 0x00FFFFFFu);
    }
    if (menuItem == 1 && !difficultyOpen)
        DrawCentred(context.render, Image(context.render, ImageFile::GameStart), at(halfWidth, MenuY));
    if (resetAsked)
        DrawCentred(context.render, Image(context.render, resetYes ? ImageFile::ResetAskedYes : ImageFile::ResetAskedNo),
                    at(halfWidth, MenuY));
    else if (menuItem == 2 && !difficultyOpen && resetMessageTimer == 0)
        DrawCentred(context.render, Image(context.render, ImageFile::ScoreReset), at(halfWidth, MenuY));
    if (difficultyOpen) {
        const char* const labels[Groups] = {ImageFile::Easy, ImageFile::Normal,
                                            ImageFile::Hard};
        const int group = std::clamp(context.scenes.stage.group, 1, Groups);
        DrawCentred(context.render, Image(context.render, labels[group - 1]), at(middle, DifficultyY));
        DrawCentred(context.render, Image(context.render, ImageFile::ArrowRight), at(Bobbed(middle + ArrowSpread, bob), DifficultyY));
        DrawCentred(context.render, Image(context.render, ImageFile::ArrowLeft), at(Bobbed(middle - ArrowSpread, -bob), DifficultyY));
    }
    if (!difficultyOpen && resetMessageTimer > 0)
        DrawCentred(context.render, Image(context.render, ImageFile::ScoreResetDone), at(middle, MenuY));
    if (!difficultyOpen && resetMessageTimer == 0 && menuItem != 0 && !resetAsked) {
        DrawCentred(context.render, Image(context.render, ImageFile::ArrowUp), at(middle, Bobbed(UpArrowY, -bob)));
        DrawCentred(context.render, Image(context.render, ImageFile::ArrowDown), at(middle, Bobbed(DownArrowY, bob)));
    }
    DrawVolumeLevel(device, volumeKeys.Shown(), true);
    device.EndSprite();
}

void Title::DrawFadeOut()
{
    PresentFadingFrame(context.render, [this] { Draw(); }, fade);
}
