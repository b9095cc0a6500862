#pragma once

// The device's own programs: the fixed-function path (lit or unlit, with the
// stage-0 texture and its optional coordinate transform) and the sprite batch.
namespace BuiltinShaders {
extern const char* const FixedVertex;
extern const char* const FixedFragment;
extern const char* const SpriteVertex;
extern const char* const SpriteFragment;
}  // namespace BuiltinShaders
