// ColorEffect (effect id 1): vertex-coloured geometry with the shared normal
// map at pixel-shader slot 1. Vertex format
// VertexPositionNormalTangentColorTexture (52 bytes). Constants (vertex slot
// 0, 192 bytes): world in row order, the inverse of world in column order,
// world x view x projection in row order.
#pragma once

#include "render/EffectResources.h"
#include "render/IEffect.h"

namespace mirefell
{

// The "normal" texture of the TextureRegistry, which owns it; stored by every
// ColorEffect constructor and bound by its Bind. Stale after the registry is
// cleared, until the next ColorEffect is made.
extern gpu::ShaderResourceView* NormalMapView;

// Writes the 192-byte world / inverse-world / world-view-projection block that
// the colour and textured effects share.
void WriteColorConstants(void* destination, const Matrix& world, const Matrix& view, const Matrix& projection);

class ColorEffect final : public IEffect
{
public:
    static constexpr uint32_t ConstantBytes = 192;

    // Throws "ReadData" for a missing shader file, GpuError for a shader or
    // layout the GPU layer refuses, and "invalid map<K, T> key" when the
    // texture registry has no "normal".
    explicit ColorEffect(gpu::Device* device);

    void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) override;
    void SetTexture(gpu::ShaderResourceView* texture) override;
    uint32_t GetVertexStride() override { return 52; }
    void Bind(gpu::Context* context) override;
    void Release() override { resources.Release(); }

private:
    EffectResources resources;
};

} // namespace mirefell
