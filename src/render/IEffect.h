// IEffect: a vertex shader, a pixel shader, the input layout of one vertex
// format and one constant buffer of per-draw matrices. A drawable Mesh names
// its effect by id (EffectRegistry); the particle system owns one more.
//
// Calling order of a draw: SetMatrices (writes and binds the constants),
// SetTexture when the mesh has a texture, Bind; the caller then sets the
// topology, binds its vertex buffer(s) with GetVertexStride and draws.
// Blend, depth, rasterizer and sampler states belong to the pass, not here.
#pragma once

#include <cstdint>

#include "platform/math/Matrix.h"

namespace mirefell
{

namespace gpu
{
class Context;
class ShaderResourceView;
} // namespace gpu

class IEffect
{
public:
    // Rewrites the whole constant layout (write-discard) and binds it.
    virtual void SetMatrices(const Matrix& world, const Matrix& view, const Matrix& projection) = 0;
    // Pixel-shader resource slot 0, on the process-wide context.
    virtual void SetTexture(gpu::ShaderResourceView* texture) = 0;
    virtual uint32_t GetVertexStride() = 0;
    // Shaders and input layout on the given context; not the constants.
    virtual void Bind(gpu::Context* context) = 0;
    // Drops the GPU objects; the effect stays unusable until replaced.
    virtual void Release() = 0;
    virtual ~IEffect() = default;
};

} // namespace mirefell
