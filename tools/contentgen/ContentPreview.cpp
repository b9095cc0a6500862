// content-preview RUNTIME_DIR OUTPUT_DIR [PICTURE.png ...]
// Draws the generated content with the game's own renderer, the way and at the
// places the scenes draw it, and writes one 1280 × 720 picture per view
// (OUTPUT_DIR/contact-sheet-NAME.png) plus all of them on one sheet
// (OUTPUT_DIR/contact-sheet.png), after the given 1280 × 720 pictures (the
// game's own screenshots, taken through the harness). Runs off-screen: no
// display is needed. The scenes that exist are screenshotted, not drawn here.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <stb_image.h>
#include <stb_image_write.h>

#include "game/Block.h"
#include "game/CellShard.h"
#include "game/FlameBlock.h"
#include "game/Player.h"
#include "math/Matrix.h"
#include "platform/Application.h"
#include "render/Camera.h"
#include "render/DrawQuadXZ.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Texture.h"
#include "render/TextureCache.h"

namespace {

constexpr float quarterTurn = 0.78539816f;
constexpr int screenWidth = Application::ScreenWidth;
constexpr int screenHeight = Application::ScreenHeight;

Effect* ModelEffect() { return ShaderManager::Instance().modelShader.effect.get(); }

// The per-frame model parameters every scene sets from the device's camera.
void ShareCamera()
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    Effect* effect = ModelEffect();
    if (!effect)
        return;
    const Matrix view = device.GetTransform(TransformState::View);
    effect->SetMatrix("g_V", view);
    effect->SetMatrix("g_P", device.GetTransform(TransformState::Projection));
    const Vector3 eye = Matrix::Inverse(view).TranslationRow();
    effect->SetValue("g_CamPos", &eye.x, 3);
    const Light& light = device.GetLight();
    effect->SetValue("g_LightDir", &light.direction.x, 3);
    effect->SetValue("g_LightColor", &light.diffuse.r, 4);
}

void LookAt(const Vector3& eye, const Vector3& target, const Vector3& up = {0.0f, 1.0f, 0.0f})
{
    Camera camera;
    camera.LookAt(Matrix::Identity(), eye, target, up);
    ShareCamera();
}

enum class Look { Toon, Glow, Unlit };

void Model(const std::string& name, const Matrix& world, Look look = Look::Glow)
{
    ModelShader& shader = ShaderManager::Instance().modelShader;
    if (!shader.effect)
        return;
    shader.effect->SetInt("g_LightEnable", look == Look::Unlit ? 0 : 1);
    shader.SetWorld(world);
    const auto mesh = MeshCache::Instance().Get(name);
    if (look == Look::Toon)
        shader.DrawToon(mesh);
    else
        shader.DrawGlow(mesh, 1.0f);
}

Vector3 Cell(int x, int y, int z) { return {50.0f * x + 25.0f, 50.0f * y + 25.0f, 50.0f * z + 25.0f}; }

const char* BlockModel(int kind)
{
    return kind == 1 ? "Resource/Data/WhiteBlock/Model.x"
           : kind == 2 ? "Resource/Data/BlackBlock/Model.x"
                       : "Resource/Data/BlackBlock/HardBlack.x";
}

// A sprite as the scenes place them: transform, then the image's point
// `centre` lands on the transform's origin.
void Sprite(const std::string& name, const Matrix& transform, Vector3 centre, float alpha = 1.0f)
{
    const auto texture = TextureCache::Instance().Get(name);
    const auto a = static_cast<std::uint32_t>(std::lround(alpha * 255.0f));
    GraphicsDevice::Instance().DrawSprite(texture, &texture->sourceRect, &transform, &centre, (a << 24) | 0xFFFFFF);
}

Vector3 Centre(const std::string& name)
{
    const auto texture = TextureCache::Instance().Get(name);
    return {static_cast<float>(texture->imageInfo.width / 2), static_cast<float>(texture->imageInfo.height / 2), 0.0f};
}

void Centred(const std::string& name, float x, float y, float alpha = 1.0f)
{
    Sprite(name, Matrix::Translation(x, y, 0.0f), Centre(name), alpha);
}

