// InstancedTextureEffect (effect id 3): textured geometry drawn once per
// instance in one instanced draw. Slot 0 carries VertexPositionNormalTexture
// vertices (stride 32), slot 1 InstanceRecords (stride 144) of which the
// layout reads WORLD0-3 and INVERSE_WORLD0-3 (the colour is present, unread).
// Constants (vertex slot 0, 128 bytes): view and projection in column order;
// the world argument of SetMatrices is not used.
#pragma once

#include "render/EffectResources.h"
#include "render/IEffect.h"

namespace mirefell
{

class InstancedTextureEffect final : public IEffect
{
public:
    static constexpr uint32_t ConstantBytes = 128;

    explicit InstancedTextureEffect(gpu::Device* device);

    void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) override;
    void SetTexture(gpu::ShaderResourceView* texture) override;
    uint32_t GetVertexStride() override { return 32; }
    void Bind(gpu::Context* context) override { resources.Bind(context); }
    void Release() override { resources.Release(); }

private:
    EffectResources resources;
};

} // namespace mirefell
