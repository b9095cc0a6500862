#include "scenes/Select.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "app/FadeOut.h"
#include "app/SceneManager.h"
#include "app/Settings.h"
#include "assets/AssetFiles.h"
#include "game/BlockModels.h"
#include "game/GameKeys.h"
#include "game/ScoreDigits.h"
#include "game/SearchPace.h"
#include "game/StageBlocks.h"
#include "game/VolumeKeys.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/FadingFrame.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/Sprites.h"
#include "render/Texture.h"
#include "scenes/GroupPars.h"
#include "sound/SoundPlayer.h"
#include "stage/ResultFile.h"
#include "stage/StageFile.h"

namespace {

using StageCatalogue::StagesPerGroup;

// Effects, in the order they are loaded.
enum SelectSound : int { Decide = 0, Turn = 1 };
constexpr int TurnVolume = -750;


// A turn takes 29 frames of the float step before t first passes 1.
constexpr float TurnStep = 0.033333335f;
constexpr float SpinAngle = 0.0034906585f;
constexpr int ArrowPeriod = 60;

// With the play aids: "1 shot", the par on the "BEST" line of the panel, and
// a badge at the score's end when the best score is par.
constexpr float ParRight = 448.0f;
constexpr float ParY = 366.0f;
constexpr float ParDigitScale = 0.75f;
constexpr float ParWordGap = 8.0f;
constexpr float ParMetX = 430.0f;
constexpr float ParMetY = 450.0f;
// With the aids, each stage's idea in place of the group's one line.
constexpr float IdeaLeft = 64.0f;
constexpr float IdeaTop = 248.0f;
// The group's progress, under the idea.
constexpr int ProgressLeft = 72;
constexpr int ProgressTop = 304;
constexpr std::uint32_t ProgressInk = 0xFF5A5E6E;

const Vector3 Eye{-500.0f, 700.0f, -300.0f};
const Vector3 LookAtPoint{-275.0f, 200.0f, 0.0f};
const Vector3 Up{0.0f, 1.0f, 0.0f};

constexpr float Half = std::numbers::pi_v<float> / 2.0f;
constexpr float Whole = std::numbers::pi_v<float>;

// The pose that brings stage k's face to the top, and the spin about it.
struct Face {
    float yaw, pitch, roll;
    char spinAxis;
    float spin;
};
const Face Faces[StagesPerGroup] = {
    {0.0f, 0.0f, 0.0f, 'Y', SpinAngle},    {0.0f, -Half, 0.0f, 'Z', SpinAngle},  {0.0f, 0.0f, Half, 'X', SpinAngle},
    {0.0f, Half, 0.0f, 'Z', -SpinAngle},   {0.0f, 0.0f, -Half, 'X', -SpinAngle}, {0.0f, -Whole, 0.0f, 'Y', -SpinAngle},
};

// Where a block of stage k stands on the cube: its cell turned onto the face.
Vector3 OnFace(int stage, const MapPosition& cell)
{
    const auto along = [](int g) { return static_cast<float>(50 * g - 225); };
    const auto above = [](int g) { return static_cast<float>(50 * g + 275); };
    // Faces 4 to 6 form 50·g − 225 first and take 50 off as a float.
    const auto below = [](int g) { return static_cast<float>(50 * g - 225) - 50.0f; };
    switch (stage) {
    case 1:
        return {along(cell.x), above(cell.y), along(cell.z)};
    case 2:
        return {along(cell.x), along(cell.z), above(cell.y)};
    case 3:
        return {above(cell.y), along(cell.x), along(cell.z)};
    case 4:
        return {along(cell.x), along(cell.z), below(cell.y)};
    case 5:
        return {below(cell.y), along(cell.x), along(cell.z)};
    default:
        return {along(cell.x), below(cell.y), along(cell.z)};
    }
}

Matrix Spin(const Face& face)
{
    switch (face.spinAxis) {
    case 'X':
        return Matrix::RotationX(face.spin);
    case 'Z':
        return Matrix::RotationZ(face.spin);
    default:
        return Matrix::RotationY(face.spin);
    }
}

}  // namespace

