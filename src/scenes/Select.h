#pragma once

#include <array>
#include <memory>

#include "app/BaseScene.h"
#include "app/FadeOut.h"
#include "app/KeyLatch.h"
#include "app/SceneContext.h"
#include "game/VolumeKeys.h"
#include "game/Block.h"
#include "math/Matrix.h"
#include "render/Transform.h"
#include "stage/StageCatalogue.h"

class Camera;
class GroupPars;
class SoundPlayer;

// Choosing a stage of the group picked on the title: the group's board cube
// with each of its six stages standing on one face. Left and Right turn the
// chosen stage's face to the top; the panel shows its number and best score
// (with the play aids, also its idea and par); Enter fades out to that stage's
// Game. With the aids it opens on the stage just played, and Escape or
// Backspace goes back to the title.
class Select final : public BaseScene {
public:
    explicit Select(const SceneContext& context);
    ~Select() override;

    void Update() override;
    void Draw() override;
    void UpdateFadeOut() override;
    void DrawFadeOut() override;

    // Read-only views for the harness trace and the tests.
    int Fade() const { return fade; }
    const std::array<int, StageCatalogue::StagesPerGroup>& Scores() const { return scores; }
    float TweenT() const { return tween.t; }
    const Matrix& CubeWorld() const { return cubeTransform.world; }
    // The group's pars; null without the play aids.
    const GroupPars* Pars() const { return pars.get(); }

    // How far the player has come in the group: stages cleared, and those
    // cleared in par (of the pars known so far).
    struct Progress {
        int cleared = 0;
        int atPar = 0;
    };
    Progress GroupProgress() const;

private:
    // The cube's turn under way: from one pose toward another.
    struct CubeTween {
        float t = 0.0f;
        Matrix from;
        Matrix to;
    };

    // The best scores of the group's six stages; a missing file shows its message.
    void LoadResults(int group);
    void ReadKeys();
    void StartTurn();
    void TurnCube();
    void DrawPanel();
    // Par beside "BEST", its badge when the best score is par, and "1 shot".
    void DrawPar(int score);

    SceneContext context;
    VolumeKeys volumeKeys;
    int fade = FadeOpaque;
    std::array<Transform, StageCatalogue::StagesPerGroup> faceTransforms;
    CubeTween tween;
    int arrowPhase = 0;
    Transform cubeTransform;
    std::array<BlockList, StageCatalogue::StagesPerGroup> stageBlocks;
    std::array<int, StageCatalogue::StagesPerGroup> scores{};
    std::shared_ptr<SoundPlayer> sound;
    bool turnSoundStopped = false;
    KeyLatch latch;
    // The stage chosen; with the play aids, Escape or Backspace goes back to the title.
    SceneId nextScene = SceneId::Game;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<GroupPars> pars;
};
