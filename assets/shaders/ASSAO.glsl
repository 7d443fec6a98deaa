#version 330 core
// Adaptive screen-space ambient occlusion: every pass of the effect in one
// source, compiled at run time once per entry point. The program defines the
// entry's name (VSMain, PSPrepareDepths, PSGenerateQ2, ...) and these macros
// before the first line after #version:
//   SSAO_MAX_TAPS, SSAO_MAX_REF_TAPS, SSAO_ADAPTIVE_TAP_BASE_COUNT,
//   SSAO_ADAPTIVE_TAP_FLEXIBLE_COUNT, SSAO_DEPTH_MIP_LEVELS,
//   SSAO_ENABLE_NORMAL_WORLD_TO_VIEW_CONVERSION.
//
// The occlusion is computed at half resolution on four deinterleaved layers
// (layer i holds the full-resolution pixels at offset (i % 2, i / 2) of every
// 2 x 2 block), blurred per layer with depth-aware weights and put back
// together at full resolution by the apply pass. Quality 3 first runs a cheap
// base pass, builds an importance map from how much the base result varies,
// and spends up to SSAO_MAX_TAPS taps only where it matters, limited by the
// map's average (the 1 x 1 level of its mip chain).
//
// Screen positions are 0..1 from the top-left corner; gl_FragCoord counts
// rows from the top. View space: x right, y up, z the positive distance into
// the screen. Point reads go through point samplers at texel centres (on
// llvmpipe that costs less than texelFetch, and the sampler's addressing
// takes care of texels outside); every read uses the sampler slot its name
// carries: s0 point clamp, s1 trilinear clamp, s2 point mirror, s3 the point
// depth-tap sampler.
//
// Resource slots: t0 depth input or view depths, t1 normals (the caller's,
// or the four layers' as an array), t2 the blur input, t3 the importance
// map, t4 the four finished layers (an array).

#ifndef SSAO_MAX_TAPS
#error "the program defines the SSAO macros"
#endif

#define SSAO_NORMAL_BASED_EDGES_ENABLE_AT_QUALITY_PRESET 2
#define SSAO_NORMAL_BASED_EDGES_DOT_THRESHOLD 0.5
#define SSAO_DETAIL_AO_ENABLE_AT_QUALITY_PRESET 1
#define SSAO_DEPTH_MIPS_ENABLE_AT_QUALITY_PRESET 2
#define SSAO_DEPTH_MIPS_GLOBAL_OFFSET -4.3
#define SSAO_DEPTH_BASED_EDGES_ENABLE_AT_QUALITY_PRESET 1
#define SSAO_HALOING_REDUCTION_ENABLE_AT_QUALITY_PRESET 1
#define SSAO_HALOING_REDUCTION_AMOUNT 0.6

#ifdef VSMain

in vec4 SV_Position0;
in vec2 TEXCOORD0;
out vec2 Texcoord;

void main()
{
    gl_Position = SV_Position0;
    Texcoord = TEXCOORD0;
}

#else // pixel stages

layout(std140) uniform ASSAOConstants_b0
{
    vec2 ViewportPixelSize;
    vec2 HalfViewportPixelSize;
    vec2 DepthUnpackConsts;
    vec2 CameraTanHalfFOV;
    vec2 NDCToViewMul;
    vec2 NDCToViewAdd;
    ivec2 PerPassFullResCoordOffset;
    vec2 PerPassFullResUVOffset;
    vec2 Viewport2xPixelSize;
    vec2 Viewport2xPixelSize_x_025;
    float EffectRadius;
    float EffectShadowStrength;
    float EffectShadowPow;
    float EffectShadowClamp;
    float EffectFadeOutMul;
    float EffectFadeOutAdd;
    float EffectHorizonAngleThreshold;
    float EffectSamplingRadiusNearLimitRec;
    float DepthPrecisionOffsetMod;
    float NegRecEffectRadius;
    float ImportanceAverageLevel;
    float AdaptiveSampleCountLimit;
    float InvSharpness;
    int PassIndex;
    vec2 QuarterResPixelSize;
    vec4 PatternRotScaleMatrices[5];
    float NormalsUnpackMul;
    float NormalsUnpackAdd;
    float DetailAOStrength;
    float Unused;
}
g;

float saturate(float v)
{
    return clamp(v, 0.0, 1.0);
}

vec4 saturate(vec4 v)
{
    return clamp(v, 0.0, 1.0);
}

// The texel at `at` (whole texel coordinates) through a point sampler.
vec4 PointRead(sampler2D image, vec2 at, vec2 pixelSize)
{
    return textureLod(image, (at + 0.5) * pixelSize, 0.0);
}

vec4 PointRead(sampler2DArray image, vec2 at, int slice, vec2 pixelSize)
{
    return textureLod(image, vec3((at + 0.5) * pixelSize, float(slice)), 0.0);
}

float ScreenSpaceToViewSpaceDepth(float screenDepth)
{
    return g.DepthUnpackConsts.x / (g.DepthUnpackConsts.y - screenDepth);
}

vec3 NDCToViewspace(vec2 pos, float viewspaceDepth)
{
    return vec3((g.NDCToViewMul * pos + g.NDCToViewAdd) * viewspaceDepth, viewspaceDepth);
}

