#pragma once

#include <functional>

struct RenderContext;

// One whole frame of a scene that is leaving: the back buffer cleared to white,
// the scene's own draw, the white overlay with alpha fade over everything, and
// the present. The fade-outs of the title, the stage select and the game.
void PresentFadingFrame(const RenderContext& render, const std::function<void()>& drawScene, int fade);
