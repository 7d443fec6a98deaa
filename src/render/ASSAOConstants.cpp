// ASSAOConstants: the per-pass constants of the adaptive SSAO.
#include "render/ASSAOConstants.h"

#include <algorithm>
#include <cmath>

#include "render/ASSAO_Effect.h"

namespace mirefell
{

namespace
{

// Stored depths are nudged toward the camera by this factor before they are
// compared, against the imprecision of 16-bit view depths.
constexpr float DepthPrecisionOffsetMod = 0.9992f;
// The sampling disk stops growing on screen once the surface is nearer than
// this many radii (before the field-of-view correction).
constexpr float SamplingRadiusNearLimit = 1.2f;
constexpr int RotationCount = 5;

} // namespace

ASSAOSizes ASSAOSizes::ForViewport(int32_t width, int32_t height)
{
    ASSAOSizes sizes;
    sizes.fullWidth = std::max(width, 1);
    sizes.fullHeight = std::max(height, 1);
    sizes.halfWidth = (sizes.fullWidth + 1) / 2;
    sizes.halfHeight = (sizes.fullHeight + 1) / 2;
    sizes.quarterWidth = (sizes.halfWidth + 1) / 2;
    sizes.quarterHeight = (sizes.halfHeight + 1) / 2;
    sizes.importanceMipLevels = 1;
    for (int32_t side = std::max(sizes.quarterWidth, sizes.quarterHeight); side > 1; side /= 2)
        ++sizes.importanceMipLevels;
    return sizes;
}

void FillASSAOConstants(ASSAOConstants& c, const SsaoSettings& settings, const ASSAO_Inputs& inputs,
                        const ASSAOSizes& sizes, int pass)
{
    const int quality = std::clamp(settings.qualityLevel, 0, 3);
    const auto& m = inputs.projectionMatrix.m;
    // Element (row, column) of the projection in row-vector form.
    auto projection = [&](int row, int column) {
        return inputs.matricesRowMajorOrder ? m[row][column] : m[column][row];
    };

    c.viewportPixelSize[0] = 1.0f / static_cast<float>(sizes.fullWidth);
    c.viewportPixelSize[1] = 1.0f / static_cast<float>(sizes.fullHeight);
    c.halfViewportPixelSize[0] = 1.0f / static_cast<float>(sizes.halfWidth);
    c.halfViewportPixelSize[1] = 1.0f / static_cast<float>(sizes.halfHeight);

    // Clip depth d = (z * m22 + m32) / w with w = -z for a right-handed
    // projection; with the positive view depth D = -z, D = -m32 / (-m22 - d).
    // A left-handed projection has the other signs, hence the check.
    const float depthLinearizeMul = -projection(3, 2);
    float depthLinearizeAdd = projection(2, 2);
    if (depthLinearizeMul * depthLinearizeAdd < 0)
        depthLinearizeAdd = -depthLinearizeAdd;
    c.depthUnpackConsts[0] = depthLinearizeMul;
    c.depthUnpackConsts[1] = depthLinearizeAdd;

    const float tanHalfFOVY = 1.0f / projection(1, 1);
    const float tanHalfFOVX = 1.0f / projection(0, 0);
    c.cameraTanHalfFOV[0] = tanHalfFOVX;
    c.cameraTanHalfFOV[1] = tanHalfFOVY;
    c.ndcToViewMul[0] = tanHalfFOVX * 2.0f;
    c.ndcToViewMul[1] = tanHalfFOVY * -2.0f;
    c.ndcToViewAdd[0] = tanHalfFOVX * -1.0f;
    c.ndcToViewAdd[1] = tanHalfFOVY * 1.0f;

    c.perPassFullResCoordOffset[0] = pass % 2;
    c.perPassFullResCoordOffset[1] = pass / 2;
    c.perPassFullResUVOffset[0] = static_cast<float>(pass % 2) * c.viewportPixelSize[0];
    c.perPassFullResUVOffset[1] = static_cast<float>(pass / 2) * c.viewportPixelSize[1];
    c.viewport2xPixelSize[0] = c.viewportPixelSize[0] * 2.0f;
    c.viewport2xPixelSize[1] = c.viewportPixelSize[1] * 2.0f;
    c.viewport2xPixelSize_x_025[0] = c.viewport2xPixelSize[0] * 0.25f;
    c.viewport2xPixelSize_x_025[1] = c.viewport2xPixelSize[1] * 0.25f;

    c.effectRadius = std::clamp(settings.radius, 0.0f, 100000.0f);
    c.effectShadowStrength = std::clamp(settings.shadowMultiplier * 4.3f, 0.0f, 10.0f);
    c.effectShadowPow = std::clamp(settings.shadowPower, 0.0f, 10.0f);
    c.effectShadowClamp = std::clamp(settings.shadowClamp, 0.0f, 1.0f);
    // Fade = clamp(z * mul + add): 1 up to fadeOutFrom, 0 from fadeOutTo.
    const float fadeRange = std::max(settings.fadeOutTo - settings.fadeOutFrom, 1e-4f);
    c.effectFadeOutMul = -1.0f / fadeRange;
    c.effectFadeOutAdd = settings.fadeOutFrom / fadeRange + 1.0f;
    c.effectHorizonAngleThreshold = std::clamp(settings.horizonAngleThreshold, 0.0f, 1.0f);

    float nearLimit = settings.radius * SamplingRadiusNearLimit;
    if (quality == 0)
        nearLimit *= 1.5f;    // the cheapest level keeps a wider disk up close
    nearLimit /= tanHalfFOVY; // the same look whatever the field of view
    c.effectSamplingRadiusNearLimitRec = nearLimit > 0 ? 1.0f / nearLimit : 0.0f;
    c.depthPrecisionOffsetMod = DepthPrecisionOffsetMod;
    c.negRecEffectRadius = c.effectRadius > 0 ? -1.0f / c.effectRadius : 0.0f;
    c.importanceAverageLevel = static_cast<float>(sizes.importanceMipLevels - 1);
    c.adaptiveSampleCountLimit = settings.adaptiveQualityLimit;
    c.invSharpness = std::clamp(1.0f - settings.sharpness, 0.0f, 1.0f);
    c.passIndex = pass;
    c.quarterResPixelSize[0] = 1.0f / static_cast<float>(sizes.quarterWidth);
    c.quarterResPixelSize[1] = 1.0f / static_cast<float>(sizes.quarterHeight);

    // Five rotations of the sampling disk per layer, spread over the four
    // layers so that each 2 x 2 block of the picture sees twenty directions,
    // with slightly different scales.
    constexpr int order[RotationCount] = {0, 1, 4, 3, 2};
    for (int sub = 0; sub < RotationCount; ++sub) {
        const int b = order[sub];
        const float angle = (static_cast<float>(pass) + static_cast<float>(b) / RotationCount) * 3.14159265f * 0.5f +
                            settings.temporalSupersamplingAngleOffset;
        const float scale = (1.0f + (static_cast<float>(pass) - 1.5f +
                                     (static_cast<float>(b) - (RotationCount - 1.0f) * 0.5f) / RotationCount) *
                                        0.07f) *
                            settings.temporalSupersamplingRadiusOffset;
        const float ca = std::cos(angle);
        const float sa = std::sin(angle);
        c.patternRotScaleMatrices[sub][0] = scale * ca;
        c.patternRotScaleMatrices[sub][1] = scale * -sa;
        c.patternRotScaleMatrices[sub][2] = -scale * sa;
        c.patternRotScaleMatrices[sub][3] = -scale * ca;
    }

    c.normalsUnpackMul = inputs.normalsUnpackMul;
    c.normalsUnpackAdd = inputs.normalsUnpackAdd;
    c.detailAOStrength = settings.detailShadowStrength;
    c.unused = 0.0f;
}

} // namespace mirefell
