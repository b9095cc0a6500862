#pragma once

#include <optional>

#include "formats/Material.h"
#include "math/Matrix.h"
#include "render/BlendState.h"
#include "render/ScreenRect.h"
#include "render/Surface.h"

// What a full-screen pass will give, told in advance by whoever knows the
// technique: one colour everywhere except, at most, inside work, where the pass
// must really run (no work: nowhere).
struct PassPrediction {
    Color colour{0.0f};
    std::optional<ScreenRect> work;
};

// What a pass over a whole target, told in advance, comes to.
struct PredictedPass {
    enum class Repaint {
        // It adds nothing outside work: the target keeps what it knew.
        None,
        // It repaints the target in the predicted colour: a clear of all of it,
        // or, when it is plain in that colour already, of its dirty part.
        Whole,
        Dirty,
    };
    Repaint repaint = Repaint::None;
    // Where the pass must still be drawn; nothing: nowhere.
    std::optional<ScreenRect> work;
};

// Nothing when the blend state makes the result depend on what the target holds.
std::optional<PredictedPass> PlanPredictedPass(const PassPrediction& prediction, const BlendState& blend,
                                               const Surface& target);

// Where the box low..high lands on a target of the given size under toClip, a
// pixel wider every side; nothing when a corner lies behind the eye.
std::optional<ScreenRect> ProjectedBounds(const Vector3& low, const Vector3& high, const Matrix& toClip, int width,
                                          int height);