Select::Select(const SceneContext& sceneContext) : context(sceneContext)
{
    SceneManager& scenes = context.scenes;
    // With the play aids the select opens on the stage just played.
    if (!context.settings.assists || scenes.stage.number < 1 || scenes.stage.number > StagesPerGroup)
        scenes.stage.number = 1;
    LoadResults(scenes.stage.group);
    for (int k = 1; k <= StagesPerGroup; ++k) {
        BlockList& blocks = stageBlocks[static_cast<std::size_t>(k - 1)];
        if (!LoadStage(blocks, StageFile::Path(scenes.stage.group, k)))
            context.application.ShowMessage(Message(MessageId::FileMissing));
        for (const auto& block : blocks) {
            block->transform.position = OnFace(k, block->mapCell);
            block->transform.UpdateWorld();
        }
        const Face& face = Faces[k - 1];
        Transform& pose = faceTransforms[static_cast<std::size_t>(k - 1)];
        pose.rotation = Matrix::RotationYawPitchRoll(face.yaw, face.pitch, face.roll);
        pose.UpdateWorld();
    }
    cubeTransform.UpdateWorld();
    if (scenes.stage.number != 1)
        cubeTransform.world = faceTransforms[static_cast<std::size_t>(scenes.stage.number - 1)].world;
    tween.from = cubeTransform.world;
    tween.to = faceTransforms[static_cast<std::size_t>(scenes.stage.number - 1)].world;

    camera = Camera::Create(context.render.device);
    sound = SoundPlayer::Create(context.application);
    sound->AddEffect(SoundFile::Decide);
    sound->AddEffect(SoundFile::CubeTurn);
    sound->SetEffectVolume(Turn, TurnVolume);
    sound->AddMusic(SoundFile::SelectMusic);
    if (context.settings.assists)
        pars = std::make_unique<GroupPars>(scenes.stage.group, StagesPerGroup, SearchPace(context.settings));
}

Select::~Select() = default;

void Select::LoadResults(int group)
{
    for (int k = 1; k <= StagesPerGroup; ++k) {
        const std::optional<int> score = ResultFile::ReadLast(ResultFile::Path(group, k));
        if (!score) {
            context.application.ShowMessage(Message(MessageId::FileMissing));
            continue;
        }
        scores[static_cast<std::size_t>(k - 1)] = *score;
    }
}

void Select::Update()
{
    // With the play aids the volume keys work on every screen.
    if (context.settings.assists)
        volumeKeys.Read(context.application, context.settings, *sound);
    if (pars)
        pars->Update(context.settings.waitForSearches);
    if (fade == 0)
        ReadKeys();
    if (fade != 0)
        fade -= FadeStep;
    TurnCube();
    for (const BlockList& blocks : stageBlocks) {
        for (const auto& block : blocks)
            block->transform.world = block->transform.GetTranslation() * cubeTransform.world;
    }
    if (++arrowPhase > ArrowPeriod)
        arrowPhase = 0;
    camera->LookAt(context.render.device, Matrix::Identity(), Eye, LookAtPoint, Up);
}

// Keys count only while down, and only after the fade-in; the first held key,
// in this order, is the one handled.
void Select::ReadKeys()
{
    SceneManager& scenes = context.scenes;
    if (context.settings.assists && BackKeyPressed(context.application.Keys())) {
        if (latch.Take()) {
            nextScene = SceneId::Title;
            leaving = true;
            sound->StopMusic(0);
            sound->PlayEffect(Decide, false);
        }
    } else if (GameKeyDown(context.application.Keys(), VirtualKey::Right)) {
        if (latch.Take()) {
            scenes.stage.number = StageCatalogue::NextStage(scenes.stage.number);
            StartTurn();
        }
    } else if (GameKeyDown(context.application.Keys(), VirtualKey::Left)) {
        if (latch.Take()) {
            scenes.stage.number = StageCatalogue::PreviousStage(scenes.stage.number);
            StartTurn();
        }
    } else if (GameKeyDown(context.application.Keys(), VirtualKey::Return)) {
        if (latch.Take()) {
            leaving = true;
            sound->StopMusic(0);
            sound->PlayEffect(Decide, false);
        }
    } else {
        latch.Open();
    }
}