// 1 where a neighbour continues the centre's surface, 0 across a depth edge;
// a plane sloped away from the camera is not an edge.
vec4 CalculateEdges(float centerZ, float leftZ, float rightZ, float topZ, float bottomZ)
{
    vec4 edgesLRTB = vec4(leftZ, rightZ, topZ, bottomZ) - centerZ;
    vec4 edgesLRTBSlopeAdjusted = edgesLRTB + edgesLRTB.yxwz;
    edgesLRTB = min(abs(edgesLRTB), abs(edgesLRTBSlopeAdjusted));
    return saturate(1.3 - edgesLRTB / (centerZ * 0.040));
}

// Four edge values of 0..1 in two bits each, in one 8-bit channel.
float PackEdges(vec4 edgesLRTB)
{
    edgesLRTB = round(saturate(edgesLRTB) * 3.05);
    return dot(edgesLRTB, vec4(64.0 / 255.0, 16.0 / 255.0, 4.0 / 255.0, 1.0 / 255.0));
}

vec4 UnpackEdges(float packedValue)
{
    uint bits = uint(packedValue * 255.5);
    vec4 edgesLRTB = vec4(float((bits >> 6u) & 3u), float((bits >> 4u) & 3u), float((bits >> 2u) & 3u),
                          float(bits & 3u)) / 3.0;
    return saturate(edgesLRTB + g.InvSharpness);
}

// How strongly the point at hitDelta from a pixel hides the sky above it.
float CalculatePixelObscurance(vec3 pixelNormal, vec3 hitDelta, float falloffCalcMulSq)
{
    float lengthSq = dot(hitDelta, hitDelta);
    float NdotD = dot(pixelNormal, hitDelta) / sqrt(lengthSq);
    float falloffMult = max(0.0, lengthSq * falloffCalcMulSq + 1.0);
    return max(0.0, NdotD - g.EffectHorizonAngleThreshold) * falloffMult;
}

// The effect radius at a view distance (smaller up close, where the disk would
// cover the screen), the sampling disk's radius in half-resolution pixels and
// the falloff factor.
void CalculateRadiusParameters(float pixCenterLength, vec2 pixelDirRBViewspaceSizeAtCenterZ,
                               out float pixLookupRadiusMod, out float effectRadius, out float falloffCalcMulSq)
{
    effectRadius = g.EffectRadius;
    float tooCloseLimitMod = saturate(pixCenterLength * g.EffectSamplingRadiusNearLimitRec) * 0.8 + 0.2;
    effectRadius *= tooCloseLimitMod;
    // 0.85 leaves room for samples on a slope to stay within the radius.
    pixLookupRadiusMod = (0.85 * effectRadius) / pixelDirRBViewspaceSizeAtCenterZ.x;
    falloffCalcMulSq = -1.0 / (effectRadius * effectRadius);
}

#if defined(PSPrepareDepths) || defined(PSPrepareDepthsAndNormals)

// Half resolution: the four view depths of each 2 x 2 block of the depth
// input, one per layer, and the four pixels' view-space normals, one per
// slice of the normals array (eight targets in place of an unordered-access
// write). PSPrepareDepthsAndNormals makes the normals from depth,
// PSPrepareDepths takes them from the caller's normals (t1).
uniform sampler2D g_DepthSource_t0_s0;
layout(location = 0) out float Out0;
layout(location = 1) out float Out1;
layout(location = 2) out float Out2;
layout(location = 3) out float Out3;
layout(location = 4) out vec4 Normal0;
layout(location = 5) out vec4 Normal1;
layout(location = 6) out vec4 Normal2;
layout(location = 7) out vec4 Normal3;

float LoadDepth(vec2 at)
{
    return ScreenSpaceToViewSpaceDepth(PointRead(g_DepthSource_t0_s0, at, g.ViewportPixelSize).x);
}

vec4 EncodeNormal(vec3 normal)
{
    return vec4(normal * 0.5 + 0.5, 0.0);
}

#if defined(PSPrepareDepthsAndNormals)

vec3 CalculateNormal(vec4 edgesLRTB, vec3 pixCenterPos, vec3 pixLPos, vec3 pixRPos, vec3 pixTPos, vec3 pixBPos)
{
    vec4 acceptedNormals = vec4(edgesLRTB.x * edgesLRTB.z, edgesLRTB.z * edgesLRTB.y, edgesLRTB.y * edgesLRTB.w,
                                edgesLRTB.w * edgesLRTB.x);
    pixLPos = normalize(pixLPos - pixCenterPos);
    pixRPos = normalize(pixRPos - pixCenterPos);
    pixTPos = normalize(pixTPos - pixCenterPos);
    pixBPos = normalize(pixBPos - pixCenterPos);
    vec3 pixelNormal = vec3(0.0, 0.0, -0.0005);
    pixelNormal += acceptedNormals.x * cross(pixLPos, pixTPos);
    pixelNormal += acceptedNormals.y * cross(pixTPos, pixRPos);
    pixelNormal += acceptedNormals.z * cross(pixRPos, pixBPos);
    pixelNormal += acceptedNormals.w * cross(pixBPos, pixLPos);
    return normalize(pixelNormal);
}

