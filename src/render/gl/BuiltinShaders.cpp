#include "render/gl/BuiltinShaders.h"

namespace BuiltinShaders {

const char* const FixedVertex = R"(
uniform mat4 ff_World;
uniform mat4 ff_View;
uniform mat4 ff_Projection;
uniform mat4 ff_TextureMatrix;
uniform bool ff_TextureTransform;
uniform bool ff_Lighting;
uniform vec4 ff_MaterialDiffuse;
uniform vec4 ff_MaterialEmissive;
uniform vec3 ff_LightDirection;
uniform vec4 ff_LightDiffuse;
// Vertices with a colour of their own light with it instead of the material's diffuse.
uniform bool ff_VertexColor;

out vec4 v_Color;
out vec2 v_TexCoord;

void main()
{
    gl_Position = orb_Clip(ff_Projection * ff_View * ff_World * vec4(in_Position.xyz, 1.0));
    vec4 diffuse = ff_VertexColor ? in_Color : ff_MaterialDiffuse;
    if (ff_Lighting) {
        vec3 normal = mat3(ff_World) * in_Normal;
        float facing = dot(normal, normal) > 0.0 ? max(dot(normalize(normal), -normalize(ff_LightDirection)), 0.0) : 0.0;
        v_Color = vec4(ff_MaterialEmissive.rgb + diffuse.rgb * ff_LightDiffuse.rgb * facing, diffuse.a);
    } else {
        v_Color = ff_VertexColor ? in_Color : vec4(1.0);
    }
    v_TexCoord = ff_TextureTransform ? (ff_TextureMatrix * vec4(in_TexCoord, 1.0, 0.0)).xy : in_TexCoord;
}
)";

const char* const FixedFragment = R"(
uniform sampler2D ff_Texture;
in vec4 v_Color;
in vec2 v_TexCoord;
out vec4 fragColor;

void main()
{
    fragColor = texture(ff_Texture, v_TexCoord) * v_Color;
}
)";

const char* const SpriteVertex = R"(
out vec4 v_Color;
out vec2 v_TexCoord;

void main()
{
    gl_Position = orb_ScreenClip(in_Position.xy);
    v_Color = in_Color;
    v_TexCoord = in_TexCoord;
}
)";

const char* const SpriteFragment = R"(
uniform sampler2D sprite_Texture;
in vec4 v_Color;
in vec2 v_TexCoord;
out vec4 fragColor;

void main()
{
    fragColor = texture(sprite_Texture, v_TexCoord) * v_Color;
}
)";

}  // namespace BuiltinShaders
