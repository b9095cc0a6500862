#include <gtest/gtest.h>

#include "DrawLogWriter.h"

namespace {

TEST(DrawLogWriter, WritesEachKindOfDrawInItsOwnShape)
{
    std::vector<DrawRecord> draws(6);
    draws[0].kind = DrawRecord::Kind::Target;
    draws[0].name = "sceneTarget";
    draws[1].kind = DrawRecord::Kind::Mesh;
    draws[1].name = "Resource/Data/WhiteBlock/Model.x";
    draws[1].technique = "Glow";
    draws[1].matrix = Matrix::Translation(75, 25, 125);
    draws[1].camera = Matrix::Scaling(2, 3, 4);
    draws[2].kind = DrawRecord::Kind::Fixed;
    draws[2].name = "quadXZ";
    draws[2].texture = "Resource/Texture/Target.png";
    draws[2].textureArea = std::array<float, 4>{0.25f, 0.5f, 0.5f, 0.75f};
    draws[2].argb = 0x7FFFFFFF;
    draws[3].kind = DrawRecord::Kind::Quad;
    draws[3].technique = "NormalTech";
    draws[3].rect[2] = 320;
    draws[3].rect[3] = 180;
    draws[4].kind = DrawRecord::Kind::Sprite;
    draws[4].name = "Resource/Texture/White.png";
    draws[4].centre[0] = 0.5f;
    draws[4].source[2] = 1280;
    draws[4].source[3] = 720;
    draws[4].argb = 0x80FFFFFF;
    draws[5].kind = DrawRecord::Kind::Text;
    draws[5].name = "Stage 3";
    draws[5].rect[0] = 50;
    draws[5].rect[1] = 100;
    draws[5].argb = 0xFF000000;

    EXPECT_EQ(DrawLogLine(7, draws),
              R"({"frame":7,"draws":[)"
              R"({"op":"target","to":"sceneTarget"},)"
              R"({"op":"mesh","file":"Resource/Data/WhiteBlock/Model.x","tech":"Glow",)"
              R"("w":[1,0,0,0,0,1,0,0,0,0,1,0,75,25,125,1],"vp":[2,0,0,0,0,3,0,0,0,0,4,0,0,0,0,1]},)"
              R"({"op":"fixed","what":"quadXZ","tex":"Resource/Texture/Target.png",)"
              R"("w":[1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1],"vp":[1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1],)"
              R"("uv":[0.25,0.5,0.5,0.75],"argb":2147483647},)"
              R"({"op":"quad","rect":[0,0,320,180],"tech":"NormalTech"},)"
              R"({"op":"sprite","tex":"Resource/Texture/White.png","m":[1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1],)"
              R"("centre":[0.5,0],"src":[0,0,1280,720],"argb":2164260863},)"
              R"({"op":"text","s":"Stage 3","at":[50,100],"argb":4278190080}]})");
}

}  // namespace
