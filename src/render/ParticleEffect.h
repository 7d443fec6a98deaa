// ParticleEffect: owned by the particle system, not registered under an id.
// Slot 0 carries positions (VertexPosition, stride 12), slot 1
// ParticleInstanceRecords (stride 80: WORLD0-3, the world matrix's columns,
// then COLOR0). Constants (vertex slot 0, 192 bytes): world, view and
// projection, each in column order. It takes no texture.
#pragma once

#include "render/EffectResources.h"
#include "render/IEffect.h"

namespace mirefell
{

class ParticleEffect final : public IEffect
{
public:
    static constexpr uint32_t ConstantBytes = 192;

    explicit ParticleEffect(gpu::Device* device);

    void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) override;
    // Particles are untextured: leaves every slot as it is.
    void SetTexture(gpu::ShaderResourceView*) override {}
    uint32_t GetVertexStride() override { return 12; }
    void Bind(gpu::Context* context) override { resources.Bind(context); }
    void Release() override { resources.Release(); }

private:
    EffectResources resources;
};

} // namespace mirefell
