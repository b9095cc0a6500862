// Times a frame made of the game's passes at 1280 × 720 on whatever renderer is
// there (the software one on machines without a GPU): the 3D world into the
// floating-point scene target, the glow of flipping blocks through the bright
// filter, the blur chain, the scene copy, three additive composites and a
// 30-sprite HUD. Prints the median frame time, its ratio to the 16 ms budget
// and where the time goes, each pass also as a multiple of the floor: the
// cheapest full-screen pass this renderer can do (an untextured quad), beside
// the device's copy of a target (a framebuffer blit), timed in the same run. No frame can cost less than the
// full-screen passes it needs. Run it from the runtime directory (it draws the
// game's own models); without a display it renders off-screen. Last, what
// two levers would save: the board restored from a kept colour and depth image
// against drawing it, and the blocks' draws without their pixels.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <epoxy/gl.h>

#include "Figures.h"
#include "main/GameContext.h"
#include "render/Camera.h"
#include "render/ColorVertex.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/ShaderManager.h"
#include "render/SkySphere.h"
#include "render/Texture.h"
#include "render/TextureCache.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Frames = 120;
constexpr int BlockCount = 40;
constexpr int HudSprites = 30;


class FrameBench {
public:
    explicit FrameBench(GameContext& gameContext)
        : context(gameContext), camera(Camera::Create(gameContext.device)), glowSource(gameContext.device)
    {
    }

    // One frame; glowing: blocks are turning over, so the glow passes do real work.
    void Frame(bool glowing)
    {
        GraphicsDevice& device = context.device;
        ShaderManager& shaders = context.Shaders();
        ModelShader& model = shaders.modelShader;
        Effect& fx = *model.effect;

        Stage("clear", [&] { device.Clear(true, true, 0xFFFFFFFF, 1.0f); });
        Surface* saved = device.GetRenderTarget();
        Stage("sky", [&] {
            camera->UpdateOrbit(device);
            device.SetRenderTarget(shaders.sceneTarget->GetSurface());
            fx.SetMatrix("g_V", camera->view);
            fx.SetMatrix("g_P", camera->projection);
            const Vector3 eye = Matrix::Inverse(camera->view).TranslationRow();
            fx.SetValue("g_CamPos", &eye.x, 3);
            sky.Draw(context.Render(), 1);
        });
        Stage("board, player", [&] {
            fx.SetInt("g_LightEnable", 0);
            model.SetWorld(sky.transform->world);
            model.DrawGlow(context.meshes.Get("Resource/Data/Stage/Stage1.x"), 1.0f);
            fx.SetInt("g_LightEnable", 1);
            Transform player;
            player.position = {25, 25, 25};
            player.UpdateWorld();
            model.SetWorld(player.world);
            model.DrawToon(context.meshes.Get("Resource/Data/Player/Model.x"));
        });
        Stage("glow source", [&] { GlowPasses(glowing); });
        Stage("blocks", [&] {
            const char* meshes[] = {"Resource/Data/WhiteBlock/Model.x", "Resource/Data/BlackBlock/Model.x",
                                    "Resource/Data/BlackBlock/HardBlack.x"};
            for (int i = 0; i < BlockCount; ++i) {
                Transform block;
                block.position = {50.0f * (i % 10) + 25, 25, 50.0f * (i / 10) + 125};
                block.UpdateWorld();
                model.SetWorld(block.world);
                model.DrawGlow(context.meshes.Get(meshes[i % 3]), 1.0f);
            }
            device.SetRenderTarget(saved);
        });
        Stage("scene copy", [&] {
            shaders.filterShader.DrawNormal(*shaders.sceneTarget, 1280, 720, Color(1.0f), 1.0f);
        });
        Stage("blur chain", [&] { shaders.filterShader.Blur(*shaders.glowTarget, *shaders.blur); });
        Stage("composites", [&] {
            device.SetBlendOperation(BlendOperation::Add);
            device.SetSourceBlend(BlendFactor::SourceAlpha);
            device.SetDestinationBlend(BlendFactor::One);
            for (const BlurTexture::Level& level : shaders.blur->levels)
                shaders.filterShader.DrawNormal(*level.b, 1280, 720, Color(1.0f), 1.0f);
            device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
        });
        Stage("HUD", [&] {
            const auto white = context.textures.Get("Resource/Texture/White.png");
            const auto board = context.textures.Get("Resource/Texture/ScoreBoard.png");
            const auto digit = context.textures.Get("Resource/Texture/Number_Symbol/0_W.png");
            const Rect screen{0, 0, 1280, 720};
            device.BeginSprite();
            device.DrawSprite(white, &screen, nullptr, nullptr, 0x00FFFFFF);
            for (int i = 1; i < HudSprites; ++i) {
                const Matrix at = Matrix::Translation(40.0f * i, 65, 0);
                device.DrawSprite(i % 5 ? digit : board, nullptr, &at, nullptr, 0xFFFFFFFF);
            }
            device.EndSprite();
        });
        Stage("present", [&] {
            device.Present();
            device.WaitForGpu();
        });
    }

