// content-preview RUNTIME_DIR OUTPUT_DIR [PICTURE.png ...]
// Draws the game's pieces close up with the game's own renderer, each by its
// own draw (OUTPUT_DIR/contact-sheet-models.png), and lays the given 1280 × 720
// pictures (the scenes' own screenshots, taken through the harness) and it on
// one sheet at half size (OUTPUT_DIR/contact-sheet.png). Runs off-screen: no
// display is needed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "assets/AssetFiles.h"
#include "formats/ImageFile.h"
#include "game/Block.h"
#include "game/CellShard.h"
#include "game/FlameBlock.h"
#include "game/Player.h"
#include "main/GameContext.h"
#include "platform/Application.h"
#include "render/Camera.h"
#include "render/GraphicsDevice.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Texture.h"
#include "render/TextureCache.h"

namespace {

constexpr int screenWidth = Application::ScreenWidth;
constexpr int screenHeight = Application::ScreenHeight;

Vector3 Cell(int x, int y, int z) { return {50.0f * x + 25.0f, 50.0f * y + 25.0f, 50.0f * z + 25.0f}; }

// The pieces close up, each drawn by its own draw: the three block kinds and
// the hard block's light armour of the game-over look, the player from the
// front, the launch marker, and a landed block breaking into its shards.
void ModelsView(const RenderContext& render)
{
    GraphicsDevice& device = render.device;
    ModelShader& model = render.shaders.modelShader;
    Camera camera;
    camera.LookAt(device, Matrix::Identity(), {225.0f, 190.0f, -40.0f}, {225.0f, 20.0f, 135.0f}, {0.0f, 1.0f, 0.0f});
    // The game's own far plane, so the whole sky shows.
    camera.projection = CameraProjection(device, Camera::OrbitFarPlane);
    device.SetTransform(TransformState::Projection, camera.projection);
    model.SetCamera(camera.view, camera.projection);
    model.SetLight(device.GetLight().direction, device.GetLight().diffuse);
    SkySphere sky;
    sky.Draw(render, 1);
    model.SetLighting(false);
    model.SetWorld(sky.transform->world);
    model.DrawGlow(render.meshes.Get(ModelFile::StageBoard(1)), 1.0f);
    model.SetLighting(true);
    const int kinds[3] = {BlockKind::White, BlockKind::Black, BlockKind::HardBlack};
    for (int i = 0; i < 3; ++i)
        Block({2 + i, 0, 3}, kinds[i]).Draw(render);
    Block({5, 0, 3}, BlockKind::HardBlack).DrawInverted(render);

    Player player;
    player.transform.position = Cell(2, 0, 1);
    player.transform.rotation = Matrix::RotationY(3.14159265f * 1.15f);
    player.transform.UpdateWorld();
    player.Draw(render);
    FlameBlock marker;
    marker.visible = true;
    marker.transform.position = Cell(4, 0, 1);
    marker.transform.UpdateWorld();
    marker.Draw(render);

    ShardArray shards;
    LaunchShards(shards, Matrix::Translation(Cell(5, 0, 1)));
    for (int i = 0; i < 4; ++i)
        StepShards(shards);
    DrawShards(device, shards, render.textures.Get(ImageFile::ShardFace));
}

struct View {
    const char* name;
    std::function<void(const RenderContext&)> draw;
};

std::vector<View> Views()
{
    return {{"models", ModelsView}};
}

bool SavePng(const std::filesystem::path& path, int width, int height, const std::vector<std::uint8_t>& rgba)
{
    return stbi_write_png(path.string().c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

// The sheet holds the pictures three to a row at half size.
class ContactSheet {
public:
    static constexpr int Columns = 3;

    explicit ContactSheet(int pictures)
        : width(Columns * screenWidth / 2), height((pictures + Columns - 1) / Columns * screenHeight / 2),
          pixels(static_cast<std::size_t>(width) * height * 4, 255)
    {
    }

    // The next place on the sheet gets a 1280 × 720 RGBA picture, each pixel the mean of four.
    void Add(const std::uint8_t* picture)
    {
        const int left = placed % Columns * screenWidth / 2;
        const int top = placed / Columns * screenHeight / 2;
        ++placed;
        for (int y = 0; y < screenHeight / 2; ++y) {
            for (int x = 0; x < screenWidth / 2; ++x) {
                for (int c = 0; c < 4; ++c) {
                    int sum = 0;
                    for (int dy = 0; dy < 2; ++dy) {
                        for (int dx = 0; dx < 2; ++dx)
                            sum += picture[((static_cast<std::size_t>(2 * y + dy)) * screenWidth + 2 * x + dx) * 4 + c];
                    }
                    pixels[((static_cast<std::size_t>(top + y)) * width + left + x) * 4 + c] =
                        static_cast<std::uint8_t>((sum + 2) / 4);
                }
            }
        }
    }

    bool Save(const std::filesystem::path& path) const { return SavePng(path, width, height, pixels); }

private:
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
    int placed = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: content-preview RUNTIME_DIR OUTPUT_DIR [PICTURE.png ...]\n");
        return 2;
    }
    const std::filesystem::path output = std::filesystem::absolute(argv[2]);
    const std::vector<View> views = Views();
    ContactSheet sheet(argc - 3 + static_cast<int>(views.size()));
    for (int i = 3; i < argc; ++i) {
        std::string error;
        const std::optional<Image> picture = ReadImageFile(argv[i], error);
        if (!picture || picture->width != screenWidth || picture->height != screenHeight) {
            std::fprintf(stderr, "content-preview: %s is not a %d × %d picture\n", argv[i], screenWidth, screenHeight);
            return 1;
        }
        sheet.Add(picture->rgba.data());
    }

    std::error_code failure;
    std::filesystem::create_directories(output, failure);
    std::filesystem::current_path(argv[1], failure);
    if (failure) {
        std::fprintf(stderr, "content-preview: cannot enter %s\n", argv[1]);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    GameContext context;
    Application& application = context.application;
    // The full-screen question gets its default; any other message (a model
    // that does not load) is passed on.
    application.SetMessageResponder([](const MessageRequest& request) {
        if (request.buttons == MessageButtons::Ok)
            std::fprintf(stderr, "content-preview: %s: %s\n", request.caption.c_str(), request.text.c_str());
        return DefaultAnswer(request);
    });
    std::string error;
    GraphicsDevice& device = context.device;
    if (!context.Start(true, error)) {
        std::fprintf(stderr, "content-preview: %s\n", error.c_str());
        return 1;
    }

    int written = 0;
    for (const View& view : views) {
        device.SetDefaultStates();
        device.Clear(true, true, 0xFFFFFFFF, 1.0f);
        view.draw(context.Render());
        std::vector<std::uint8_t> pixels;
        device.CaptureNextPresent(&pixels);
        device.Present();
        if (pixels.size() != static_cast<std::size_t>(screenWidth) * screenHeight * 4) {
            std::fprintf(stderr, "content-preview: no picture for %s\n", view.name);
            return 1;
        }
        written += SavePng(output / (std::string("contact-sheet-") + view.name + ".png"), screenWidth, screenHeight,
                           pixels);
        sheet.Add(pixels.data());
    }
    written += sheet.Save(output / "contact-sheet.png");

    std::printf("content-preview: %d pictures in %s\n", written, output.string().c_str());
    return written == static_cast<int>(views.size()) + 1 ? 0 : 1;
}
