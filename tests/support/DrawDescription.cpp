#include "support/DrawDescription.h"

std::string Describe(const DrawRecord& draw)
{
    switch (draw.kind) {
    case DrawRecord::Kind::Target:
        return "target " + draw.name;
    case DrawRecord::Kind::Quad:
        return "quad " + draw.technique + " " + std::to_string(draw.rect[2]) + "x" + std::to_string(draw.rect[3]);
    case DrawRecord::Kind::Mesh:
        return "mesh " + draw.name + " " + draw.technique;
    case DrawRecord::Kind::Fixed:
        return "fixed " + draw.name;
    case DrawRecord::Kind::Sprite:
        return "sprite " + draw.name;
    case DrawRecord::Kind::Text:
        return "text " + draw.name;
    }
    return "";
}

std::vector<std::string> Described(const std::vector<DrawRecord>& draws)
{
    std::vector<std::string> out;
    for (const DrawRecord& draw : draws)
        out.push_back(Describe(draw));
    return out;
}
