// ASSAOConstants: the 240-byte constant block every pass of the adaptive SSAO
// reads at pixel-shader slot 0 (std140, "ASSAOConstants_b0" in
// assets/shaders/ASSAO.glsl; the two layouts must match byte for byte), and
// the function that fills it from the settings, the inputs and the pass.
// Plain arithmetic with no GPU, so it is tested on its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirefell
{

struct SsaoSettings;
struct ASSAO_Inputs;

struct ASSAOConstants
{
    float viewportPixelSize[2];     // 1 / full size
    float halfViewportPixelSize[2]; // 1 / half size
    // View depth from stored depth d: x / (y - d).
    float depthUnpackConsts[2];
    float cameraTanHalfFOV[2];
    // View position from a screen position (0..1, top-left origin) and a
    // view depth z: (uv * mul + add) * z, with y up.
    float ndcToViewMul[2];
    float ndcToViewAdd[2];
    int32_t perPassFullResCoordOffset[2]; // where the pass's layer sits in each 2 x 2 block
    float perPassFullResUVOffset[2];
    float viewport2xPixelSize[2];
    float viewport2xPixelSize_x_025[2];
    float effectRadius;
    float effectShadowStrength;
    float effectShadowPow;
    float effectShadowClamp;
    float effectFadeOutMul;
    float effectFadeOutAdd;
    float effectHorizonAngleThreshold;
    float effectSamplingRadiusNearLimitRec;
    float depthPrecisionOffsetMod;
    float negRecEffectRadius;
    // The level of the importance map's mip chain that is 1 x 1: its one
    // texel is the average importance the adaptive pass limits itself by.
    float importanceAverageLevel;
    float adaptiveSampleCountLimit;
    float invSharpness;
    int32_t passIndex;
    float quarterResPixelSize[2];
    float patternRotScaleMatrices[5][4]; // a 2 x 2 rotation and scale per pseudo-random index
    float normalsUnpackMul;              // for a caller's normals view
    float normalsUnpackAdd;
    float detailAOStrength;
    float unused;
};
static_assert(sizeof(ASSAOConstants) == 240, "the shader's block is 240 bytes");
static_assert(offsetof(ASSAOConstants, patternRotScaleMatrices) == 144, "std140 places the vec4 array at 144");

// The sizes the passes work at: full = the viewport, half and quarter
// rounded up ((n + 1) / 2), so every full-size pixel has a half-size one.
struct ASSAOSizes
{
    int32_t fullWidth = 0;
    int32_t fullHeight = 0;
    int32_t halfWidth = 0;
    int32_t halfHeight = 0;
    int32_t quarterWidth = 0;
    int32_t quarterHeight = 0;
    uint32_t importanceMipLevels = 1; // the quarter-size chain down to 1 x 1

    static ASSAOSizes ForViewport(int32_t width, int32_t height);
};

// Fills the block for `pass` (0..3, the deinterleaved layer). The quality
// level is the settings' clamped to 0..3.
void FillASSAOConstants(ASSAOConstants& constants, const SsaoSettings& settings, const ASSAO_Inputs& inputs,
                        const ASSAOSizes& sizes, int pass);

} // namespace mirefell