// The normal of the pixel at `at` of the 4 x 4 neighbourhood `z` (rows top
// first, the 2 x 2 block at 1..2); corners are not needed.
vec3 NormalAt(ivec2 at, float z[16], vec2 pixel)
{
    float c = z[at.y * 4 + at.x];
    float l = z[at.y * 4 + at.x - 1];
    float r = z[at.y * 4 + at.x + 1];
    float t = z[(at.y - 1) * 4 + at.x];
    float b = z[(at.y + 1) * 4 + at.x];
    vec2 uv = (pixel + 0.5) * g.ViewportPixelSize;
    vec3 center = NDCToViewspace(uv, c);
    vec3 left = NDCToViewspace(uv - vec2(g.ViewportPixelSize.x, 0.0), l);
    vec3 right = NDCToViewspace(uv + vec2(g.ViewportPixelSize.x, 0.0), r);
    vec3 top = NDCToViewspace(uv - vec2(0.0, g.ViewportPixelSize.y), t);
    vec3 bottom = NDCToViewspace(uv + vec2(0.0, g.ViewportPixelSize.y), b);
    return CalculateNormal(CalculateEdges(c, l, r, t, b), center, left, right, top, bottom);
}

#else

uniform sampler2D g_NormalmapSource_t1_s0;

vec3 LoadInputNormal(vec2 at)
{
    return PointRead(g_NormalmapSource_t1_s0, at, g.ViewportPixelSize).xyz * g.NormalsUnpackMul + g.NormalsUnpackAdd;
}

#endif

void main()
{
    vec2 baseCoords = floor(gl_FragCoord.xy) * 2.0;
#if defined(PSPrepareDepthsAndNormals)
    // The block and its four-neighbours: twelve texel reads for four
    // depths and four normals.
    float z[16];
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            if ((x == 0 || x == 3) && (y == 0 || y == 3))
                z[y * 4 + x] = 0.0;
            else
                z[y * 4 + x] = LoadDepth(baseCoords + vec2(x - 1, y - 1));
    Out0 = z[5];
    Out1 = z[6];
    Out2 = z[9];
    Out3 = z[10];
    Normal0 = EncodeNormal(NormalAt(ivec2(1, 1), z, baseCoords));
    Normal1 = EncodeNormal(NormalAt(ivec2(2, 1), z, baseCoords + vec2(1, 0)));
    Normal2 = EncodeNormal(NormalAt(ivec2(1, 2), z, baseCoords + vec2(0, 1)));
    Normal3 = EncodeNormal(NormalAt(ivec2(2, 2), z, baseCoords + vec2(1, 1)));
#else
    Out0 = LoadDepth(baseCoords);
    Out1 = LoadDepth(baseCoords + vec2(1, 0));
    Out2 = LoadDepth(baseCoords + vec2(0, 1));
    Out3 = LoadDepth(baseCoords + vec2(1, 1));
    Normal0 = EncodeNormal(LoadInputNormal(baseCoords));
    Normal1 = EncodeNormal(LoadInputNormal(baseCoords + vec2(1, 0)));
    Normal2 = EncodeNormal(LoadInputNormal(baseCoords + vec2(0, 1)));
    Normal3 = EncodeNormal(LoadInputNormal(baseCoords + vec2(1, 1)));
#endif
}

#elif defined(PSPrepareDepthMip1) || defined(PSPrepareDepthMip2) || defined(PSPrepareDepthMip3)

// One level down the four layers' depth chains: each texel is a weighted
// average of the 2 x 2 it covers that favours the nearest depth, so thin
// near geometry does not vanish from the coarse levels. t0..t3 view the level
// above as their level 0.
uniform sampler2D g_DepthMip0_t0_s0;
uniform sampler2D g_DepthMip1_t1_s0;
uniform sampler2D g_DepthMip2_t2_s0;
uniform sampler2D g_DepthMip3_t3_s0;
layout(location = 0) out float Out0;
layout(location = 1) out float Out1;
layout(location = 2) out float Out2;
layout(location = 3) out float Out3;

float Downsample(sampler2D above, vec2 baseCoords)
{
    vec2 pixelSize = 1.0 / vec2(textureSize(above, 0));
    vec4 depths = vec4(PointRead(above, baseCoords, pixelSize).x, PointRead(above, baseCoords + vec2(1, 0), pixelSize).x,
                       PointRead(above, baseCoords + vec2(0, 1), pixelSize).x,
                       PointRead(above, baseCoords + vec2(1, 1), pixelSize).x);
    float closest = min(min(depths.x, depths.y), min(depths.z, depths.w));
    float unusedLookup;
    float unusedRadius;
    float falloffCalcMulSq;
    CalculateRadiusParameters(abs(closest), vec2(1.0), unusedLookup, unusedRadius, falloffCalcMulSq);
    vec4 dists = depths - closest;
    vec4 weights = saturate(dists * dists * falloffCalcMulSq + 1.0);
    return dot(weights, depths) / dot(weights, vec4(1.0));
}

void main()
{
    vec2 baseCoords = floor(gl_FragCoord.xy) * 2.0;
    Out0 = Downsample(g_DepthMip0_t0_s0, baseCoords);
    Out1 = Downsample(g_DepthMip1_t1_s0, baseCoords);
    Out2 = Downsample(g_DepthMip2_t2_s0, baseCoords);
    Out3 = Downsample(g_DepthMip3_t3_s0, baseCoords);
}

#elif defined(PSGenerateQ0) || defined(PSGenerateQ1) || defined(PSGenerateQ2) || defined(PSGenerateQ3) || defined(PSGenerateQ3Base)

// Half resolution, one layer: the occlusion of each pixel from taps of a
// rotated disk of samples (each tap read twice, at +offset and -offset), and
// at quality 1 and up the four depth edges the blur and the apply respect.

