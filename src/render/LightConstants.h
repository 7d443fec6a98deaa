// The constant-buffer records of the lit composition, byte for byte as its
// shaders declare them (std140 blocks in "shaders/PointLightVertexShader.glsl"
// and "shaders/DeferredPixelShader.glsl"), and the
// functions that fill them. They live apart from PointLights so their layouts
// and contents can be checked without a device. Matrices are row-vector and
// stored in row order (the shaders declare them row_major).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/math/Color.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Camera;
struct PointLight;

// Pixel-stage slot 0 of the composition, once a frame.
struct FrameConstants
{
    Matrix inverseViewProjection;    // 0: inverse(view x projection)
    Matrix inverseSkyViewProjection; // 64: inverse(R x V x projection), the sky's turning frame
    Vector4 eye;                     // 128: camera position, 1
    float noise;                     // 144: rand() / 32767
    float unused0[3];                // 148: not written
    float noiseIntensity;            // 160
    int32_t ssaoEnabled;             // 164: the occlusion target holds occlusion this frame
    int32_t inGame;                  // 168
    float one;                       // 172: 1.0
    float screenWidth;               // 176
    float screenHeight;              // 180
    float unused1[2];                // 184: not written
    Color ambient;                   // 192
};
static_assert(sizeof(FrameConstants) == 208);
static_assert(offsetof(FrameConstants, eye) == 128 && offsetof(FrameConstants, noiseIntensity) == 160);
static_assert(offsetof(FrameConstants, screenWidth) == 176 && offsetof(FrameConstants, ambient) == 192);

// One light as the lit composition shades it. Its contribution at a
// surface point at distance d (toward the light L, normal N) is
//   colour * max(N.L * wrap + 1 - wrap, 0) * falloff,
//   falloff = max(1 / max(c + l d + q d^2, 0.001) - cutoff, 0) * window^2,
//   window = max(1 - d^2 * windowScale, 0):
// an attenuated light has cutoff 1/100 and windowScale 0, so it fades to
// exactly zero at its range, where the attenuation reaches 100; a
// fixed-radius light has cutoff 0 and windowScale 1 / radius^2, so it is
// windowed smoothly to zero at its radius. Either way the formula gives
// zero beyond the light's reach, so the shader needs no test.
struct ShadedLight
{
    Vector3 position;  // 0
    float cutoff;      // 12
    Vector3 colour;    // 16: colour.rgb * colour.a * intensity
    float wrap;        // 28: 1 with the shader flag (Lambert), 0.5 without (half-Lambert)
    float constant;    // 32
    float linear;      // 36
    float quadratic;   // 40
    float windowScale; // 44
};
static_assert(sizeof(ShadedLight) == 48);

// Vertex slot 0 and pixel slot 1 of one region's draw of the composition:
// where the region lies and the lights that may reach it, in drawing order.
struct RegionLightConstants
{
    static constexpr uint32_t MaxLights = 100;

    float rect[4];     // 0: clip-space left, top, right, bottom
    int32_t count;     // 16
    int32_t unused[3]; // 20: not written
    ShadedLight lights[MaxLights];
};
static_assert(sizeof(RegionLightConstants) == 32 + 48 * 100);
static_assert(offsetof(RegionLightConstants, count) == 16 && offsetof(RegionLightConstants, lights) == 32);

// What one frame's constants depend on besides the camera.
struct FrameInputs
{
    Color ambient;
    float noise = 0.0f;
    float noiseIntensity = 0.0f;
    bool ssaoEnabled = false;
    bool inGame = false;
    float lightPhase = 0.0f;
    float screenWidth = 0.0f;
    float screenHeight = 0.0f;
};

// Fills every written field of `out`; the unwritten ones are left as they are.
void WriteFrameConstants(FrameConstants& out, const Camera& camera, const FrameInputs& inputs);
void WriteShadedLight(ShadedLight& out, const PointLight& light);

} // namespace mirefell
