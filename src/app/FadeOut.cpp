#include "app/FadeOut.h"

#include "app/SceneManager.h"

bool FadeOutAndChange(int& fade, SceneManager& scenes, SceneId next, FadeChange when)
{
    if (when == FadeChange::OnOpaqueFrame || fade < FadeOpaque) {
        fade += FadeStep;
        if (fade < FadeOpaque || when == FadeChange::FrameAfterOpaque)
            return false;
    }
    fade = FadeOpaque;
    scenes.RequestChange(next);
    return true;
}
