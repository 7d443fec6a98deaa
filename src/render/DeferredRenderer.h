// DeferredRenderer: turns the filled G-buffer into the lit picture in the
// back buffer. Draw runs, in order: the bloom extract (bloom on), the SSAO
// into the occlusion target (when the "ssao" setting is 0 or more and the
// device allows it), the composition through the deferred pixel shader,
// which adds the point lights itself (the light pass draws it region by
// region, PointLights::Draw), the blur of the bloom's glow (bloom on), and
// last the finishing pass of the post-processing chain (FXAA and the bloom
// laid over, PostFXChain::ApplyFxaa). With FXAA or bloom on the composition
// goes into the chain's scene copy and the finishing pass reads it from
// there into the output target, so no pass copies the frame; with both off
// the composition goes straight into the output target. The other quads go
// through the sprite batch in immediate mode with a set-up callback that
// replaces its pixel shader.
//
// Bindings of the passes (pixel-shader texture slots):
//   bloom extract   -> half A      t0 colour
//   composition     -> scene copy  t0 depth, t1 colour, t2 normal, t3 light
//                      or output   (not read), t4 occlusion, t5 sky box;
//                                  b0 frame, b1 the region's lights
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

    // The passes, public so they can be measured one by one.
    void ExtractBloom();
    void DrawSsao();
    // The composition with the lights, into `target`.
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

    std::shared_ptr<gpu::PixelShader> deferredShader;
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
