#pragma once

struct RenderContext;

// Draws, through the Game's own view, one frame of each look whose first
// draw makes a software renderer compile: a board of group's with every kind
// of block and the HUD over a fade; the launch marker, a block turning over
// in its glow and a shard, with the glow chain, under the menu and without
// it; a game over turned negative. Each frame goes through
// GraphicsDevice::Rehearse, off the screen and the record, so done once
// behind a frame already shown it spares the game's fade-in and first shots
// the wait, and changes nothing else.
void RehearseGameFrames(const RenderContext& render, int group);
