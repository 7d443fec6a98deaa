// The plain descriptions the GPU layer takes: formats, usages, bind flags and
// the description records of buffers, textures, views, shaders' vertex inputs
// and the four kinds of state object. They follow Direct3D 11's records field
// for field where the renderer needs them, so code above the layer keeps
// Direct3D's conventions throughout; nothing here knows about OpenGL.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>

namespace mirefell::gpu
{

// Pixel and vertex-element formats. The depth formats pair as Direct3D's do:
// a D24_UNORM_S8_UINT texture is read through an R24_UNORM_X8_TYPELESS view.
enum class Format : uint8_t
{
    Unknown,
    R8G8B8A8_UNORM,
    R8G8B8A8_UNORM_SRGB,
    R8G8B8A8_SNORM,
    R16G16B16A16_FLOAT,
    R32G32B32A32_FLOAT,
    R32G32B32_FLOAT,
    R32G32_FLOAT,
    R32_FLOAT,
    R16_FLOAT,
    R16G16_FLOAT,
    R8_UNORM,
    R8G8_UNORM,
    R32_UINT,
    R16_UINT, // index buffers
    D24_UNORM_S8_UINT,
    R24_UNORM_X8_TYPELESS,
};

// Bytes one pixel or element of the format takes.
uint32_t FormatSize(Format format);

enum class Usage : uint8_t
{
    Default,   // GPU reads and writes; the CPU updates through UpdateSubresource
    Immutable, // initial data only
    Dynamic,   // rewritten by the CPU through Map with write-discard
};

enum BindFlag : uint32_t
{
    BindVertexBuffer = 0x1,
    BindIndexBuffer = 0x2,
    BindConstantBuffer = 0x4,
    BindShaderResource = 0x8,
    BindRenderTarget = 0x20,
    BindDepthStencil = 0x40,
};

struct BufferDesc
{
    uint32_t byteWidth = 0;
    Usage usage = Usage::Default;
    uint32_t bindFlags = 0;
    bool cpuWrite = false;
};

enum TextureFlag : uint32_t
{
    TextureCube = 0x4,         // six array slices seen as a cube
    TextureGenerateMips = 0x1, // mip chain filled by Context::GenerateMips
};

// arraySize above 1 without TextureCube makes a 2D texture array: colour
// formats only; shaders read all of its slices through one view and pick a
// slice by index, and a render-target view draws into one slice.
struct Texture2DDesc
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t mipLevels = 1; // 0: the full chain down to 1 x 1
    uint32_t arraySize = 1; // 6 for a cube; more than 1 otherwise: an array
    Format format = Format::R8G8B8A8_UNORM;
    Usage usage = Usage::Default;
    uint32_t bindFlags = BindShaderResource;
    uint32_t miscFlags = 0;
};

// Initial contents of one subresource: slice-major, then mip (Direct3D's
// order: every mip of slice 0, then every mip of slice 1, ...). Rows run from
// the top of the picture down.
struct SubresourceData
{
    const void* data = nullptr;
    uint32_t rowPitch = 0;
};

enum class ViewDimension : uint8_t
{
    Texture2D,
    TextureCube,
    Texture2DArray,
};

inline constexpr uint32_t AllMipLevels = 0xffffffffu;

// A shader-resource view over a texture's mip levels mostDetailedMip to
// mostDetailedMip + mipLevels - 1 (AllMipLevels: to the last), every slice.
// In the shader the view's first level is level 0, as in Direct3D. Unknown
// format takes the texture's; depth textures are read through
// R24_UNORM_X8_TYPELESS. The dimension follows the texture.
//
// OpenGL 3.3 keeps one level range per texture, so two views of one texture
// with different ranges cannot be bound at the same time (the context
// refuses); a pass that writes mip N while reading mip N - 1 binds a view of
// N - 1 alone.
struct ShaderResourceViewDesc
{
    Format format = Format::Unknown;
    ViewDimension dimension = ViewDimension::Texture2D;
    uint32_t mostDetailedMip = 0;
    uint32_t mipLevels = AllMipLevels;
};

// A render-target view draws into one mip level of one slice.
struct RenderTargetViewDesc
{
    uint32_t mipSlice = 0;
    uint32_t arraySlice = 0;
};

// Vertex input element, as Direct3D's input-layout record. The vertex shader
// names its inputs `<semanticName><semanticIndex>`, for example NORMAL0.
inline constexpr uint32_t AppendAlignedElement = 0xffffffffu;

struct InputElement
{
    const char* semanticName = nullptr;
    uint32_t semanticIndex = 0;
    Format format = Format::Unknown;
    uint32_t inputSlot = 0;
    uint32_t alignedByteOffset = AppendAlignedElement;
    bool perInstance = false;
    uint32_t instanceStepRate = 0;
};

enum class PrimitiveTopology : uint8_t
{
    Undefined,
    PointList,
    LineList,
    LineStrip,
    TriangleList,
    TriangleStrip,
};

