// OpenGL spellings of the GPU layer's formats and state values.
#include "platform/gpu/GlFormat.h"

#include <epoxy/gl.h>

#include "platform/gpu/GpuError.h"

namespace mirefell::gpu
{

uint32_t FormatSize(Format format)
{
    switch (format) {
    case Format::R8G8B8A8_UNORM:
    case Format::R8G8B8A8_UNORM_SRGB:
    case Format::R8G8B8A8_SNORM:
    case Format::R32_FLOAT:
    case Format::R32_UINT:
    case Format::R16G16_FLOAT:
    case Format::D24_UNORM_S8_UINT:
    case Format::R24_UNORM_X8_TYPELESS:
        return 4;
    case Format::R16G16B16A16_FLOAT:
    case Format::R32G32_FLOAT:
        return 8;
    case Format::R32G32B32A32_FLOAT:
        return 16;
    case Format::R32G32B32_FLOAT:
        return 12;
    case Format::R16_FLOAT:
    case Format::R8G8_UNORM:
    case Format::R16_UINT:
        return 2;
    case Format::R8_UNORM:
        return 1;
    case Format::Unknown:
        break;
    }
    return 0;
}

namespace detail
{

GlTextureFormat TextureFormatOf(Format format, const char* call)
{
    switch (format) {
    case Format::R8G8B8A8_UNORM:
        return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
    case Format::R8G8B8A8_UNORM_SRGB:
        return {GL_SRGB8_ALPHA8, GL_RGBA, GL_UNSIGNED_BYTE};
    case Format::R8G8B8A8_SNORM:
        return {GL_RGBA8_SNORM, GL_RGBA, GL_BYTE};
    case Format::R16G16B16A16_FLOAT:
        return {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT};
    case Format::R32G32B32A32_FLOAT:
        return {GL_RGBA32F, GL_RGBA, GL_FLOAT};
    case Format::R32G32B32_FLOAT:
        return {GL_RGB32F, GL_RGB, GL_FLOAT};
    case Format::R32G32_FLOAT:
        return {GL_RG32F, GL_RG, GL_FLOAT};
    case Format::R32_FLOAT:
        return {GL_R32F, GL_RED, GL_FLOAT};
    case Format::R16_FLOAT:
        return {GL_R16F, GL_RED, GL_HALF_FLOAT};
    case Format::R16G16_FLOAT:
        return {GL_RG16F, GL_RG, GL_HALF_FLOAT};
    case Format::R8_UNORM:
        return {GL_R8, GL_RED, GL_UNSIGNED_BYTE};
    case Format::R8G8_UNORM:
        return {GL_RG8, GL_RG, GL_UNSIGNED_BYTE};
    case Format::R32_UINT:
        return {GL_R32UI, GL_RED_INTEGER, GL_UNSIGNED_INT};
    case Format::D24_UNORM_S8_UINT:
    case Format::R24_UNORM_X8_TYPELESS:
        return {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8};
    case Format::R16_UINT:
    case Format::Unknown:
        break;
    }
    throw GpuError(call, "format cannot be a texture");
}

GlVertexFormat VertexFormatOf(Format format, const char* call)
{
    switch (format) {
    case Format::R32G32B32A32_FLOAT:
        return {4, GL_FLOAT, false, false};
    case Format::R32G32B32_FLOAT:
        return {3, GL_FLOAT, false, false};
    case Format::R32G32_FLOAT:
        return {2, GL_FLOAT, false, false};
    case Format::R32_FLOAT:
        return {1, GL_FLOAT, false, false};
    case Format::R16G16B16A16_FLOAT:
        return {4, GL_HALF_FLOAT, false, false};
    case Format::R16G16_FLOAT:
        return {2, GL_HALF_FLOAT, false, false};
    case Format::R8G8B8A8_UNORM:
        return {4, GL_UNSIGNED_BYTE, true, false};
    case Format::R8G8B8A8_SNORM:
        return {4, GL_BYTE, true, false};
    case Format::R32_UINT:
        return {1, GL_UNSIGNED_INT, false, true};
    default:
        break;
    }
    throw GpuError(call, "format cannot be a vertex element");
}

bool IsDepthFormat(Format format)
{
    return format == Format::D24_UNORM_S8_UINT || format == Format::R24_UNORM_X8_TYPELESS;
}

uint32_t GlBlend(Blend blend)
{
    switch (blend) {
    case Blend::Zero:
        return GL_ZERO;
    case Blend::One:
        return GL_ONE;
    case Blend::SrcColor:
        return GL_SRC_COLOR;
    case Blend::InvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case Blend::SrcAlpha:
        return GL_SRC_ALPHA;
    case Blend::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::DestAlpha:
        return GL_DST_ALPHA;
    case Blend::InvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case Blend::DestColor:
        return GL_DST_COLOR;
    case Blend::InvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    case Blend::BlendFactor:
        return GL_CONSTANT_COLOR;
    case Blend::InvBlendFactor:
        return GL_ONE_MINUS_CONSTANT_COLOR;
    }
    return GL_ONE;
}

uint32_t GlBlendOp(BlendOp op)
{
    switch (op) {
    case BlendOp::Add:
        return GL_FUNC_ADD;
    case BlendOp::Subtract:
        return GL_FUNC_SUBTRACT;
    case BlendOp::RevSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::Min:
        return GL_MIN;
    case BlendOp::Max:
        return GL_MAX;
    }
    return GL_FUNC_ADD;
}

uint32_t GlCompare(ComparisonFunc func)
{
    switch (func) {
    case ComparisonFunc::Never:
        return GL_NEVER;
    case ComparisonFunc::Less:
        return GL_LESS;
    case ComparisonFunc::Equal:
        return GL_EQUAL;
    case ComparisonFunc::LessEqual:
        return GL_LEQUAL;
    case ComparisonFunc::Greater:
        return GL_GREATER;
    case ComparisonFunc::NotEqual:
        return GL_NOTEQUAL;
    case ComparisonFunc::GreaterEqual:
        return GL_GEQUAL;
    case ComparisonFunc::Always:
        return GL_ALWAYS;
    }
    return GL_ALWAYS;
}

uint32_t GlStencilOp(StencilOp op)
{
    switch (op) {
    case StencilOp::Keep:
        return GL_KEEP;
    case StencilOp::Zero:
        return GL_ZERO;
    case StencilOp::Replace:
        return GL_REPLACE;
    case StencilOp::IncrSat:
        return GL_INCR;
    case StencilOp::DecrSat:
        return GL_DECR;
    case StencilOp::Invert:
        return GL_INVERT;
    case StencilOp::Incr:
        return GL_INCR_WRAP;
    case StencilOp::Decr:
        return GL_DECR_WRAP;
    }
    return GL_KEEP;
}

uint32_t GlAddress(TextureAddressMode mode)
{
    switch (mode) {
    case TextureAddressMode::Wrap:
        return GL_REPEAT;
    case TextureAddressMode::Mirror:
        return GL_MIRRORED_REPEAT;
    case TextureAddressMode::Clamp:
        return GL_CLAMP_TO_EDGE;
    case TextureAddressMode::Border:
        return GL_CLAMP_TO_BORDER;
    }
    return GL_CLAMP_TO_EDGE;
}

uint32_t GlTopology(PrimitiveTopology topology)
{
    switch (topology) {
    case PrimitiveTopology::PointList:
        return GL_POINTS;
    case PrimitiveTopology::LineList:
        return GL_LINES;
    case PrimitiveTopology::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveTopology::TriangleList:
        return GL_TRIANGLES;
    case PrimitiveTopology::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case PrimitiveTopology::Undefined:
        break;
    }
    return GL_TRIANGLES;
}

} // namespace detail
} // namespace mirefell::gpu
