#pragma once

#include "app/SceneId.h"

class SceneManager;

// The white overlay a scene fades in from and out to: its alpha moves
// FadeStep a frame, and FadeOpaque covers everything.
constexpr int FadeStep = 3;
constexpr int FadeOpaque = 255;

// When a leaving scene asks for the next one: on the frame its fade becomes
// opaque, or on the frame after (the title's fade shows its opaque frame).
enum class FadeChange { OnOpaqueFrame, FrameAfterOpaque };

// One frame of a leaving scene's fade-out: fade moves FadeStep nearer white;
// once it is opaque it is held at FadeOpaque and the change to next is asked
// for. True on the frame the change is asked for.
bool FadeOutAndChange(int& fade, SceneManager& scenes, SceneId next, FadeChange when);
