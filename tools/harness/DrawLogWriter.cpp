#include "DrawLogWriter.h"

#include "JsonWriter.h"

namespace {

void WriteMatrix(JsonWriter& json, const char* key, const Matrix& m)
{
    json.Key(key);
    json.BeginArray();
    for (int i = 0; i < 16; ++i)
        json.Float(m.Data()[i]);
    json.EndArray();
}

void WriteInts(JsonWriter& json, const char* key, const int* values, int count)
{
    json.Key(key);
    json.BeginArray();
    for (int i = 0; i < count; ++i)
        json.Int(values[i]);
    json.EndArray();
}

void WriteRecord(JsonWriter& json, const DrawRecord& draw)
{
    json.BeginObject();
    json.Key("op");
    switch (draw.kind) {
    case DrawRecord::Kind::Sprite:
        json.String("sprite");
        json.Key("tex");
        json.String(draw.name);
        WriteMatrix(json, "m", draw.matrix);
        json.Key("centre");
        json.BeginArray();
        json.Float(draw.centre[0]);
        json.Float(draw.centre[1]);
        json.EndArray();
        json.Key("src");
        json.BeginArray();
        for (long edge : draw.source)
            json.Int(edge);
        json.EndArray();
        json.Key("argb");
        json.Int(draw.argb);
        break;
    case DrawRecord::Kind::Mesh:
        json.String("mesh");
        json.Key("file");
        json.String(draw.name);
        json.Key("tech");
        json.String(draw.technique);
        WriteMatrix(json, "w", draw.matrix);
        WriteMatrix(json, "vp", draw.camera);
        break;
    case DrawRecord::Kind::Fixed:
        json.String("fixed");
        json.Key("what");
        json.String(draw.name);
        if (!draw.texture.empty()) {
            json.Key("tex");
            json.String(draw.texture);
        }
        WriteMatrix(json, "w", draw.matrix);
        WriteMatrix(json, "vp", draw.camera);
        if (draw.textureArea) {
            json.Key("uv");
            json.BeginArray();
            for (float edge : *draw.textureArea)
                json.Float(edge);
            json.EndArray();
            json.Key("argb");
            json.Int(draw.argb);
        }
        break;
    case DrawRecord::Kind::Target:
        json.String("target");
        json.Key("to");
        json.String(draw.name);
        break;
    case DrawRecord::Kind::Quad:
        json.String("quad");
        WriteInts(json, "rect", draw.rect, 4);
        json.Key("tech");
        json.String(draw.technique);
        break;
    case DrawRecord::Kind::Text:
        json.String("text");
        json.Key("s");
        json.String(draw.name);
        WriteInts(json, "at", draw.rect, 2);
        json.Key("argb");
        json.Int(draw.argb);
        if (draw.face != TextFace::Mono) {
            json.Key("face");
            json.String(draw.face == TextFace::Sans ? "sans" : "heading");
        }
        break;
    }
    json.EndObject();
}

}  // namespace

std::string DrawLogLine(int frame, const std::vector<DrawRecord>& draws)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("frame");
    json.Int(frame);
    json.Key("draws");
    json.BeginArray();
    for (const DrawRecord& draw : draws)
        WriteRecord(json, draw);
    json.EndArray();
    json.EndObject();
    return json.Text();
}
