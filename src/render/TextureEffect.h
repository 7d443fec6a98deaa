// TextureEffect (effect id 2): textured geometry drawn one mesh at a time,
// the texture at pixel-shader slot 0. Vertex format VertexPositionNormalTexture
// (32 bytes); the colour effect's 192-byte constants at vertex slot 0.
#pragma once

#include "render/EffectResources.h"
#include "render/IEffect.h"

namespace mirefell
{

class TextureEffect final : public IEffect
{
public:
    static constexpr uint32_t ConstantBytes = 192;

    explicit TextureEffect(gpu::Device* device);

    void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) override;
    void SetTexture(gpu::ShaderResourceView* texture) override;
    uint32_t GetVertexStride() override { return 32; }
    void Bind(gpu::Context* context) override { resources.Bind(context); }
    void Release() override { resources.Release(); }

private:
    EffectResources resources;
};

} // namespace mirefell
