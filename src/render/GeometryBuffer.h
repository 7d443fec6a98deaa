// GeometryBuffer: the window-sized targets of the deferred renderer.
//   index 0 colour     W x H  R8G8B8A8_UNORM_SRGB   geometry passes, decals
//   index 1 normal     W x H  R8G8B8A8_SNORM        geometry passes
//   index 2 light      W x H  R16G16B16A16_FLOAT    point lights
//   index 3 occlusion  W x H  R8G8B8A8_UNORM_SRGB   SSAO
//   half-size A and B  W/2 x H/2 R8G8B8A8_UNORM_SRGB  bloom
//   depth              W x H  D24S8, read as R24_UNORM_X8
//   depth test copy    W x H  D24S8, the depth copied for the decal pass
//                             when the eye is inside a decal's box (that
//                             pass reads the depth, so it tests against the
//                             copy: a buffer must not be read and attached
//                             at once)
// W and H are ScreenWidth and ScreenHeight when Create runs; the half sizes
// are rounded down but never below 1 (a 1-pixel window still gets targets).
// Core owns one for the program's life: Create and CreateDepthBuffer at every
// window-size set-up, Clear before each frame's geometry passes, Release on
// device loss. Users read the views directly and must take them again after
// a resize.
#pragma once

#include <array>
#include <memory>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

class GeometryBuffer
{
public:
    static constexpr int ColourIndex = 0;
    static constexpr int NormalIndex = 1;
    static constexpr int LightIndex = 2;
    static constexpr int OcclusionIndex = 3;

    GeometryBuffer() = default;
    virtual ~GeometryBuffer();
    GeometryBuffer(const GeometryBuffer&) = delete;
    GeometryBuffer& operator=(const GeometryBuffer&) = delete;

    // Releases everything, then makes the four full-size and the two
    // half-size targets on the process-wide Device. A failure throws and
    // leaves the targets made before it.
    void Create();
    // Makes the depth texture and its two views, and the test copy with its
    // depth-stencil view, replacing those held.
    void CreateDepthBuffer();
    // Copies the depth and stencil into the test copy (waits for the
    // drawing that wrote them).
    void CopyDepthForTests();
    // Colour, normal, light and occlusion to (0, 0, 0, 1), half-size
    // targets A and B to (0, 0, 0, 0). The depth buffer is left alone.
    void Clear();
    // Drops every texture and view.
    void Release();

    std::array<std::shared_ptr<gpu::Texture2D>, 4> textures;
    std::array<std::shared_ptr<gpu::RenderTargetView>, 4> renderTargetViews;
    std::array<std::shared_ptr<gpu::ShaderResourceView>, 4> shaderResourceViews;
    std::shared_ptr<gpu::RenderTargetView> halfTargetA;
    std::shared_ptr<gpu::ShaderResourceView> halfResourceA;
    std::shared_ptr<gpu::RenderTargetView> halfTargetB;
    std::shared_ptr<gpu::ShaderResourceView> halfResourceB;
    std::shared_ptr<gpu::DepthStencilView> depthStencilView;
    std::shared_ptr<gpu::ShaderResourceView> depthResourceView;
    std::shared_ptr<gpu::Texture2D> depthTestCopy;
    std::shared_ptr<gpu::DepthStencilView> depthTestView;
};

} // namespace mirefell