    // The floor passes over the whole 1280 × 720 target, each waited for.
    void MeasureFloor()
    {
        GraphicsDevice& device = context.device;
        ShaderManager& shaders = context.Shaders();
        const auto untextured = [&] {
            const ColorVertex corners[4] = {{{-1, -1, 0.5f}, 0xFF808080}, {{1, -1, 0.5f}, 0xFF808080},
                                            {{1, 1, 0.5f}, 0xFF808080}, {{-1, 1, 0.5f}, 0xFF808080}};
            device.SetTransform(TransformState::World, Matrix::Identity());
            device.SetTransform(TransformState::View, Matrix::Identity());
            device.SetTransform(TransformState::Projection, Matrix::Identity());
            device.SetTexture(nullptr);
            device.SetLighting(false);
            device.SetDepthTest(false);
            // Opaque: blending would read the target too.
            device.SetSourceBlend(BlendFactor::One);
            device.SetDestinationBlend(BlendFactor::Zero);
            device.DrawFan(corners, 4, "floor");
            device.SetSourceBlend(BlendFactor::SourceAlpha);
            device.SetDestinationBlend(BlendFactor::InverseSourceAlpha);
            device.SetDepthTest(true);
            device.SetLighting(true);
        };
        Surface* saved = device.GetRenderTarget();
        floor = TimePass(untextured);
        floorRows.push_back({"untextured quad, 8-bit back buffer", floor});
        // An untinted same-size copy is a blit: the cheapest way to copy a picture.
        floorRows.push_back({"copy of a float target (blit)", TimePass([&] {
                                 shaders.filterShader.DrawNormal(*shaders.sceneTarget, 1280, 720, Color(1.0f), 1.0f);
                             })});
        device.SetRenderTarget(shaders.sceneTarget->GetSurface());
        floorRows.push_back({"untextured quad, half-float target", TimePass(untextured)});
        device.SetRenderTarget(saved);
        std::printf("The floor: the cheapest full-screen passes, 1280 × 720\n");
        std::printf("  %-36s %8s %8s\n", "pass", "wall ms", "x floor");
        for (const auto& [name, ms] : floorRows)
            std::printf("  %-36s %8.2f %8.2f\n", name.c_str(), ms, ms / floor);
    }

    // The median of a pass drawn Frames times, each waited for.
    double TimePass(const std::function<void()>& pass)
    {
        std::vector<double> samples;
        for (int i = 0; i < Frames; ++i) {
            context.device.WaitForGpu();
            const auto start = Clock::now();
            pass();
            context.device.WaitForGpu();
            samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        return Percentile(samples, 0.5);
    }

    // The device shares one depth buffer between its targets, so a kept image
    // would need a colour and depth pair of its own: timed here with GL's own
    // framebuffers, copied onto another pair as a restore would.
    double TimeKeptImageRestore()
    {
        GLint drawn = 0;
        GLint read = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawn);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        GLuint framebuffers[2] = {};
        GLuint colours[2] = {};
        GLuint depths[2] = {};
        glGenFramebuffers(2, framebuffers);
        glGenTextures(2, colours);
        glGenRenderbuffers(2, depths);
        for (int i = 0; i < 2; ++i) {
            glBindTexture(GL_TEXTURE_2D, colours[i]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1280, 720, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            glBindRenderbuffer(GL_RENDERBUFFER, depths[i]);
            glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, 1280, 720);
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colours[i], 0);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depths[i]);
            glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[0]);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[1]);
        const double ms = TimePass([] {
            glBlitFramebuffer(0, 0, 1280, 720, 0, 0, 1280, 720, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        });
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawn));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
        glDeleteFramebuffers(2, framebuffers);
        glDeleteTextures(2, colours);
        glDeleteRenderbuffers(2, depths);
        return ms;
    }

    // Run after a frame has set the camera.
    void MeasureLevers()
    {
        ModelShader& model = context.Shaders().modelShader;
        const auto board = context.meshes.Get("Resource/Data/Stage/Stage1.x");
        const auto block = context.meshes.Get("Resource/Data/WhiteBlock/Model.x");
        std::vector<std::pair<std::string, double>> rows;
        rows.push_back({"board, depth primed and drawn", TimePass([&] {
                            model.SetLighting(false);
                            model.SetWorld(sky.transform->world);
                            model.PrimeDepth(board);
                            model.DrawGlow(board, 1.0f);
                            model.SetLighting(true);
                        })});
        rows.push_back({"board restored: colour and depth blit", TimeKeptImageRestore()});
        rows.push_back({"40 blocks, each shrunk to a point", TimePass([&] {
                            for (int i = 0; i < BlockCount; ++i) {
                                model.SetWorld(Matrix::Scaling(0.001f, 0.001f, 0.001f) *
                                               Matrix::Translation(50.0f * (i % 10) + 25, 25, 50.0f * (i / 10) + 125));
                                model.DrawGlow(block, 1.0f);
                            }
                        })});
        std::printf("Levers, 8-bit back buffer, 1280 × 720\n");
        std::printf("  %-40s %8s %8s\n", "pass", "wall ms", "x floor");
        for (const auto& [name, ms] : rows)
            std::printf("  %-40s %8.2f %8.2f\n", name.c_str(), ms, ms / floor);
    }

    void Report(const char* title) const
    {
        double total = 0;
        double cpu = 0;
        for (const auto& name : order) {
            total += Percentile(stageTimes.at(name), 0.5);
            cpu += Percentile(cpuTimes.at(name), 0.5);
        }
        std::printf("%s: median frame %.2f ms = %.2f of the 16 ms budget (CPU %.2f ms over all threads)\n", title,
                    total, total / FrameBudgetMs, cpu);
        std::printf("  %-14s %8s %8s %8s\n", "stage", "wall ms", "x floor", "CPU ms");
        for (const auto& name : order) {
            const double wall = Percentile(stageTimes.at(name), 0.5);
            std::printf("  %-14s %8.2f %8.2f %8.2f\n", name.c_str(), wall, wall / floor,
                        Percentile(cpuTimes.at(name), 0.5));
        }
    }

    void ClearTimes()
    {
        stageTimes.clear();
        cpuTimes.clear();
        order.clear();
    }

