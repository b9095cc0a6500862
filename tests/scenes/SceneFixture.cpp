#include "scenes/SceneFixture.h"

#include "app/SceneManager.h"
#include "assets/AssetFiles.h"
#include "main/FrameLoop.h"
#include "render/XFiles.h"
#include "stage/ResultFile.h"

void SceneFixture::SetUp()
{
    GameFixture::SetUp();
    const std::string models[] = {ModelFile::TitleLogo,     ModelFile::TitleEmblem(1), ModelFile::TitleEmblem(2),
                                  ModelFile::TitleEmblem(3), ModelFile::StageBoard(2),  ModelFile::StageBoard(3),
                                  ModelFile::Sky(2),         ModelFile::Sky(3)};
    for (const std::string& model : models)
        directory.Write(model, XFiles::Cube(5.0f, {1, 1, 1, 1, ""}));
    const auto white = [](int, int) { return 0xFFFFFFFFu; };
    // Digit d of either set is 20 + 2d wide, so every width shows in a layout.
    for (int d = 0; d <= 9; ++d) {
        WritePng(ImageFile::Digit(d), 20 + 2 * d, 30, white);
        WritePng(ImageFile::DarkDigit(d), 20 + 2 * d, 30, white);
    }
    for (const char* image : {ImageFile::ShotsWord, ImageFile::NotCleared, ImageFile::ArrowRight, ImageFile::ArrowLeft,
                              ImageFile::ArrowUp, ImageFile::ArrowDown, ImageFile::PressEnter,
                              ImageFile::PressEnterInverted, ImageFile::GameStart, ImageFile::Easy,
                              ImageFile::TitleLettering})
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
