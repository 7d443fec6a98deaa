// PointLights: the process-wide list of dynamic lights and the light pass
// that draws them. Records live in a std::list, so a light's address stays
// valid until it is erased: by Update (its `remove` flag), by Clear (every
// level load) or at exit. Holders of a pointer must drop it at Clear.
// Erased records are not freed: their list nodes move to a spare list that
// Add takes from first, and Reserve fills the spare list at level load, so
// lights made and erased in play (a shot's) allocate nothing.
//
// The light pass: each enabled light is a unit sphere scaled to its range,
// drawn additively into the G-buffer's light target by the point-light
// shaders, which read the normal and depth targets; from outside its sphere
// a light is drawn with CullClockwise, from inside (or on it) with
// CullCounterClockwise. The pixel shader is built twice, once for lights of
// attenuation and once for lights of a fixed radius, and each light is
// drawn with its kind's, so neither pays for the other's falloff. The same object owns the per-frame constants the
// light pass and the composition read, written once a frame by
// PrepareFrame. At most MaxLightsPerFrame lights are drawn a frame, the
// `drawFirst` ones first. Device objects follow Initialize and Release; the
// list itself needs no GPU.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>

#include "platform/gpu/GpuResources.h"
#include "platform/math/Color.h"
#include "render/PointLight.h"

namespace mirefell
{

class Camera;

class PointLights
{
public:
    // Advance of the light phase per play-state update.
    static constexpr float PhaseStep = 0.00025f;
    static constexpr uint32_t MaxLightsPerFrame = 100;
    static constexpr uint32_t FrameConstantBytes = 208;
    static constexpr uint32_t LightConstantBytes = 64;

    static PointLights& GetInstance();
    ~PointLights();

    // Appends a light with the defaults of PointLight and returns it; takes
    // a spare record when there is one, else allocates.
    PointLight& Add();
    // Empties the list (its records become spare); every pointer into it
    // becomes invalid.
    void Clear();
    // Makes spare records until at least `count` are spare.
    void Reserve(size_t count);
    size_t SpareCount() const { return spare.size(); }
    // Once per update in the playing state: erases the lights flagged for
    // removal (they become spare), then advances the light phase (kept within one turn, so it
    // never stalls where a float step would be lost).
    void Update();

    // Device resources: the per-frame buffer, the shader set (vertex and
    // pixel shader, input layout, the two per-light buffers), the sphere.
    // Throws what ReadData and the GPU layer throw.
    void Initialize();
    void Release();
    // At exit: the device objects and every record, spare ones too.
    void Shutdown();

    // Fills the per-frame constants and binds them at pixel slot 0. The
    // ambient colour reaches the composition; the noise intensity scales its
    // film grain, which only in-game frames show.
    void PrepareFrame(const Camera& camera, const Color& ambient, float noiseIntensity, bool inGame);
    // The light pass into the bound target (the light target), with the
    // normal and depth views the caller bound at pixel slots 1 and 2: blend
    // Additive, DepthNone, the sphere, one draw a light.
    void Draw(const Camera& camera);
    // The lights the last Draw drew (tests).
    uint32_t DrawnLightCount() const { return drawnCount; }
    // Whether the frame PrepareFrame last set up shows the SSAO's occlusion
    // (its word in the frame constants): the composition reads the
    // occlusion target only then.
    bool OcclusionShown() const { return occlusionShown; }
    // The per-frame constants PrepareFrame fills.
    gpu::Buffer* FrameConstantBuffer() const { return frameConstants.get(); }

    std::list<PointLight> lights;
    // Turns the sky in the composition; in [0, 2 pi).
    float lightPhase = 0.0f;
    // Set by Initialize on devices below feature level 11_0: no occlusion.
    bool lowFeatureLevel = false;
    // Whether an SSAO effect exists to fill the occlusion target; kept by
    // the post-processing chain that owns the effect. Without one the
    // target holds its clear value (0), which must not darken the frame.
    bool occlusionAvailable = false;

private:
    struct ShaderSet
    {
        std::shared_ptr<gpu::VertexShader> vertexShader;
        std::shared_ptr<gpu::PixelShader> pixelShader;
        std::shared_ptr<gpu::InputLayout> inputLayout;
        // The pixel shader's FIXED_RADIUS variant, for the lights of a fixed
        // radius (the other variant leaves their falloff out).
        std::shared_ptr<gpu::PixelShader> fixedRadiusPixelShader;
        std::shared_ptr<gpu::Buffer> vertexConstants;
        std::shared_ptr<gpu::Buffer> pixelConstants;
    };

    PointLights() = default;
    void DrawLight(const Camera& camera, const PointLight& light);

    std::shared_ptr<gpu::Buffer> frameConstants;
    std::unique_ptr<ShaderSet> shaders;
    std::shared_ptr<gpu::Buffer> sphereVertices;
    uint64_t sphereVertexCount = 0;
    // Erased records, kept for Add; never read.
    std::list<PointLight> spare;
    uint32_t drawnCount = 0;
    bool occlusionShown = false;
};

} // namespace mirefell