private:
    // Times one stage of the frame, waiting for the renderer so the time lands
    // where it is spent: wall time, and the CPU time of every thread of the
    // process (the software renderer's too), which a busy machine disturbs less.
    void Stage(const std::string& name, const std::function<void()>& work)
    {
        if (!splitStages) {
            work();
            return;
        }
        const auto start = Clock::now();
        const double cpuStart = CpuMilliseconds();
        work();
        context.device.WaitForGpu();
        if (!stageTimes.count(name))
            order.push_back(name);
        stageTimes[name].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        cpuTimes[name].push_back(CpuMilliseconds() - cpuStart);
    }

    static double CpuMilliseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    void GlowPasses(bool glowing)
    {
        GraphicsDevice& device = context.device;
        ShaderManager& shaders = context.Shaders();
        Effect& fx = *shaders.modelShader.effect;
        Surface* saved = device.GetRenderTarget();
        device.SetRenderTarget(glowSource.GetSurface());
        device.Clear(true, false, 0xFFFFFFFF, 1.0f);
        if (glowing) {
            const auto mesh = context.meshes.Get("Resource/Data/WhiteBlock/Model.x");
            for (int i = 0; i < 3; ++i) {
                shaders.modelShader.SetWorld(Matrix::Scaling(1.1f, 1.1f, 1.1f) *
                                             Matrix::Translation(75.0f + 50 * i, 75, 175));
                fx.SetVector("g_MeshColor", Color(1.0f));
                fx.SetFloat("g_MeshPow", 1.8f);
                fx.SetTechnique("Color");
                fx.Begin();
                fx.BeginPass(0);
                for (int s = 0; s < mesh->SubsetCount(); ++s) {
                    fx.CommitChanges();
                    device.DrawSubset(*mesh, s);
                }
                fx.EndPass();
                fx.End();
            }
        }
        device.SetRenderTarget(shaders.glowTarget->GetSurface());
        shaders.filterShader.DrawTechnique("BrightFiltering", glowSource);
        device.SetRenderTarget(saved);
    }

    GameContext& context;
    std::unique_ptr<Camera> camera;
    SkySphere sky;
    Texture glowSource;
    std::map<std::string, std::vector<double>> stageTimes;
    std::map<std::string, std::vector<double>> cpuTimes;
    std::vector<std::string> order;
    double floor = 1.0;
    std::vector<std::pair<std::string, double>> floorRows;

public:
    // Whether each stage waits for the renderer to be timed on its own; a
    // whole frame without those waits lets the renderer's threads overlap the
    // next stage's calls, as in the game.
    bool splitStages = true;

    void MakeTargets() { glowSource.CreateRenderTarget(1280, 720, TextureFormat::A16B16G16R16F, "glowSource"); }
};

}  // namespace

int main()
{
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    GameContext context;
    context.application.SetMessageResponder(DefaultAnswer);
    std::string error;
    if (!context.Start(true, error)) {
        std::fprintf(stderr, "render_frame: %s\n", error.c_str());
        return 1;
    }
    {
        FrameBench bench(context);
        bench.MakeTargets();
        bench.MeasureFloor();
        for (bool glowing : {false, true}) {
            for (int i = 0; i < 10; ++i)
                bench.Frame(glowing);
            bench.ClearTimes();
            for (int i = 0; i < Frames; ++i)
                bench.Frame(glowing);
            bench.Report(glowing ? "blocks turning over (glow on)" : "quiet frame (no glow)");
        }
        bench.MeasureLevers();
        bench.splitStages = false;
        for (bool glowing : {false, true}) {
            std::vector<double> frames;
            for (int i = 0; i < Frames; ++i) {
                const auto start = Clock::now();
                bench.Frame(glowing);
                frames.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
            const double median = Percentile(frames, 0.5);
            std::printf("%s, stages not waited for: median frame %.2f ms = %.2f of the budget\n",
                        glowing ? "glow on" : "no glow", median, median / FrameBudgetMs);
        }
    }
    return 0;
}
