#include "render/FadingFrame.h"

#include "render/GraphicsDevice.h"
#include "render/Sprites.h"

void PresentFadingFrame(const std::function<void()>& drawScene, int fade)
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    device.Clear(true, true, Sprites::OpaqueWhite, 1.0f);
    device.BeginScene();
    drawScene();
    Sprites::DrawWhiteOverlayAlone(fade);
    device.EndScene();
    device.Present();
}
