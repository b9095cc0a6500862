#include "render/FadingFrame.h"

#include "render/GraphicsDevice.h"
#include "render/RenderContext.h"
#include "render/Sprites.h"

void PresentFadingFrame(const RenderContext& render, const std::function<void()>& drawScene, int fade)
{
    GraphicsDevice& device = render.device;
    device.Clear(true, true, Sprites::OpaqueWhite, 1.0f);
    drawScene();
    Sprites::DrawWhiteOverlayAlone(render, fade);
    device.Present();
}