enum class Blend : uint8_t
{
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestAlpha,
    InvDestAlpha,
    DestColor,
    InvDestColor,
    BlendFactor,
    InvBlendFactor,
};

enum class BlendOp : uint8_t
{
    Add,
    Subtract,
    RevSubtract,
    Min,
    Max,
};

enum ColorWrite : uint8_t
{
    ColorWriteRed = 1,
    ColorWriteGreen = 2,
    ColorWriteBlue = 4,
    ColorWriteAlpha = 8,
    ColorWriteAll = 15,
};

struct RenderTargetBlendDesc
{
    bool blendEnable = false;
    Blend srcBlend = Blend::One;
    Blend destBlend = Blend::Zero;
    BlendOp blendOp = BlendOp::Add;
    Blend srcBlendAlpha = Blend::One;
    Blend destBlendAlpha = Blend::Zero;
    BlendOp blendOpAlpha = BlendOp::Add;
    uint8_t renderTargetWriteMask = ColorWriteAll;
};

// OpenGL 3.3 has one blend equation for all targets; independent blending
// keeps per-target enables and write masks and takes target 0's factors.
struct BlendDesc
{
    bool alphaToCoverage = false;
    bool independentBlend = false;
    RenderTargetBlendDesc renderTarget[8];
};

enum class ComparisonFunc : uint8_t
{
    Never,
    Less,
    Equal,
    LessEqual,
    Greater,
    NotEqual,
    GreaterEqual,
    Always,
};

enum class StencilOp : uint8_t
{
    Keep,
    Zero,
    Replace,
    IncrSat,
    DecrSat,
    Invert,
    Incr,
    Decr,
};

struct StencilFaceDesc
{
    StencilOp failOp = StencilOp::Keep;
    StencilOp depthFailOp = StencilOp::Keep;
    StencilOp passOp = StencilOp::Keep;
    ComparisonFunc func = ComparisonFunc::Always;
};

struct DepthStencilDesc
{
    bool depthEnable = true;
    bool depthWrite = true;
    ComparisonFunc depthFunc = ComparisonFunc::Less;
    bool stencilEnable = false;
    uint8_t stencilReadMask = 0xff;
    uint8_t stencilWriteMask = 0xff;
    StencilFaceDesc frontFace;
    StencilFaceDesc backFace;
};

enum class FillMode : uint8_t
{
    Solid,
    Wireframe,
};

// Which faces are dropped. With frontCounterClockwise false (Direct3D's
// default) a triangle that runs clockwise on screen is a front face.
enum class CullMode : uint8_t
{
    None,
    Front,
    Back,
};

struct RasterizerDesc
{
    FillMode fillMode = FillMode::Solid;
    CullMode cullMode = CullMode::Back;
    bool frontCounterClockwise = false;
    bool depthClipEnable = true;
    bool scissorEnable = false;
};

enum class Filter : uint8_t
{
    MinMagMipPoint,
    MinMagPointMipLinear,
    MinMagLinearMipPoint,
    MinMagMipLinear,
    Anisotropic,
};

enum class TextureAddressMode : uint8_t
{
    Wrap,
    Mirror,
    Clamp,
    Border,
};

struct SamplerDesc
{
    Filter filter = Filter::MinMagMipLinear;
    TextureAddressMode addressU = TextureAddressMode::Clamp;
    TextureAddressMode addressV = TextureAddressMode::Clamp;
    TextureAddressMode addressW = TextureAddressMode::Clamp;
    float mipLodBias = 0.0f;
    uint32_t maxAnisotropy = 1;
    float borderColor[4] = {1, 1, 1, 1};
    float minLod = -FLT_MAX;
    float maxLod = FLT_MAX;
};

// Top-left origin and rows growing downwards, as everywhere above the layer.
struct Viewport
{
    float topLeftX = 0;
    float topLeftY = 0;
    float width = 0;
    float height = 0;
    float minDepth = 0;
    float maxDepth = 1;
};

struct Rect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

enum ClearFlag : uint32_t
{
    ClearDepth = 0x1,
    ClearStencil = 0x2,
};

enum class MapType : uint8_t
{
    WriteDiscard,
};

// What the device can do, in Direct3D's terms: 11_0 where the context offers
// what the compute-heavy passes need (GL 4.3 and up), 10_0 on a bare 3.3.
enum class FeatureLevel : uint32_t
{
    Level10_0 = 0xa000,
    Level10_1 = 0xa100,
    Level11_0 = 0xb000,
};

// Per-stage resource slots the layer supports.
inline constexpr uint32_t ConstantBufferSlots = 14;
inline constexpr uint32_t ShaderResourceSlots = 16;
inline constexpr uint32_t SamplerSlots = 16;
inline constexpr uint32_t VertexBufferSlots = 8;
inline constexpr uint32_t RenderTargetSlots = 8;

} // namespace mirefell::gpu
