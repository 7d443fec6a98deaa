// ASSAO_Effect: the adaptive screen-space ambient occlusion as the rest of the
// renderer sees it. The interface, its creation record, its per-frame input
// record and the settings record live here; ASSAODX11 is the one
// implementation, over the GPU layer's Direct3D-style device.
//
// The post-processing chain creates the effect once the device exists, owns
// it and its settings, and draws it once a frame from the deferred renderer
// with the G-buffer's depth view as input and the occlusion target bound as
// the render target. Only the destructor and Draw are called from outside.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/math/Matrix.h"

namespace mirefell
{

namespace gpu
{
class Context;
class Device;
class RenderTargetView;
class ShaderResourceView;
} // namespace gpu

// What the effect is told each frame besides its inputs.
struct SsaoSettings
{
    float radius = 1.2f;                 // world units
    float shadowMultiplier = 1.0f;       // 0 .. 5
    float shadowPower = 1.5f;            // contrast of the result
    float shadowClamp = 0.98f;           // at most this much darkening
    float horizonAngleThreshold = 0.06f; // ignores near-flat occluders
    float fadeOutFrom = 50.0f;           // view distance where the effect starts to fade
    float fadeOutTo = 300.0f;            // and where it is gone
    int32_t qualityLevel = 2;            // 0 low .. 3 adaptive; clamped to that range
    float adaptiveQualityLimit = 0.45f;  // quality 3: the average importance aimed for
    int32_t blurPassCount = 2;           // 0 .. 6
    float sharpness = 0.98f;             // how much the blur respects depth edges
    float temporalSupersamplingAngleOffset = 0.0f;
    float temporalSupersamplingRadiusOffset = 1.0f;
    float detailShadowStrength = 0.5f; // the extra high-frequency term at quality 1 and up
};

// The creation record: which API the implementation is for, and what it
// needs (see ASSAO_CreateDescDX11).
struct ASSAO_CreateDesc
{
    static constexpr int ApiDX11 = 1;

    virtual ~ASSAO_CreateDesc() = default;
    int apiKind = 0;

protected:
    explicit ASSAO_CreateDesc(int apiKind_) : apiKind(apiKind_) {}
};

// The per-frame inputs shared by every implementation. The viewport gives the
// size of the depth input and of the output; its origin is the target's
// top-left corner.
struct ASSAO_Inputs
{
    virtual ~ASSAO_Inputs() = default;

    int scissorLeft = 0;
    int scissorTop = 0;
    int scissorRight = 0;
    int scissorBottom = 0;
    int viewportX = 0;
    int viewportY = 0;
    int viewportWidth = 0;
    int viewportHeight = 0;
    // The camera's projection: right-handed, clip depth 0..1.
    Matrix projectionMatrix;
    // False: projectionMatrix holds the transpose (column order).
    bool matricesRowMajorOrder = true;
    // Turn a normals view's stored values into -1..1 (unused without one).
    float normalsUnpackMul = 2.0f;
    float normalsUnpackAdd = -1.0f;
    // True: the result replaces the target's contents; false: multiplies them.
    bool drawOpaque = false;
};

class ASSAO_Effect
{
public:
    virtual ~ASSAO_Effect() = default;
    // Makes the size-dependent resources for these inputs now instead of at
    // the next Draw.
    virtual void AllocateResources(const ASSAO_Inputs* inputs) = 0;
    virtual void ReleaseResources() = 0;
    // Bytes of video memory the effect's textures take.
    virtual uint32_t GetAllocatedMemory() = 0;
    virtual void GetVersion(int& major, int& minor) = 0;
    // Draws the occlusion for `inputs` with `settings`.
    virtual void Draw(const SsaoSettings& settings, const ASSAO_Inputs* inputs) = 0;
};

} // namespace mirefell
