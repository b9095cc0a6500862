#include "render/PassPrediction.h"

#include <algorithm>
#include <cmath>

std::optional<PredictedPass> PlanPredictedPass(const PassPrediction& prediction, const BlendState& blend,
                                               const Surface& target)
{
    if (blend.operation != BlendOperation::Add || blend.source != BlendFactor::SourceAlpha)
        return std::nullopt;
    const Color& c = prediction.colour;
    PredictedPass plan;
    if (prediction.work)
        plan.work = ClampTo(*prediction.work, target.width, target.height);
    if (blend.destination == BlendFactor::One && c.r * c.a == 0 && c.g * c.a == 0 && c.b * c.a == 0)
        return plan;
    if (blend.destination != BlendFactor::InverseSourceAlpha || c.a != 1.0f)
        return std::nullopt;
    plan.repaint = target.solid == c ? PredictedPass::Repaint::Dirty : PredictedPass::Repaint::Whole;
    return plan;
}

std::optional<ScreenRect> ProjectedBounds(const Vector3& low, const Vector3& high, const Matrix& toClip, int width,
                                          int height)
{
    float left = 1e30f, top = 1e30f, right = -1e30f, bottom = -1e30f;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 p = toClip.g * glm::vec4(corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                                                 corner & 4 ? high.z : low.z, 1.0f);
        // A corner behind the eye projects nowhere sensible: assume the whole target.
        if (p.w <= 1e-6f)
            return std::nullopt;
        const float x = (p.x / p.w + 1.0f) * 0.5f * static_cast<float>(width);
        const float y = (1.0f - p.y / p.w) * 0.5f * static_cast<float>(height);
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    // A pixel more on every side covers rounding and edge rules.
    const int x0 = static_cast<int>(std::floor(left)) - 1;
    const int y0 = static_cast<int>(std::floor(top)) - 1;
    return ScreenRect{x0, y0, static_cast<int>(std::ceil(right)) + 1 - x0, static_cast<int>(std::ceil(bottom)) + 1 - y0};
}