// A turn starts from wherever the cube stands, also in the middle of another.
void Select::StartTurn()
{
    tween.from = cubeTransform.world;
    tween.to = faceTransforms[static_cast<std::size_t>(context.scenes.stage.number - 1)].world;
    tween.t = 0.0f;
    latch.Close();
    if (sound->EffectCount() >= 2)
        sound->PlayEffect(Turn, false);
    turnSoundStopped = false;
}

// The turn never lands on its target exactly: it spins on from its 29th pose.
void Select::TurnCube()
{
    tween.t += TurnStep;
    if (tween.t > 1.0f) {
        tween.t = 1.0f;
        if (!turnSoundStopped) {
            sound->StopEffect(Turn);
            turnSoundStopped = true;
        }
        const int stage = std::clamp(context.scenes.stage.number, 1, StagesPerGroup);
        cubeTransform.world = Spin(Faces[stage - 1]) * cubeTransform.world;
        return;
    }
    const Quaternion q = Slerp(QuaternionFromMatrix(tween.from), QuaternionFromMatrix(tween.to), tween.t);
    const Vector3 from = tween.from.TranslationRow();
    const Vector3 to = tween.to.TranslationRow();
    Matrix world = Matrix::RotationQuaternion(q);
    world.SetTranslationRow(from + (to - from) * tween.t);
    cubeTransform.world = world;
}

void Select::UpdateFadeOut()
{
    if (fade < FadeOpaque)
        FadeOutAndChange(fade, context.scenes, nextScene, FadeChange::OnOpaqueFrame);
}

void Select::Draw()
{
    GraphicsDevice& device = context.render.device;
    ModelShader& model = context.render.shaders.modelShader;
    const Matrix view = device.GetTransform(TransformState::View);
    model.SetCamera(view, device.GetTransform(TransformState::Projection));
    model.SetLight(device.GetLight().direction, device.GetLight().diffuse);

    const int group = context.scenes.stage.group;
    model.SetLighting(false);
    model.SetWorld(cubeTransform.world);
    const auto cube = context.render.meshes.Get(ModelFile::StageBoard(group));
    model.DrawGlow(cube, 1.0f);
    // The cube is a solid box: the stages on its far faces need no drawing.
    if (cube->HasGeometry())
        device.SetOccluder(cubeTransform.world, cube->BoundsMin(), cube->BoundsMax());
    for (const BlockList& blocks : stageBlocks) {
        for (const auto& block : blocks) {
            model.SetWorld(block->transform.world);
            if (const char* mesh = BlockModel::Of(block->kind))
                model.DrawToon(context.render.meshes.Get(mesh));
        }
    }

    DrawPanel();

    if (!bgmStarted) {
        bgmStarted = true;
        sound->PlayMusic(0);
    }
}

