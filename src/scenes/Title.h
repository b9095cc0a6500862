#pragma once

#include <array>
#include <memory>

#include "app/BaseScene.h"
#include "app/KeyLatch.h"
#include "app/SceneContext.h"
#include "game/VolumeKeys.h"
#include "math/Matrix.h"
#include "render/Transform.h"

class Camera;
class SoundPlayer;

// The first screen: the turning logo and the three group emblems circling on a
// carousel, a blinking press-enter prompt, then a menu of game start and score
// reset. Game start opens the difficulty choice: the emblems glide into a
// triangle with the chosen group in front, Left and Right turn it, and a
// second Enter fades out to Select with that group. Score reset asks first,
// with No chosen: Left and Right choose, Enter answers, Backspace says No
// (so does Escape, with the play aids).
class Title final : public BaseScene {
public:
    explicit Title(const SceneContext& context);
    ~Title() override;

    void Update() override;
    void Draw() override;
    void UpdateFadeOut() override;
    void DrawFadeOut() override;

    // Writes "score:0" into all 18 result files; files that cannot be written are skipped.
    static void ResetScores();

    // Read-only views for the harness trace and the tests.
    int MenuItem() const { return menuItem; }
    bool DifficultyOpen() const { return difficultyOpen; }
    int DifficultyIndex() const { return difficultyIndex; }
    float TweenProgress() const { return tweenProgress; }
    int ResetMessageTimer() const { return resetMessageTimer; }
    bool ResetAsked() const { return resetAsked; }
    bool ResetYesChosen() const { return resetYes; }
    const Transform& Model(int k) const { return modelTransforms[static_cast<std::size_t>(k)]; }

private:
    void ReadKeys();
    // With the play aids, Escape and Backspace go back one level: the
    // difficulty choice closes, the menu gives way to the prompt, and Escape
    // on the title itself quits. False when neither is pressed.
    bool ReadBackKeys();
    // The keys while the score reset's question is open.
    void ReadResetAnswer();
    void Enter();
    // Left (-1) or Right (+1): the next group comes to the front.
    void Turn(int step);
    // Moves every emblem from where it stands toward its slot of the triangle.
    void StartMove();
    void MoveModels();
    void DrawHud();

    SceneContext context;
    VolumeKeys volumeKeys;
    std::unique_ptr<Camera> camera;
    std::shared_ptr<SoundPlayer> sound;
    float pressEnterAlpha = 0.0f;
    bool pressEnterRising = false;
    int difficultyIndex = 0;
    // Degrees the carousel has turned about the world's vertical axis.
    float carouselAngle = 0.0f;
    Transform logoTransform;
    std::array<Transform, 3> slotTransforms;
    std::array<Transform, 3> modelTransforms;
    std::array<Matrix, 3> tweenFrom;
    std::array<Matrix, 3> tweenTo;
    float tweenProgress = 0.0f;
    float introAlpha = 0.0f;
    int fade = 0;
    int arrowPhase = 0;
    // 0 the prompt, 1 game start, 2 score reset.
    int menuItem = 0;
    bool difficultyOpen = false;
    bool scoreResetDone = false;
    int resetMessageTimer = 0;
    // Score reset is asked before it is done: a player trying the menu must
    // not lose every best score to one key.
    bool resetAsked = false;
    bool resetYes = false;
    KeyLatch latch;
};