// With a group chosen (1..3) the group models stand in their triangle with
// that group's model in front; with 0 they circle on the carousel.
void TitleView(int chosenGroup, const std::function<void()>& overlay)
{
    LookAt({0.0f, 0.0f, -60.0f}, {0.0f, 0.0f, 0.0f});
    const Matrix turn = Matrix::RotationYawPitchRoll(quarterTurn, quarterTurn, quarterTurn);
    Model("Resource/Data/Title/Model1.x", turn * Matrix::RotationYawPitchRoll(0.3f, 0.0f, 0.0f));
    const Vector3 carousel[3] = {{0.0f, -3.0f, -12.0f}, {10.0f, -3.0f, 10.0f}, {-10.0f, -3.0f, 10.0f}};
    const Vector3 slots[3] = {{0.0f, -3.0f, -40.0f}, {10.0f, -3.0f, -10.0f}, {-10.0f, -3.0f, -10.0f}};
    const bool difficulty = chosenGroup != 0;
    for (int k = 0; k < 3; ++k) {
        const Vector3 at = difficulty ? slots[(k - chosenGroup + 4) % 3] : carousel[k];
        const Matrix spin = difficulty ? Matrix::Identity() : Matrix::RotationY(0.5f + k);
        Model("Resource/Data/Title/Stage" + std::to_string(k + 1) + ".x",
              spin * turn * Matrix::Translation(at) * Matrix::RotationY(difficulty ? 0.0f : 0.35f));
    }
    GraphicsDevice& device = GraphicsDevice::Instance();
    device.BeginSprite();
    const std::string title = "Resource/Data/Title/Title.png";
    const auto h = static_cast<float>(TextureCache::Instance().Get(title)->imageInfo.height);
    Sprite(title, Matrix::Scaling(1.8f, 1.8f, 1.8f) * Matrix::Translation(640.0f, h - 50.0f, 0.0f),
           {180.0f, std::floor(h / 2.0f), 0.0f});
    overlay();
    device.EndSprite();
}

void DifficultyView(int group, const std::string& label, float bob)
{
    TitleView(group, [&] {
        Centred(label, 640.0f, 625.0f);
        Centred("Resource/Texture/ArrowSH_R.png", 640.0f + 225.0f + bob, 625.0f);
        Centred("Resource/Texture/ArrowSH_L.png", 640.0f - 225.0f - bob, 625.0f);
    });
}

void SelectView(int group, int stage, int score)
{
    LookAt({-500.0f, 700.0f, -300.0f}, {-275.0f, 200.0f, 0.0f});
    const Matrix cube = Matrix::RotationY(0.4f);
    Model("Resource/Data/Stage/Stage" + std::to_string(group) + ".x", cube, Look::Unlit);
    const int blocks[][3] = {{0, 0, 1}, {1, 0, 2}, {2, 0, 2}, {3, 0, 3}, {4, 0, 1}, {4, 4, 2},
                             {5, 4, 3}, {6, 4, 1}, {9, 9, 1}, {8, 9, 2}, {2, 7, 3}, {7, 2, 1}};
    for (const auto& b : blocks)
        Model(BlockModel(b[2]), Matrix::Translation(50.0f * b[0] - 225.0f, 275.0f, 50.0f * b[1] - 225.0f) * cube,
              Look::Toon);

    GraphicsDevice& device = GraphicsDevice::Instance();
    device.BeginSprite();
    Sprite("Resource/Texture/Select_Back" + std::to_string(group) + "_A.png", Matrix::Translation(40.0f, 80.0f, 0.0f),
           {0.0f, 0.0f, 0.0f});
    Sprite("Resource/Texture/Select_String3.png", Matrix::Translation(40.0f, 80.0f, 0.0f), {0.0f, 0.0f, 0.0f});
    const Matrix grow = Matrix::Scaling(1.5f, 1.5f, 1.5f);
    const std::string number = "Resource/Texture/Number_Symbol/" + std::to_string(stage) + "_W.png";
    Sprite(number, grow * Matrix::Translation(430.0f, 125.0f, 0.0f), Centre(number));
    if (score != 0) {
        const std::string digits = std::to_string(score);
        const Vector3 centre = Centre("Resource/Texture/Number_Symbol/0_W2.png");
        float previous = 0.0f;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            const std::string name = std::string("Resource/Texture/Number_Symbol/") + digits[i] + "_W2.png";
            Sprite(name, grow * Matrix::Translation(110.0f + 1.7f * i * previous, 450.0f, 0.0f), centre);
            previous = static_cast<float>(TextureCache::Instance().Get(name)->imageInfo.width);
        }
        const float w1 = static_cast<float>(TextureCache::Instance().Get("Resource/Texture/Number_Symbol/0_W.png")->imageInfo.width);
        const std::string shot = "Resource/Texture/Shot.png";
        Sprite(shot, grow * Matrix::Translation(110.0f + w1 * 1.7f * digits.size(), 450.0f, 0.0f),
               {0.0f, Centre(shot).y, 0.0f});
    } else {
        const std::string label = "Resource/Texture/NotCleared.png";
        Centred(label, Centre(label).x + 30.0f, 450.0f);
    }
    Centred("Resource/Texture/ArrowSH_R.png", 1230.0f + 12.0f, 360.0f);
    Centred("Resource/Texture/ArrowSH_L.png", 525.0f - 12.0f, 360.0f);
    device.EndSprite();
}

