#pragma once

#include "render/DeviceBackEnd.h"
#include "render/DeviceProgram.h"

// The back end of a device without a window: it makes no storage and draws
// nothing, so the device in front runs every call, keeps every state and
// records every draw, headless.
class NullBackEnd final : public DeviceBackEnd {
public:
    TextureStorage MakeImage(int, int, const std::uint8_t*) override { return {}; }
    std::optional<TextureStorage> MakeTarget(int, int, bool) override { return TextureStorage{}; }
    void Delete(TextureStorage& storage) override { storage = {}; }
    MeshBuffers MakeMesh(const std::vector<XModel::Vertex>&, const std::vector<std::uint32_t>&) override { return {}; }
    void Delete(MeshBuffers& buffers) override { buffers = {}; }
    std::unique_ptr<DeviceProgram> BuildProgram(const std::string&, const std::string&, std::string&,
                                            const std::string&) override
    {
        return nullptr;
    }

    void ResetStates() override {}
    void SetBlend(const BlendState&) override {}
    void SetBlending(bool) override {}
    void SetDepth(bool, bool) override {}
    void SetColourWrites(bool) override {}
    void SetCulling(bool) override {}

    void ChooseBackBuffer(Surface&, bool) override {}
    void BindTarget(const Surface&) override {}
    void Clear(const Surface&, const std::optional<Color>&, std::optional<float>) override {}
    void ClearArea(const Surface&, const ScreenRect&, const Color&) override {}
    void Copy(const Surface&, const Surface&) override {}
    void Present(const Surface&, std::vector<std::uint8_t>*, WindowPicture*) override {}
    void Finish() override {}

    void UseProgram(const DeviceProgram&) override {}
    void SetTargetOf(const DeviceProgram&, const Surface&) override {}
    void Upload(const DeviceProgram&, const EffectParameters&, const Surface&,
                const std::function<bool(const Texture&)>&) override
    {
    }
    void DrawMesh(const MeshBuffers&, unsigned, unsigned) override {}
    void DrawQuad(const SpriteQuad&, const Surface&, const std::optional<ScreenRect>&) override {}
    void UseFixedFunction(const FixedFunctionState&, const Surface&) override {}
    void DrawFan(const ColorVertex*, int) override {}

    void AddSprite(unsigned, const SpriteQuad&, std::uint32_t) override {}
    void AddText(const std::string&, int, int, std::uint32_t, TextFace) override {}
    bool DrawSprites(const Surface&) override { return false; }
};
