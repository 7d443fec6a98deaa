// DeferredRenderer: turns the filled G-buffer into the lit picture in the
// back buffer. Draw runs, in order: the depth bounds of the window's regions
// (TileDepthBounds), the bloom extract (bloom on), the SSAO (when the
// "ssao" setting is 0 or more and the device allows it: at the low and
// medium qualities its two finished half-size layers, which the
// composition puts together itself, at the others the occlusion target
// through the SSAO's own apply pass), the sky where nothing was drawn, the composition through the
// deferred pixel shader where something was, which adds the point lights
// itself (the light pass draws it region by region, PointLights::Draw, each
// region with the lights that reach the depths it shows), the blur of the
// bloom's glow (bloom on), and
// last the finishing pass of the post-processing chain (FXAA and the bloom
// laid over, PostFXChain::ApplyFxaa). With FXAA or bloom on the composition
// goes into the chain's scene copy and the finishing pass reads it from
// there into the output target, so no pass copies the frame; with both off
// the composition goes straight into the output target. The other quads go
// through the sprite batch in immediate mode with a set-up callback that
// replaces its pixel shader.
//
// The sky and the composition share their target and split its pixels by
// a depth test against the G-buffer's depth test copy (the copy, because
// the composition reads the depth itself): the sky's triangle and the
// regions' quads lie at the far plane, the sky passing where the depth is
// still the cleared 1, the regions where it is nearer. Surfaces drawn
// without writing the depth (the blended pass, MarkingDepthRead) mark the
// stencil instead; where such a surface stands before the sky, the sky
// leaves it to one unlit composition quad over the window. The software
// rasteriser shades no pixel that fails the test, so each pixel pays for
// one of the shaders only.
//
// Bindings of the passes (pixel-shader texture slots):
//   depth bounds    -> own targets t0 depth
//   bloom extract   -> half A      t0 colour
//   sky             -> scene copy  t5 sky box; b0 frame
//                      or output
//   composition     -> scene copy  t0 depth, t1 colour, t2 normal, t3 light
//                      or output   (not read), t4 occlusion or the SSAO's
//                                  layers (t5 stays bound, unread); b0 frame,
//                                  b1 the region's lights, b2 the layers';
//                                  the depth test copy as depth-stencil
//   glow blur 1     -> glow 0      t0 half A; b0 horizontal weights (opaque)
//   glow blur 2     -> glow 1      t0 glow 0; b0 vertical weights (opaque)
//   finishing       -> output      t0 scene copy, t1 half A, t2 glow 1
// The glow targets are a quarter of the window (a quarter of the half size,
// rounded down, at least 1 x 1), plain 8-bit holding the square root of the
// light, and belong to this renderer; the G-buffer
// and the chain are not owned; Core owns all three.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

class Camera;
class GeometryBuffer;
class PostFXBloomExtractShader;
class PostFXChain;
class PostFXGaussianBlurShader;
class SpriteBatch;
class TileDepthBounds;

class DeferredRenderer
{
public:
    DeferredRenderer(GeometryBuffer* geometryBuffer_, PostFXChain* postFX_);
    ~DeferredRenderer();
    DeferredRenderer(const DeferredRenderer&) = delete;
    DeferredRenderer& operator=(const DeferredRenderer&) = delete;

    // Device resources: the deferred pixel shader, the bloom shaders, the
    // sprite batch. Throws what ReadData and the GPU layer throw.
    void Initialize();
    // After the G-buffer's targets are made: the blur weights for the new
    // size, the output target (the back buffer's view), the rectangles and
    // the sky box view (throws "invalid map<K, T> key" without one).
    void CreateWindowSizeResources(gpu::RenderTargetView* outputTarget_);
    void Release();
    // The lit frame, drawn with the camera's matrices; the passes' results
    // land in the output target, which is left bound alone.
    void Draw(const Camera& camera, bool bloom);
    // The stencil bit of a G-buffer pixel where a surface was drawn without
    // writing the depth; the frame's clear resets it.
    static constexpr uint8_t SurfaceMark = 1;
    // The depth-stencil state for G-buffer surfaces that write no depth: the
    // depth test of DepthRead and the stencil set to SurfaceMark (bind it
    // with that reference). Null before Initialize.
    gpu::DepthStencilState* MarkingDepthRead() const { return markingDepthRead.get(); }

    // The passes, public so they can be measured one by one.
    void ExtractBloom();
    // The SSAO into the occlusion target.
    void DrawSsao();
    // The depth bounds of the regions, read back by Compose.
    void BoundDepths();
    // The sky and the composition with the lights, into `target`.
    void Compose(const Camera& camera, gpu::RenderTargetView* target);
    void BlurBloom();
    // FXAA and the bloom (when `bloom`) from the scene copy into the output.
    void Finish(bool bloom);

    // Set by Initialize on devices below feature level 11_0: no SSAO.
    static inline bool lowFeatureLevel = false;
    // The "skybox" texture, taken at window-size set-up.
    static inline gpu::ShaderResourceView* skyboxView = nullptr;

private:
    void DrawQuad(gpu::ShaderResourceView* source, const gpu::Rect& destination, gpu::BlendState* blend,
                  const std::function<void()>& setUp);

    // The composition without and with the occlusion read.
    std::shared_ptr<gpu::PixelShader> deferredShader;
    std::shared_ptr<gpu::PixelShader> occludedShader;
    std::shared_ptr<gpu::VertexShader> skyVertexShader;
    std::shared_ptr<gpu::PixelShader> skyShader;
    // Depth tests of the sky (the depth is still 1) and of the composition
    // (something nearer was drawn); neither writes.
    // The sky's also asks for no SurfaceMark; markedFarDepth keeps the
    // marked pixels at the far plane.
    std::shared_ptr<gpu::DepthStencilState> skyDepth;
    std::shared_ptr<gpu::DepthStencilState> surfaceDepth;
    std::shared_ptr<gpu::DepthStencilState> markedFarDepth;
    std::shared_ptr<gpu::DepthStencilState> markingDepthRead;
    std::unique_ptr<TileDepthBounds> depthBounds;
    std::unique_ptr<PostFXBloomExtractShader> bloomExtractShader;
    std::unique_ptr<PostFXGaussianBlurShader> blurShader;
    std::unique_ptr<SpriteBatch> spriteBatch;
    struct GlowTarget
    {
        std::shared_ptr<gpu::RenderTargetView> target;
        std::shared_ptr<gpu::ShaderResourceView> view;
    };

    gpu::Rect fullRectangle;
    gpu::Rect halfRectangle;
    gpu::Rect quarterRectangle;
    std::array<GlowTarget, 2> glowTargets;
    gpu::RenderTargetView* outputTarget = nullptr;
    GeometryBuffer* geometryBuffer;
    PostFXChain* postFX;
};

} // namespace mirefell