#if defined(PSGenerateQ0)
const int qualityLevel = 0;
#elif defined(PSGenerateQ1)
const int qualityLevel = 1;
#elif defined(PSGenerateQ2)
const int qualityLevel = 2;
#else
const int qualityLevel = 3;
#endif
#if defined(PSGenerateQ3Base)
const bool adaptiveBase = true;
#else
const bool adaptiveBase = false;
#endif

uniform sampler2D g_ViewspaceDepthSource_t0_s3;
uniform sampler2DArray g_Normals_t1_s0;
#if defined(PSGenerateQ3)
uniform sampler2D g_ImportanceMap_t3_s1;
uniform sampler2DArray g_FinalSSAO_t4_s0;
#endif
layout(location = 0) out vec4 Target0;

// Taps per quality level (quality 3 counts from the adaptive base).
const int numTaps[4] = int[4](3, 5, 12, SSAO_ADAPTIVE_TAP_BASE_COUNT);

// The sampling disk: x, y in the unit disk, a weight, log2 of the length
// (which depth mip the tap reads). Any prefix covers the disk evenly.
const vec4 samplePatternMain[32] = vec4[32](
    vec4(0.676839, 0.286163, 1.00, -0.444484), vec4(-0.524600, 0.186533, 1.00, -0.844830),
    vec4(0.411065, -0.775259, 1.00, -0.188535), vec4(0.111000, 0.427410, 1.00, -1.179227),
    vec4(-0.679143, -0.440188, 1.00, -0.305217), vec4(0.642899, -0.108079, 1.00, -0.617233),
    vec4(-0.578726, 0.741671, 1.00, -0.088125), vec4(-0.029270, -0.369653, 1.00, -1.431248),
    vec4(0.565503, 0.526979, 1.00, -0.371495), vec4(-0.606196, -0.005165, 1.00, -0.722092),
    vec4(0.675974, -0.608736, 1.00, -0.136584), vec4(-0.048194, 0.500177, 1.00, -0.992822),
    vec4(-0.507855, -0.674228, 1.00, -0.244519), vec4(0.682948, 0.126814, 1.00, -0.525700),
    vec4(-0.823548, 0.514070, 1.00, -0.042718), vec4(0.088321, -0.317725, 1.00, -1.600456),
    vec4(0.341880, 0.672211, 1.00, -0.407067), vec4(-0.544985, -0.204307, 1.00, -0.780854),
    vec4(0.828989, -0.333957, 1.00, -0.162092), vec4(-0.204132, 0.426709, 1.00, -1.080020),
    vec4(-0.240744, -0.791070, 1.00, -0.274230), vec4(0.579916, 0.342707, 1.00, -0.570015),
    vec4(-0.935322, 0.197289, 1.00, -0.065064), vec4(0.237335, -0.331545, 1.00, -1.294287),
    vec4(0.095008, 0.785636, 1.00, -0.337595), vec4(-0.477860, -0.409755, 1.00, -0.667759),
    vec4(0.924840, -0.030354, 1.00, -0.111948), vec4(-0.379087, 0.370868, 1.00, -0.915037),
    vec4(0.047095, -0.859670, 1.00, -0.215984), vec4(0.453424, 0.552862, 1.00, -0.483950),
    vec4(-0.975564, -0.139733, 1.00, -0.021043), vec4(0.253658, -0.173300, 1.00, -1.702726));

// This layer's normal at a half-resolution position (clamped to the layer).
vec3 LoadNormal(vec2 at)
{
    return PointRead(g_Normals_t1_s0, at, g.PassIndex, g.HalfViewportPixelSize).xyz * 2.0 - 1.0;
}

void SSAOTapInner(inout float obscuranceSum, inout float weightSum, vec2 samplingUV, float mipLevel,
                  vec3 pixCenterPos, vec3 pixelNormal, float falloffCalcMulSq, float weightMod)
{
    float viewspaceSampleZ = textureLod(g_ViewspaceDepthSource_t0_s3, samplingUV, mipLevel).x;
    vec3 hitPos = NDCToViewspace(samplingUV, viewspaceSampleZ);
    vec3 hitDelta = hitPos - pixCenterPos;
    float obscurance = CalculatePixelObscurance(pixelNormal, hitDelta, falloffCalcMulSq);
    float weight = 1.0;
    if (qualityLevel >= SSAO_HALOING_REDUCTION_ENABLE_AT_QUALITY_PRESET) {
        // Samples far in front of the pixel count less (no dark halo around
        // near objects over far backgrounds).
        float reduct = max(0.0, -hitDelta.z);
        reduct = saturate(reduct * g.NegRecEffectRadius + 2.0);
        weight = SSAO_HALOING_REDUCTION_AMOUNT * reduct + (1.0 - SSAO_HALOING_REDUCTION_AMOUNT);
    }
    weight *= weightMod;
    obscuranceSum += obscurance * weight;
    weightSum += weight;
}