void Select::DrawPanel()
{
    using Sprites::DrawCentred;
    using Sprites::Image;
    GraphicsDevice& device = context.render.device;
    const SceneManager& scenes = context.scenes;
    const auto at = [](float x, float y) { return Matrix::Translation(x, y, 0.0f); };
    const Matrix grow = Matrix::Scaling(1.5f, 1.5f, 1.5f);
    const Vector3 corner(0.0f);
    const double bob = 25.0 * std::sin(arrowPhase * std::numbers::pi / ArrowPeriod);
    const auto arrowY = static_cast<float>(device.BackBufferHeight() / 2);

    device.BeginSprite();
    Sprites::DrawWhiteOverlay(context.render, fade);
    Sprites::Draw(context.render, Image(context.render, ImageFile::GroupPanel(scenes.stage.group)),
                  at(40.0f, 80.0f), corner);
    Sprites::Draw(context.render, Image(context.render, ImageFile::SelectLabels), at(40.0f, 80.0f), corner);
    DrawCentred(context.render, Image(context.render, ImageFile::Digit(scenes.stage.number)), grow * at(430.0f, 125.0f));

    const int score = scores[static_cast<std::size_t>(std::clamp(scenes.stage.number, 1, StagesPerGroup) - 1)];
    if (score != 0) {
        // Every digit takes the rectangle and centre of the glyph for 0, and
        // steps along by the width of the digit before it.
        const auto zero = Image(context.render, ImageFile::DarkDigit(0));
        const Rect source{0, 0, static_cast<long>(zero->imageInfo.width), static_cast<long>(zero->imageInfo.height)};
        const Vector3 centre(static_cast<float>(zero->imageInfo.width / 2), static_cast<float>(zero->imageInfo.height / 2),
                             0.0f);
        const std::vector<int> digits = ScoreDigits(score);
        float previousWidth = 0.0f;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const auto glyph = Image(context.render, ImageFile::DarkDigit(digits[i]));
            const Matrix transform = grow * at(110.0f + 1.7f * static_cast<float>(i) * previousWidth, 450.0f);
            device.DrawSprite(glyph, &source, &transform, &centre, Sprites::OpaqueWhite);
            previousWidth = static_cast<float>(glyph->imageInfo.width);
        }
        const auto shot = Image(context.render, pars && score == 1 ? ImageFile::OneShotWord : ImageFile::ShotsWord);
        const auto widthOfZero = static_cast<float>(Image(context.render, ImageFile::Digit(0))->imageInfo.width);
        Sprites::Draw(context.render, shot, grow * at(110.0f + widthOfZero * 1.7f * static_cast<float>(digits.size()), 450.0f),
                      {0.0f, static_cast<float>(shot->imageInfo.height / 2), 0.0f});
    } else {
        const auto label = Image(context.render, ImageFile::NotCleared);
        DrawCentred(context.render, label, at(static_cast<float>(label->imageInfo.width / 2) + 30.0f, 450.0f));
    }
    if (pars) {
        Sprites::Draw(context.render, Image(context.render, ImageFile::StageIdea(scenes.stage.group, scenes.stage.number)),
                      at(IdeaLeft, IdeaTop), corner);
        DrawPar(score);
        const Progress progress = GroupProgress();
        device.DrawText(std::to_string(progress.cleared) + " of " + std::to_string(StagesPerGroup) + " cleared, " +
                            std::to_string(progress.atPar) + " at par",
                        ProgressLeft, ProgressTop, ProgressInk, TextFace::Sans);
    }
    DrawCentred(context.render, Image(context.render, ImageFile::ArrowRight), at(static_cast<float>(1230.0 + bob), arrowY));
    DrawCentred(context.render, Image(context.render, ImageFile::ArrowLeft), at(static_cast<float>(525.0 - bob), arrowY));
    DrawVolumeLevel(device, volumeKeys.Shown(), true);
    device.EndSprite();
}

Select::Progress Select::GroupProgress() const
{
    Progress progress;
    for (int stage = 1; stage <= StagesPerGroup; ++stage) {
        const int score = scores[static_cast<std::size_t>(stage - 1)];
        if (score <= 0)
            continue;
        ++progress.cleared;
        const std::optional<int> par = pars ? pars->Par(stage) : std::nullopt;
        if (par && score == *par)
            ++progress.atPar;
    }
    return progress;
}

void Select::DrawPar(int score)
{
    const std::optional<int> par = pars->Par(std::clamp(context.scenes.stage.number, 1, StagesPerGroup));
    if (!par)
        return;
    // Right-aligned on the "BEST" line: the word, then the number in the panel's ink digits.
    const std::vector<int> digits = ScoreDigits(*par);
    float right = ParRight;
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        const auto glyph = Sprites::Image(context.render, ImageFile::DarkDigit(*digit));
        right -= static_cast<float>(glyph->imageInfo.width) * ParDigitScale;
        Sprites::Draw(context.render, glyph,
                      Matrix::Scaling(ParDigitScale, ParDigitScale, 1.0f) * Matrix::Translation(right, ParY, 0.0f),
                      {0.0f, static_cast<float>(glyph->imageInfo.height / 2), 0.0f});
    }
    const auto word = Sprites::Image(context.render, ImageFile::ParWord);
    right -= static_cast<float>(word->imageInfo.width) + ParWordGap;
    Sprites::Draw(context.render, word, Matrix::Translation(right, ParY, 0.0f),
                  {0.0f, static_cast<float>(word->imageInfo.height / 2), 0.0f});
    if (score != 0 && score == *par)
        Sprites::DrawCentred(context.render, Sprites::Image(context.render, ImageFile::ParMet),
                             Matrix::Translation(ParMetX, ParMetY, 0.0f));
}

void Select::DrawFadeOut()
{
    PresentFadingFrame(context.render, [this] { Draw(); }, fade);
}
