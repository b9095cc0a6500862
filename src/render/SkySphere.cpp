#include "render/SkySphere.h"

#include "assets/AssetFiles.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshCache.h"
#include "render/RenderContext.h"

namespace {
constexpr float ScrollPerDraw = 0.001f;
}

SkySphere::SkySphere() : transform(std::make_unique<Transform>()), world(Matrix::Translation(250.0f, 0.0f, 250.0f))
{
    transform->position = {250.0f, -250.0f, 250.0f};
    transform->UpdateWorld();
}

void SkySphere::Draw(const RenderContext& render, int stageGroup)
{
    GraphicsDevice& device = render.device;
    device.SetLighting(false);
    device.SetTextureTransform(true);
    vScroll += ScrollPerDraw;

    // Two-component coordinates go through as (u, v, 1, 0): row 2 shifts them.
    Matrix scroll;
    scroll(2, 0) = uOffset;
    scroll(2, 1) = vScroll;
    device.SetTransform(TransformState::Texture0, scroll);
    device.SetTransform(TransformState::World, world);

    const auto mesh = render.meshes.Get(ModelFile::Sky(stageGroup));
    if (mesh->HasGeometry()) {
        for (int i = 0; i < mesh->SubsetCount(); ++i) {
            device.SetMaterial(mesh->materials[i]);
            const Texture* texture = mesh->materialTextures[i];
            const bool image = texture && texture->HasImage();
            device.SetTexture(image ? texture : nullptr);
            // Unlit, the sky's alpha is its image's.
            device.DrawSubset(*mesh, i, image && texture->Opaque());
        }
    }
    device.SetTextureTransform(false);
}