void SSAOTap(inout float obscuranceSum, inout float weightSum, int tapIndex, vec4 rotScale, vec3 pixCenterPos,
             vec3 pixelNormal, vec2 normalizedScreenPos, float mipOffset, float falloffCalcMulSq, float weightMod)
{
    vec4 newSample = samplePatternMain[tapIndex];
    // Rotated and scaled into half-resolution pixels, snapped to a pixel
    // centre (the obscurance math assumes the sample's own position).
    vec2 sampleOffset = round(vec2(dot(rotScale.xy, newSample.xy), dot(rotScale.zw, newSample.xy)));
    weightMod *= newSample.z;
    float mipLevel = qualityLevel < SSAO_DEPTH_MIPS_ENABLE_AT_QUALITY_PRESET ? 0.0 : newSample.w + mipOffset;
    vec2 samplingUV = sampleOffset * g.Viewport2xPixelSize + normalizedScreenPos;
    SSAOTapInner(obscuranceSum, weightSum, samplingUV, mipLevel, pixCenterPos, pixelNormal, falloffCalcMulSq,
                 weightMod);
    vec2 samplingMirroredUV = -sampleOffset * g.Viewport2xPixelSize + normalizedScreenPos;
    SSAOTapInner(obscuranceSum, weightSum, samplingMirroredUV, mipLevel, pixCenterPos, pixelNormal, falloffCalcMulSq,
                 weightMod);
}