// The pieces close up, each drawn by its own draw: the three block kinds and
// the hard block's light armour of the game-over look, the player from the
// front, the launch marker, and a landed block breaking into its shards.
void ModelsView()
{
    LookAt({225.0f, 190.0f, -40.0f}, {225.0f, 20.0f, 135.0f});
    // The game's own far plane, so the whole sky shows.
    GraphicsDevice::Instance().SetTransform(TransformState::Projection, CameraProjection(Camera::OrbitFarPlane));
    ShareCamera();
    SkySphere sky;
    sky.Draw(1);
    Model("Resource/Data/Stage/Stage1.x", Matrix::Translation(250.0f, -250.0f, 250.0f), Look::Unlit);
    ShaderManager::Instance().modelShader.SetLighting(true);
    const int kinds[3] = {BlockKind::White, BlockKind::Black, BlockKind::HardBlack};
    for (int i = 0; i < 3; ++i)
        Block({2 + i, 0, 3}, kinds[i]).Draw();
    Block({5, 0, 3}, BlockKind::HardBlack).DrawInverted();

    Player player;
    player.transform.position = Cell(2, 0, 1);
    player.transform.rotation = Matrix::RotationY(3.14159265f * 1.15f);
    player.transform.UpdateWorld();
    player.Draw();
    FlameBlock marker;
    marker.visible = 1;
    marker.transform.position = Cell(4, 0, 1);
    marker.transform.UpdateWorld();
    marker.Draw();

    ShardArray shards;
    LaunchShards(shards, Matrix::Translation(Cell(5, 0, 1)));
    for (int i = 0; i < 4; ++i)
        StepShards(shards);
    DrawShards(shards, TextureCache::Instance().Get("Resource/Data/WhiteBlock/Block_W_Cell.png"));
}

// The stage editor's floor of tiles seen from straight above, its cursor and a few blocks.
void EditorView()
{
    GraphicsDevice& device = GraphicsDevice::Instance();
    auto camera = Camera::Create();
    camera->view = Matrix::LookAtLH({225.0f, 700.0f, 225.0f}, {225.0f, 0.0f, 225.0f}, {0.0f, 0.0f, 1.0f});
    device.SetTransform(TransformState::View, camera->view);
    device.SetTransform(TransformState::Projection, camera->projection);
    ShareCamera();
    device.SetLighting(false);
    const auto grid = TextureCache::Instance().Get("Resource/Texture/StageGrid_2.png");
    const auto target = TextureCache::Instance().Get("Resource/Texture/Target.png");
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 10; ++j) {
            device.SetTexture(i == 3 && j == 6 ? target.get() : grid.get());
            DrawQuadXZ({0, 0, 50, 50}, Matrix::Translation(50.0f * j, 0.0f, 50.0f * i), {}, 255.0f);
        }
    }
    device.SetTexture(nullptr);
    const int blocks[][3] = {{1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {7, 7, 1}, {8, 7, 2}, {4, 5, 3}};
    for (const auto& b : blocks)
        Model(BlockModel(b[2]), Matrix::Translation(Cell(b[0], 0, b[1])));
}

