#include <gtest/gtest.h>

#include "JsonWriter.h"

namespace {

TEST(JsonWriter, PlacesCommasAndEscapesStrings)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("frame");
    json.Int(3);
    json.Key("sounds");
    json.BeginArray();
    json.String("effect 1 play");
    json.String("say \"hi\"\\\n\x01");
    json.EndArray();
    json.Key("empty");
    json.BeginArray();
    json.EndArray();
    json.Key("caption");
    json.String("読み込みエラー");
    json.Key("x");
    json.Float(2.5);
    json.Key("ok");
    json.Bool(false);
    json.EndObject();
    EXPECT_EQ(json.Text(), "{\"frame\":3,\"sounds\":[\"effect 1 play\",\"say \\\"hi\\\"\\\\\\n\\u0001\"],"
                           "\"empty\":[],\"caption\":\"読み込みエラー\",\"x\":2.5,\"ok\":false}");
}

}  // namespace