void main()
{
    vec2 SVPosRounded = floor(gl_FragCoord.xy);
    ivec2 SVPosui = ivec2(SVPosRounded);

    // This pixel's depth and its four neighbours' (clamped at the borders,
    // which one texel out is the same as mirrored).
    float pixZ = PointRead(g_ViewspaceDepthSource_t0_s3, SVPosRounded, g.HalfViewportPixelSize).x;
    float pixLZ = PointRead(g_ViewspaceDepthSource_t0_s3, SVPosRounded + vec2(-1, 0), g.HalfViewportPixelSize).x;
    float pixTZ = PointRead(g_ViewspaceDepthSource_t0_s3, SVPosRounded + vec2(0, -1), g.HalfViewportPixelSize).x;
    float pixRZ = PointRead(g_ViewspaceDepthSource_t0_s3, SVPosRounded + vec2(1, 0), g.HalfViewportPixelSize).x;
    float pixBZ = PointRead(g_ViewspaceDepthSource_t0_s3, SVPosRounded + vec2(0, 1), g.HalfViewportPixelSize).x;

    // The centre of the full-resolution pixel this layer's texel stands for.
    vec2 normalizedScreenPos =
        SVPosRounded * g.Viewport2xPixelSize + g.Viewport2xPixelSize_x_025 + g.PerPassFullResUVOffset;
    vec3 pixCenterPos = NDCToViewspace(normalizedScreenPos, pixZ);
    vec3 pixelNormal = LoadNormal(SVPosRounded);

    // View-space size of one half-resolution pixel at this depth.
    vec2 pixelDirRBViewspaceSizeAtCenterZ = pixCenterPos.z * g.NDCToViewMul * g.Viewport2xPixelSize;
    float pixLookupRadiusMod;
    float effectViewspaceRadius;
    float falloffCalcMulSq;
    CalculateRadiusParameters(length(pixCenterPos), pixelDirRBViewspaceSizeAtCenterZ, pixLookupRadiusMod,
                              effectViewspaceRadius, falloffCalcMulSq);
    // One of five disk rotations per pixel, in a pattern across the block.
    int pseudoRandomIndex = (SVPosui.y * 2 + SVPosui.x) % 5;
    vec4 rotScale = g.PatternRotScaleMatrices[pseudoRandomIndex] * pixLookupRadiusMod;

    float obscuranceSum = 0.0;
    float weightSum = 0.0;
    vec4 edgesLRTB = vec4(1.0); // 1: no edge
    pixCenterPos *= g.DepthPrecisionOffsetMod;
    if (!adaptiveBase && qualityLevel >= SSAO_DEPTH_BASED_EDGES_ENABLE_AT_QUALITY_PRESET)
        edgesLRTB = CalculateEdges(pixZ, pixLZ, pixRZ, pixTZ, pixBZ);

    // A sharper, finer term from the four neighbours already read; the blur
    // smooths it.
    if (!adaptiveBase && qualityLevel >= SSAO_DETAIL_AO_ENABLE_AT_QUALITY_PRESET) {
        vec3 viewspaceDirZNormalized = vec3(pixCenterPos.xy / pixCenterPos.zz, 1.0);
        vec3 pixLDelta = vec3(-pixelDirRBViewspaceSizeAtCenterZ.x, 0.0, 0.0) +
                         viewspaceDirZNormalized * (pixLZ - pixCenterPos.z);
        vec3 pixRDelta = vec3(+pixelDirRBViewspaceSizeAtCenterZ.x, 0.0, 0.0) +
                         viewspaceDirZNormalized * (pixRZ - pixCenterPos.z);
        vec3 pixTDelta = vec3(0.0, -pixelDirRBViewspaceSizeAtCenterZ.y, 0.0) +
                         viewspaceDirZNormalized * (pixTZ - pixCenterPos.z);
        vec3 pixBDelta = vec3(0.0, +pixelDirRBViewspaceSizeAtCenterZ.y, 0.0) +
                         viewspaceDirZNormalized * (pixBZ - pixCenterPos.z);
        const float rangeReductionConst = 4.0;
        float modifiedFalloffCalcMulSq = rangeReductionConst * falloffCalcMulSq;
        vec4 additionalObscurance;
        additionalObscurance.x = CalculatePixelObscurance(pixelNormal, pixLDelta, modifiedFalloffCalcMulSq);
        additionalObscurance.y = CalculatePixelObscurance(pixelNormal, pixRDelta, modifiedFalloffCalcMulSq);
        additionalObscurance.z = CalculatePixelObscurance(pixelNormal, pixTDelta, modifiedFalloffCalcMulSq);
        additionalObscurance.w = CalculatePixelObscurance(pixelNormal, pixBDelta, modifiedFalloffCalcMulSq);
        obscuranceSum += g.DetailAOStrength * dot(additionalObscurance, edgesLRTB);
    }

    // Creases between differently facing surfaces are edges too.
    if (!adaptiveBase && qualityLevel >= SSAO_NORMAL_BASED_EDGES_ENABLE_AT_QUALITY_PRESET) {
        vec3 neighbourNormalL = LoadNormal(SVPosRounded + vec2(-1, 0));
        vec3 neighbourNormalR = LoadNormal(SVPosRounded + vec2(1, 0));
        vec3 neighbourNormalT = LoadNormal(SVPosRounded + vec2(0, -1));
        vec3 neighbourNormalB = LoadNormal(SVPosRounded + vec2(0, 1));
        vec4 normalEdgesLRTB;
        normalEdgesLRTB.x = saturate(dot(pixelNormal, neighbourNormalL) + SSAO_NORMAL_BASED_EDGES_DOT_THRESHOLD);
        normalEdgesLRTB.y = saturate(dot(pixelNormal, neighbourNormalR) + SSAO_NORMAL_BASED_EDGES_DOT_THRESHOLD);
        normalEdgesLRTB.z = saturate(dot(pixelNormal, neighbourNormalT) + SSAO_NORMAL_BASED_EDGES_DOT_THRESHOLD);
        normalEdgesLRTB.w = saturate(dot(pixelNormal, neighbourNormalB) + SSAO_NORMAL_BASED_EDGES_DOT_THRESHOLD);
        edgesLRTB *= normalEdgesLRTB;
    }

    float mipOffset = qualityLevel < SSAO_DEPTH_MIPS_ENABLE_AT_QUALITY_PRESET
                          ? 0.0
                          : log2(pixLookupRadiusMod) + SSAO_DEPTH_MIPS_GLOBAL_OFFSET;

#if defined(PSGenerateQ3)
    // Adaptive: the base pass's result stands for the first taps; add taps as
    // the importance map asks, scaled down when the whole picture asks for
    // more than the limit on average.
    float importance = textureLod(g_ImportanceMap_t3_s1, normalizedScreenPos, 0.0).x;
    obscuranceSum *= (float(SSAO_ADAPTIVE_TAP_BASE_COUNT) / float(SSAO_MAX_TAPS)) +
                     (importance * float(SSAO_ADAPTIVE_TAP_FLEXIBLE_COUNT) / float(SSAO_MAX_TAPS));
    vec2 baseValues = PointRead(g_FinalSSAO_t4_s0, SVPosRounded, g.PassIndex, g.HalfViewportPixelSize).xy;
    weightSum += baseValues.y * float(SSAO_ADAPTIVE_TAP_BASE_COUNT * 4);
    obscuranceSum += baseValues.x * weightSum;
    float avgTotalImportance = texelFetch(g_ImportanceMap_t3_s1, ivec2(0), int(g.ImportanceAverageLevel)).x;
    float importanceLimiter = saturate(g.AdaptiveSampleCountLimit / max(avgTotalImportance, 1e-4));
    importance *= importanceLimiter;
    float additionalSampleCountFlt = float(SSAO_ADAPTIVE_TAP_FLEXIBLE_COUNT) * importance;
    const float blendRangeInv = 1.0 / 3.0; // the last three taps fade in
    additionalSampleCountFlt += 0.5;
    int additionalSamples = int(additionalSampleCountFlt);
    int additionalSamplesTo = min(SSAO_MAX_TAPS, additionalSamples + SSAO_ADAPTIVE_TAP_BASE_COUNT);
    for (int i = SSAO_ADAPTIVE_TAP_BASE_COUNT; i < additionalSamplesTo; i++) {
        additionalSampleCountFlt -= 1.0;
        float weightMod = saturate(additionalSampleCountFlt * blendRangeInv);
        SSAOTap(obscuranceSum, weightSum, i, rotScale, pixCenterPos, pixelNormal, normalizedScreenPos, mipOffset,
                falloffCalcMulSq, weightMod);
    }
#else
    for (int i = 0; i < numTaps[qualityLevel]; i++)
        SSAOTap(obscuranceSum, weightSum, i, rotScale, pixCenterPos, pixelNormal, normalizedScreenPos, mipOffset,
                falloffCalcMulSq, 1.0);
#endif

    float obscurance = obscuranceSum / weightSum;
#if defined(PSGenerateQ3Base)
    // The raw average and its weight, for the adaptive pass.
    Target0 = vec4(obscurance, weightSum / float(SSAO_ADAPTIVE_TAP_BASE_COUNT * 4), 0.0, 0.0);
#else
    float fadeOut = saturate(pixCenterPos.z * g.EffectFadeOutMul + g.EffectFadeOutAdd);
    if (qualityLevel >= SSAO_DEPTH_BASED_EDGES_ENABLE_AT_QUALITY_PRESET) {
        // Fade out between two opposite edges (thin features alias).
        float edgeFadeoutFactor = saturate((1.0 - edgesLRTB.x - edgesLRTB.y) * 0.35) +
                                  saturate((1.0 - edgesLRTB.z - edgesLRTB.w) * 0.35);
        fadeOut *= saturate(1.0 - edgeFadeoutFactor);
    }
    obscurance = g.EffectShadowStrength * obscurance;
    obscurance = min(obscurance, g.EffectShadowClamp);
    obscurance *= fadeOut;
    // From here on 1 means fully lit.
    float occlusion = 1.0 - obscurance;
    occlusion = pow(saturate(occlusion), g.EffectShadowPow);
    Target0 = vec4(occlusion, PackEdges(edgesLRTB), 0.0, 0.0);
#endif
}

