// SsaoSlot: what the post-processing chain needs of the adaptive SSAO effect
// it owns and feeds: the effect interface, its settings record and its
// per-frame inputs. The effect itself (ASSAODX11, its shader source and
// resources) is built on this interface; until it exists the chain holds no
// effect, draws no occlusion, and the frame constants say so.
#pragma once

#include <cstdint>

#include "platform/math/Matrix.h"

namespace mirefell
{

namespace gpu
{
class Context;
class RenderTargetView;
class ShaderResourceView;
} // namespace gpu

// The settings handed to the effect each frame, in this order.
struct SsaoSettings
{
    float radius = 1.2f;
    float shadowMultiplier = 1.0f;
    float shadowPower = 1.5f;
    float shadowClamp = 0.98f;
    float horizonAngleThreshold = 0.06f;
    float fadeOutFrom = 50.0f;
    float fadeOutTo = 300.0f;
    int32_t qualityLevel = 2;
    float adaptiveQualityLimit = 0.45f;
    int32_t blurPassCount = 2;
    float sharpness = 0.98f;
    float temporalSupersamplingAngleOffset = 0.0f;
    float temporalSupersamplingRadiusOffset = 1.0f;
    float detailShadowStrength = 0.5f;
};

struct ASSAO_Inputs
{
    virtual ~ASSAO_Inputs() = default;
    int32_t scissorLeft = 0, scissorTop = 0, scissorRight = 0, scissorBottom = 0;
    int32_t viewportX = 0, viewportY = 0, viewportWidth = 0, viewportHeight = 0;
    Matrix projectionMatrix;
    bool matricesRowMajorOrder = true;
    float normalsUnpackMul = 2.0f;
    float normalsUnpackAdd = -1.0f;
    bool drawOpaque = false;
};

struct ASSAO_InputsDX11 : ASSAO_Inputs
{
    gpu::Context* deviceContext = nullptr;
    gpu::ShaderResourceView* depthSRV = nullptr;
    gpu::ShaderResourceView* normalSRV = nullptr;
    gpu::RenderTargetView* overrideOutputRTV = nullptr;
};

class ASSAO_Effect
{
public:
    virtual ~ASSAO_Effect() = default;
    virtual void AllocateResources(const ASSAO_Inputs* inputs) = 0;
    virtual void ReleaseResources() = 0;
    virtual uint32_t GetAllocatedMemory() = 0;
    virtual void GetVersion(int& major, int& minor) = 0;
    // Draws the occlusion into the render target bound at the call.
    virtual void Draw(const SsaoSettings& settings, const ASSAO_Inputs* inputs) = 0;
};

} // namespace mirefell
