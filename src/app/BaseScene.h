#pragma once

// One screen of the game. The frame loop calls Update and Draw each frame until
// the scene sets leaving; from then on it calls UpdateFadeOut and DrawFadeOut
// instead, until the scene has asked the SceneManager for the next scene.
class BaseScene {
public:
    virtual ~BaseScene() = default;

    virtual void Update() = 0;
    // The loop has cleared the back buffer before, and presents after.
    virtual void Draw() = 0;
    virtual void UpdateFadeOut() = 0;
    // Clears, draws and presents by itself.
    virtual void DrawFadeOut() = 0;

    // Set by the scene when it wants to leave.
    bool leaving = false;
    // Set at the end of the first Draw, when the looping music starts.
    bool bgmStarted = false;
};