#elif defined(PSSmartBlur) || defined(PSSmartBlurWide)

// Half resolution: a blur of one layer that stops at the packed edges.
uniform sampler2D g_BlurInput_t2_s2;
layout(location = 0) out vec4 Target0;

void AddSample(float ssaoValue, float edgeValue, inout float sum, inout float sumWeight)
{
    sum += edgeValue * ssaoValue;
    sumWeight += edgeValue;
}

vec2 Load(vec2 at)
{
    return PointRead(g_BlurInput_t2_s2, at, g.HalfViewportPixelSize).xy;
}

void main()
{
    vec2 at = floor(gl_FragCoord.xy);
#if defined(PSSmartBlurWide)
    const float step = 2.0;
#else
    const float step = 1.0;
#endif
    vec2 vC = Load(at);
    vec2 vL = Load(at + vec2(-step, 0.0));
    vec2 vT = Load(at + vec2(0.0, -step));
    vec2 vR = Load(at + vec2(step, 0.0));
    vec2 vB = Load(at + vec2(0.0, step));
    float packedEdges = vC.y;
    vec4 edgesLRTB = UnpackEdges(packedEdges);
#if defined(PSSmartBlurWide)
    // Two pixels away an edge may lie on the neighbour's side as well.
    edgesLRTB.x *= UnpackEdges(vL.y).y;
    edgesLRTB.z *= UnpackEdges(vT.y).w;
    edgesLRTB.y *= UnpackEdges(vR.y).x;
    edgesLRTB.w *= UnpackEdges(vB.y).z;
    float sumWeight = 0.8;
#else
    float sumWeight = 0.5;
#endif
    float sum = vC.x * sumWeight;
    AddSample(vL.x, edgesLRTB.x, sum, sumWeight);
    AddSample(vR.x, edgesLRTB.y, sum, sumWeight);
    AddSample(vT.x, edgesLRTB.z, sum, sumWeight);
    AddSample(vB.x, edgesLRTB.w, sum, sumWeight);
    Target0 = vec4(sum / sumWeight, packedEdges, 0.0, 0.0);
}

#elif defined(PSNonSmartBlur)

// Half resolution, quality 0: a plain five-point blur of one layer.
uniform sampler2D g_BlurInput_t2_s2;
layout(location = 0) out vec4 Target0;

void main()
{
    vec2 at = floor(gl_FragCoord.xy);
    vec2 pixelSize = g.HalfViewportPixelSize;
    vec2 centre = PointRead(g_BlurInput_t2_s2, at, pixelSize).xy;
    float sum = centre.x + PointRead(g_BlurInput_t2_s2, at + vec2(-1, 0), pixelSize).x +
                PointRead(g_BlurInput_t2_s2, at + vec2(1, 0), pixelSize).x +
                PointRead(g_BlurInput_t2_s2, at + vec2(0, -1), pixelSize).x +
                PointRead(g_BlurInput_t2_s2, at + vec2(0, 1), pixelSize).x;
    Target0 = vec4(sum * 0.2, centre.y, 0.0, 0.0);
}

#elif defined(PSApply)

// Full resolution: each pixel takes its own layer's value and blends in the
// three other layers' neighbours, pushed away from depth edges.
uniform sampler2DArray g_FinalSSAO_t4_s1;
layout(location = 0) out vec4 Target0;

void main()
{
    ivec2 pixPos = ivec2(gl_FragCoord.xy);
    ivec2 pixPosHalf = pixPos / 2;
    int mx = pixPos.x % 2;
    int my = pixPos.y % 2;
    int ic = mx + my * 2;             // this pixel's layer
    int ih = (1 - mx) + my * 2;       // the horizontal neighbour's
    int iv = mx + (1 - my) * 2;       // the vertical neighbour's
    int id = (1 - mx) + (1 - my) * 2; // the diagonal neighbour's
    vec2 centerVal = texelFetch(g_FinalSSAO_t4_s1, ivec3(pixPosHalf, ic), 0).xy;
    float ao = centerVal.x;
    vec4 edgesLRTB = UnpackEdges(centerVal.y);
    float fmx = float(mx);
    float fmy = float(my);
    float fmxe = edgesLRTB.y - edgesLRTB.x;
    float fmye = edgesLRTB.w - edgesLRTB.z;
    vec2 uvH = (gl_FragCoord.xy + vec2(fmx + fmxe - 0.5, 0.5 - fmy)) * 0.5 * g.HalfViewportPixelSize;
    float aoH = textureLod(g_FinalSSAO_t4_s1, vec3(uvH, float(ih)), 0.0).x;
    vec2 uvV = (gl_FragCoord.xy + vec2(0.5 - fmx, fmy - 0.5 + fmye)) * 0.5 * g.HalfViewportPixelSize;
    float aoV = textureLod(g_FinalSSAO_t4_s1, vec3(uvV, float(iv)), 0.0).x;
    vec2 uvD = (gl_FragCoord.xy + vec2(fmx - 0.5 + fmxe, fmy - 0.5 + fmye)) * 0.5 * g.HalfViewportPixelSize;
    float aoD = textureLod(g_FinalSSAO_t4_s1, vec3(uvD, float(id)), 0.0).x;
    vec4 blendWeights;
    blendWeights.x = 1.0;
    blendWeights.y = (edgesLRTB.x + edgesLRTB.y) * 0.5;
    blendWeights.z = (edgesLRTB.z + edgesLRTB.w) * 0.5;
    blendWeights.w = (blendWeights.y + blendWeights.z) * 0.5;
    ao = dot(vec4(ao, aoH, aoV, aoD), blendWeights) / dot(blendWeights, vec4(1.0));
    Target0 = vec4(ao);
}

