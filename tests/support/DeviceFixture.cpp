#include "support/DeviceFixture.h"

#include <cstdlib>
#include <filesystem>

#include <stb_image_write.h>

#include "platform/Application.h"

void DeviceFixture::StartDevice(bool withGl)
{
    if (withGl)
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    context = std::make_unique<GameContext>();
    context->application.SetMessageResponder([this](const MessageRequest& request) {
        messages.push_back(request);
        return DefaultAnswer(request);
    });
    std::string error;
    ASSERT_TRUE(context->Start(withGl, error)) << error;
    messages.clear();
    context->device.SetDrawLog(&draws);
}

void DeviceFixture::TearDown()
{
    context.reset();
}

std::vector<std::uint8_t> DeviceFixture::ReadBackBuffer()
{
    std::vector<std::uint8_t> pixels;
    GraphicsDevice& device = Device();
    device.CaptureNextPresent(&pixels);
    device.Present();
    return pixels;
}

std::uint32_t DeviceFixture::PixelAt(const std::vector<std::uint8_t>& pixels, int x, int y)
{
    const std::size_t at = (static_cast<std::size_t>(y) * Application::ScreenWidth + x) * 4;
    return pixels[at] | (pixels[at + 1] << 8) | (pixels[at + 2] << 16) | (static_cast<std::uint32_t>(pixels[at + 3]) << 24);
}

std::pair<int, int> DeviceFixture::ScreenOf(const Vector3& world)
{
    const GraphicsDevice& device = Device();
    const Vector3 ndc = TransformCoord(
        world, device.GetTransform(TransformState::View) * device.GetTransform(TransformState::Projection));
    return {static_cast<int>((ndc.x + 1) / 2 * static_cast<float>(device.BackBufferWidth())),
            static_cast<int>((1 - ndc.y) / 2 * static_cast<float>(device.BackBufferHeight()))};
}

void WritePicture(const std::string& path, const std::vector<std::uint8_t>& pixels)
{
    stbi_write_png(path.c_str(), Application::ScreenWidth, Application::ScreenHeight, 4, pixels.data(),
                   Application::ScreenWidth * 4);
}

void WritePng(const std::string& path, int width, int height, std::uint32_t (*rgbaAt)(int x, int y))
{
    if (const auto folder = std::filesystem::path(path).parent_path(); !folder.empty())
        std::filesystem::create_directories(folder);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = rgbaAt(x, y);
    }
    stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
}
