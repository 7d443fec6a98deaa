// PointLights: the process-wide list of dynamic lights and the light pass
// that draws them. Records live in a std::list, so a light's address stays
// valid until it is erased: by Update (its `remove` flag), by Clear (every
// level load) or at exit. Holders of a pointer must drop it at Clear.
// Erased records are not freed: their list nodes move to a spare list that
// Add takes from first, and Reserve fills the spare list at level load, so
// lights made and erased in play (a shot's) allocate nothing.
//
// The light pass: lights are shaded by the composition itself, which reads
// the G-buffer once per pixel and adds every light that reaches the pixel.
// Draw cuts the window into regions (LightGrid), lists for each the lights
// whose sphere of `range` meets it, and draws the composition region by
// region with that list in the region's constants, so a pixel pays only for
// the lights near it, never for one sphere per light. The same object owns
// the per-frame constants the composition reads, written once a frame by
// PrepareFrame. At most MaxLightsPerFrame lights are shaded a frame, the
// `drawFirst` ones first. Device objects follow Initialize and Release; the
// list itself needs no GPU.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <span>

#include "platform/gpu/GpuResources.h"
#include "platform/math/Color.h"
#include "render/LightConstants.h"
#include "render/LightGrid.h"
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
    static_assert(MaxLightsPerFrame == LightGrid::MaxLights && MaxLightsPerFrame == RegionLightConstants::MaxLights);
    static constexpr uint32_t FrameConstantBytes = 208;

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

    // Device resources: the per-frame buffer, the region vertex shader and
    // the region constants. Throws what ReadData and the GPU layer throw.
    void Initialize();
    void Release();
    // At exit: the device objects and every record, spare ones too.
    void Shutdown();

    // Fills the per-frame constants and binds them at pixel slot 0. The
    // ambient colour reaches the composition; the noise intensity scales its
    // film grain, which only in-game frames show.
    void PrepareFrame(const Camera& camera, const Color& ambient, float noiseIntensity, bool inGame);
    // The light pass: draws the window (ScreenWidth x ScreenHeight) region
    // by region through the pixel shader the caller bound (the composition),
    // with this frame's lights that may reach each region in its constants
    // (RegionLightConstants at vertex slot 0 and pixel slot 1) and the frame
    // constants at pixel slot 0. `depths`, when given (one range per region
    // of the grid, TileDepthBounds), narrows each list to the lights that
    // reach the depths the region shows, and regions that show nothing are
    // not drawn. Each region's quad lies at the far plane (depth 1), so the
    // caller's depth test can keep it to the pixels where something was
    // drawn. Sets the vertex shader, input layout, topology, rasterizer and
    // blend (opaque) states; the caller binds the target, the depth-stencil
    // state, the textures and the sampler.
    void Draw(const Camera& camera, std::span<const LightGrid::DepthRange> depths = {});
    // One quad over the whole window at the far plane with no lights, for
    // the pixels the caller's depth-stencil test keeps; after Draw, with its
    // bindings.
    void DrawWindowUnlit();
    // The lights Draw last shaded, in drawing order, and its regions (tests).
    uint32_t ShadedLightCount() const { return shadedCount; }
    uint32_t DrawnRegionCount() const { return drawnRegions; }
    // Whether the frame PrepareFrame last set up shows the SSAO's occlusion
    // (the composition reads the occlusion target only then).
    bool OcclusionShown() const { return occlusionShown; }
    // The per-frame constants PrepareFrame fills (the sky reads them too).
    gpu::Buffer* FrameConstantBuffer() const { return frameConstants.get(); }
    const LightGrid& Grid() const { return grid; }

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
    PointLights() = default;
    // This frame's lights in drawing order: the enabled `drawFirst` ones,
    // then the other enabled ones, at most MaxLightsPerFrame.
    void ChooseLights();
    void DrawRegion(uint32_t region);
    // Fills the region constants with a rectangle in pixels and draws it.
    void DrawRect(const gpu::Rect& rect, std::span<const uint8_t> list);

    std::shared_ptr<gpu::Buffer> frameConstants;
    std::shared_ptr<gpu::VertexShader> regionShader;
    std::shared_ptr<gpu::Buffer> regionConstants;
    // Erased records, kept for Add; never read.
    std::list<PointLight> spare;
    LightGrid grid;
    std::array<ShadedLight, MaxLightsPerFrame> shaded{};
    std::array<LightGrid::Sphere, MaxLightsPerFrame> spheres{};
    uint32_t shadedCount = 0;
    uint32_t drawnRegions = 0;
    bool occlusionShown = false;
};

} // namespace mirefell