struct View {
    const char* name;
    std::function<void()> draw;
};

std::vector<View> Views()
{
    const float bob = 12.0f;
    return {
        {"models", ModelsView},
        {"title-prompt",
         [] {
             TitleView(0, [] {
                 Centred("Resource/Texture/PressEnter.png", 640.0f, 600.0f, 0.6f);
                 Centred("Resource/Texture/PressEnter_W.png", 640.0f, 600.0f, 0.4f);
             });
         }},
        {"title-menu",
         [bob] {
             TitleView(0, [bob] {
                 Centred("Resource/Texture/GameStart.png", 640.0f, 600.0f);
                 Centred("Resource/Texture/ArrowSH_U.png", 640.0f, 540.0f - bob);
                 Centred("Resource/Texture/ArrowSH_D.png", 640.0f, 665.0f + bob);
             });
         }},
        {"title-reset",
         [bob] {
             TitleView(0, [bob] {
                 Centred("Resource/Texture/ScoreReset.png", 640.0f, 600.0f);
                 Centred("Resource/Texture/ArrowSH_U.png", 640.0f, 540.0f - bob);
                 Centred("Resource/Texture/ArrowSH_D.png", 640.0f, 665.0f + bob);
             });
         }},
        {"title-reset-done", [] { TitleView(0, [] { Centred("Resource/Texture/CompletedSR.png", 640.0f, 600.0f); }); }},
        {"title-normal", [bob] { DifficultyView(2, "Resource/Texture/Normal.png", bob); }},
        {"title-hard", [bob] { DifficultyView(3, "Resource/Texture/Hard.png", bob); }},
        {"select-easy", [] { SelectView(1, 3, 14); }},
        {"select-normal", [] { SelectView(2, 4, 0); }},
        {"select-hard", [] { SelectView(3, 6, 108); }},
        {"editor", EditorView},
    };
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
        int width = 0;
        int height = 0;
        int channels = 0;
        stbi_uc* picture = stbi_load(argv[i], &width, &height, &channels, STBI_rgb_alpha);
        if (!picture || width != screenWidth || height != screenHeight) {
            std::fprintf(stderr, "content-preview: %s is not a %d × %d picture\n", argv[i], screenWidth, screenHeight);
            stbi_image_free(picture);
            return 1;
        }
        sheet.Add(picture);
        stbi_image_free(picture);
    }

    std::error_code failure;
    std::filesystem::create_directories(output, failure);
    std::filesystem::current_path(argv[1], failure);
    if (failure) {
        std::fprintf(stderr, "content-preview: cannot enter %s\n", argv[1]);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    Application& application = Application::Instance();
    // The full-screen question gets its default; any other message (a model
    // that does not load) is passed on.
    application.SetMessageResponder([](const MessageRequest& request) {
        if (request.buttons == MessageButtons::Ok)
            std::fprintf(stderr, "content-preview: %s: %s\n", request.caption.c_str(), request.text.c_str());
        return DefaultAnswer(request);
    });
    std::string error;
    GraphicsDevice& device = GraphicsDevice::Instance();
    if (!application.Create(true, error) || !device.Initialize(application.GetWindow(), false, error)) {
        std::fprintf(stderr, "content-preview: %s\n", error.c_str());
        return 1;
    }

    int written = 0;
    for (const View& view : views) {
        device.SetDefaultStates();
        device.Clear(true, true, 0xFFFFFFFF, 1.0f);
        view.draw();
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

    ShaderManager::Reset();
    MeshCache::Reset();
    TextureCache::Reset();
    GraphicsDevice::Reset();
    Application::Reset();
    std::printf("content-preview: %d pictures in %s\n", written, output.string().c_str());
    return written == static_cast<int>(views.size()) + 1 ? 0 : 1;
}
