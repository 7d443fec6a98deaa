// Private to the GPU layer: how each Format and description value reads in
// OpenGL terms. The values are GL enums carried as uint32_t so that this
// header needs no GL header.
#pragma once

#include <cstdint>

#include "platform/gpu/GpuTypes.h"

namespace mirefell::gpu::detail
{

struct GlTextureFormat
{
    uint32_t internalFormat = 0;
    uint32_t format = 0;
    uint32_t type = 0;
};

struct GlVertexFormat
{
    int32_t components = 0;
    uint32_t type = 0;
    bool normalized = false;
    bool integer = false;
};

// Throws GpuError(call) for a format the use cannot take.
GlTextureFormat TextureFormatOf(Format format, const char* call);
GlVertexFormat VertexFormatOf(Format format, const char* call);
bool IsDepthFormat(Format format);

uint32_t GlBlend(Blend blend);
uint32_t GlBlendOp(BlendOp op);
uint32_t GlCompare(ComparisonFunc func);
uint32_t GlStencilOp(StencilOp op);
uint32_t GlAddress(TextureAddressMode mode);
uint32_t GlTopology(PrimitiveTopology topology);

} // namespace mirefell::gpu::detail
