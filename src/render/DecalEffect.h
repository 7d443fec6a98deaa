// DecalEffect (effect id 4): instanced boxes that project their texture onto
// the scene already in the G-buffer. Streams as the instanced textured effect
// plus the instance colour (COLOR0). The pass binds the G-buffer's normals at
// pixel-shader slot 1 and its depth at slot 2 and draws into the colour
// target alone. Constants (vertex and pixel slot 0, 208 bytes): view and
// projection in row order, the inverse of view x projection in row order,
// then the screen width and height as floats, read at every call.
#pragma once

#include "render/EffectResources.h"
#include "render/IEffect.h"

namespace mirefell
{

class DecalEffect final : public IEffect
{
public:
    static constexpr uint32_t ConstantBytes = 208;

    explicit DecalEffect(gpu::Device* device);

    void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) override;
    void SetTexture(gpu::ShaderResourceView* texture) override;
    uint32_t GetVertexStride() override { return 32; }
    void Bind(gpu::Context* context) override { resources.Bind(context); }
    void Release() override { resources.Release(); }

private:
    EffectResources resources;
};

} // namespace mirefell
