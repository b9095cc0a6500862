#include "scenes/SceneFixture.h"

#include "app/SceneManager.h"
#include "main/FrameLoop.h"
#include "render/XFiles.h"
#include "stage/ResultFile.h"

void SceneFixture::SetUp()
{
    GameFixture::SetUp();
    for (const char* model : {"Resource/Data/Title/Model1.x", "Resource/Data/Title/Stage1.x",
                              "Resource/Data/Title/Stage2.x", "Resource/Data/Title/Stage3.x",
                              "Resource/Data/Stage/Stage2.x", "Resource/Data/Stage/Stage3.x",
                              "Resource/Data/SkySphere/Model2.x", "Resource/Data/SkySphere/Model3.x"})
        directory.Write(model, XFiles::Cube(5.0f, {1, 1, 1, 1, ""}));
    const auto white = [](int, int) { return 0xFFFFFFFFu; };
    // Digit d of either set is 20 + 2d wide, so every width shows in a layout.
    for (int d = 0; d <= 9; ++d) {
        WritePng("Resource/Texture/Number_Symbol/" + std::to_string(d) + "_W.png", 20 + 2 * d, 30, white);
        WritePng("Resource/Texture/Number_Symbol/" + std::to_string(d) + "_W2.png", 20 + 2 * d, 30, white);
    }
    for (const char* image : {"Resource/Texture/Shot.png", "Resource/Texture/NotCleared.png",
                              "Resource/Texture/ArrowSH_R.png", "Resource/Texture/ArrowSH_L.png",
                              "Resource/Texture/ArrowSH_U.png", "Resource/Texture/ArrowSH_D.png",
                              "Resource/Texture/PressEnter.png", "Resource/Texture/PressEnter_W.png",
                              "Resource/Texture/GameStart.png", "Resource/Texture/Easy.png",
                              "Resource/Data/Title/Title.png"})
        WritePng(image, 60, 40, white);
    for (int group = 1; group <= 3; ++group) {
        for (int stage = 1; stage <= 6; ++stage)
            WriteScore(group, stage, "score:0");
    }
}

std::vector<DrawRecord> SceneFixture::NextFrameDraws()
{
    draws.clear();
    RunFrame(Context());
    return draws;
}

std::vector<DrawRecord> SceneFixture::SpritesOf(const std::vector<DrawRecord>& all, const std::string& image)
{
    std::vector<DrawRecord> out;
    for (const DrawRecord& draw : all) {
        if (draw.kind == DrawRecord::Kind::Sprite && draw.name == image)
            out.push_back(draw);
    }
    return out;
}

void SceneFixture::ExpectAt(const DrawRecord& sprite, float x, float y, float scale)
{
    EXPECT_NEAR(sprite.matrix(3, 0), x, 1e-3f) << sprite.name;
    EXPECT_NEAR(sprite.matrix(3, 1), y, 1e-3f) << sprite.name;
    EXPECT_NEAR(sprite.matrix(0, 0), scale, 1e-5f) << sprite.name;
}

void SceneFixture::WriteScore(int group, int stage, const std::string& text)
{
    directory.Write(ResultFile::Path(group, stage).substr(2), text);
}
