// DeferredRenderer: turns the filled G-buffer into the lit picture in the
// back buffer. Draw runs, in order: the bloom extract into half-size target
// A (bloom on), the SSAO into the occlusion target (when the "ssao" setting
// is 0 or more and the device allows it), the point lights into the light
// target (PointLights::Draw), the composition into the output target through
// the deferred pixel shader, FXAA (PostFXChain::ApplyFxaa), and with bloom
// the two blur passes at half size (the second added onto target A) and the
// overlay of target A over the frame. The full-screen quads go through the
// sprite batch in immediate mode, with a set-up callback that replaces its
// pixel shader.
//
// Bindings of the passes (pixel-shader texture slots; t0 is the quad's own):
//   bloom extract  -> half A      t0 colour
//   SSAO           -> occlusion   (the SSAO's own)
//   point lights   -> light       t1 normal, t2 depth; b0 frame, b1 per light
//   composition    -> output      t0 depth, t1 colour, t2 normal, t3 light,
//                                 t4 occlusion, t5 sky box; b0 frame
//   blur 1         -> half B      t0 half A; b0 horizontal weights (opaque)
//   blur 2         -> half A      t0 half B; b0 vertical weights (additive)
//   bloom overlay  -> output      t0 half A (premultiplied over the frame)
// Every target is bound alone, with no depth view. The G-buffer and the
// chain are not owned; Core owns all three.
#pragma once

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

    // The passes of Draw, in its order, public so they can be measured one
    // by one.
    void ExtractBloom();
    void DrawSsao();
    void DrawLights(const Camera& camera);
    void Compose();
    void BlurBloom();

    // Set by Initialize on devices below feature level 11_0: no SSAO.
    static inline bool lowFeatureLevel = false;
    // The "skybox" texture, taken at window-size set-up.
    static inline gpu::ShaderResourceView* skyboxView = nullptr;

private:
    void DrawQuad(gpu::ShaderResourceView* source, const gpu::Rect& destination, gpu::BlendState* blend,
                  const std::function<void()>& setUp);

    // The deferred pixel shader, built without and with the occlusion read:
    // a frame without SSAO does not read the occlusion target.
    std::shared_ptr<gpu::PixelShader> deferredShader;
    std::shared_ptr<gpu::PixelShader> occludedShader;
    std::unique_ptr<PostFXBloomExtractShader> bloomExtractShader;
    std::unique_ptr<PostFXGaussianBlurShader> blurShader;
    std::unique_ptr<SpriteBatch> spriteBatch;
    gpu::Rect fullRectangle;
    gpu::Rect halfRectangle;
    gpu::RenderTargetView* outputTarget = nullptr;
    GeometryBuffer* geometryBuffer;
    PostFXChain* postFX;
};

} // namespace mirefell