#elif defined(PSNonSmartApply)

// Full resolution, quality 0: the average of the four layers over the pixel's
// 2 x 2 block.
uniform sampler2DArray g_FinalSSAO_t4_s1;
layout(location = 0) out vec4 Target0;

void main()
{
    ivec2 at = ivec2(gl_FragCoord.xy) / 2;
    float a = texelFetch(g_FinalSSAO_t4_s1, ivec3(at, 0), 0).x;
    float b = texelFetch(g_FinalSSAO_t4_s1, ivec3(at, 1), 0).x;
    float c = texelFetch(g_FinalSSAO_t4_s1, ivec3(at, 2), 0).x;
    float d = texelFetch(g_FinalSSAO_t4_s1, ivec3(at, 3), 0).x;
    Target0 = vec4((a + b + c + d) * 0.25);
}

#elif defined(PSGenerateImportanceMap)

// Quarter resolution: how much the base occlusion varies over the 4 x 4
// full-resolution pixels a texel covers (sixteen texel reads, four per layer).
uniform sampler2DArray g_FinalSSAO_t4_s0;
layout(location = 0) out vec4 Target0;

void main()
{
    vec2 basePos = floor(gl_FragCoord.xy) * 2.0;
    vec2 pixelSize = g.HalfViewportPixelSize;
    float minV = 1.0;
    float maxV = 0.0;
    for (int i = 0; i < 4; i++) {
        vec4 vals = vec4(PointRead(g_FinalSSAO_t4_s0, basePos, i, pixelSize).x,
                         PointRead(g_FinalSSAO_t4_s0, basePos + vec2(1, 0), i, pixelSize).x,
                         PointRead(g_FinalSSAO_t4_s0, basePos + vec2(0, 1), i, pixelSize).x,
                         PointRead(g_FinalSSAO_t4_s0, basePos + vec2(1, 1), i, pixelSize).x);
        // As the main pass would shade them.
        vals = g.EffectShadowStrength * vals;
        vals = 1.0 - vals;
        vals = pow(saturate(vals), vec4(g.EffectShadowPow));
        maxV = max(maxV, max(max(vals.x, vals.y), max(vals.z, vals.w)));
        minV = min(minV, min(min(vals.x, vals.y), min(vals.z, vals.w)));
    }
    float minMaxDiff = maxV - minV;
    Target0 = vec4(pow(saturate(minMaxDiff * 2.0), 0.8));
}

#elif defined(PSPostprocessImportanceMapA) || defined(PSPostprocessImportanceMapB)

// Quarter resolution: spreads the importance map with four bilinear taps
// (two passes with the pattern turned, so the spread is round).
uniform sampler2D g_ImportanceMap_t3_s1;
layout(location = 0) out vec4 Target0;

void main()
{
    vec2 uv = gl_FragCoord.xy * g.QuarterResPixelSize;
    vec2 halfPixel = g.QuarterResPixelSize * 0.5;
    vec4 vals;
#if defined(PSPostprocessImportanceMapA)
    vals.x = textureLod(g_ImportanceMap_t3_s1, uv + vec2(-halfPixel.x * 3.0, -halfPixel.y), 0.0).x;
    vals.y = textureLod(g_ImportanceMap_t3_s1, uv + vec2(+halfPixel.x, -halfPixel.y * 3.0), 0.0).x;
    vals.z = textureLod(g_ImportanceMap_t3_s1, uv + vec2(+halfPixel.x * 3.0, +halfPixel.y), 0.0).x;
    vals.w = textureLod(g_ImportanceMap_t3_s1, uv + vec2(-halfPixel.x, +halfPixel.y * 3.0), 0.0).x;
#else
    vals.x = textureLod(g_ImportanceMap_t3_s1, uv + vec2(-halfPixel.x, -halfPixel.y * 3.0), 0.0).x;
    vals.y = textureLod(g_ImportanceMap_t3_s1, uv + vec2(+halfPixel.x * 3.0, -halfPixel.y), 0.0).x;
    vals.z = textureLod(g_ImportanceMap_t3_s1, uv + vec2(+halfPixel.x, +halfPixel.y * 3.0), 0.0).x;
    vals.w = textureLod(g_ImportanceMap_t3_s1, uv + vec2(-halfPixel.x * 3.0, +halfPixel.y), 0.0).x;
#endif
    Target0 = vec4(dot(vals, vec4(0.25)));
}

#endif // pixel entry points
#endif // VSMain
