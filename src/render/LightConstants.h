// The constant-buffer records of the light pass and the composition, byte
// for byte as their shaders declare them (std140 blocks in
// "shaders/PointLightVertexShader.glsl", "shaders/PointLightPixelShader.glsl"
// and "shaders/DeferredPixelShader.glsl"), and the functions that fill them. They live apart from PointLights so their
// layouts and contents can be checked without a device. Matrices are row-vector and stored in row order (the shaders
// declare them row_major).
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

// Vertex-stage slot 0 of one light's draw.
struct PointLightVertexConstants
{
    Matrix worldViewProjection; // Scale(range) x Translation(position) x view x projection, row order
};
static_assert(sizeof(PointLightVertexConstants) == 64);

// Pixel-stage slot 1 of one light's draw.
struct PointLightPixelConstants
{
    Color colour;        // 0
    Vector3 position;    // 16
    float one;           // 28: 1.0
    int32_t shaderFlag;  // 32: 0 or 1
    float constant;      // 36
    float linear;        // 40
    float quadratic;     // 44
    int32_t fixedRadius; // 48: useFixedRadius as 0 or 1
    float radius;        // 52: fixedRadius
    float intensity;     // 56
    float unused;        // 60: not written
};
static_assert(sizeof(PointLightPixelConstants) == 64);
static_assert(offsetof(PointLightPixelConstants, position) == 16 &&
              offsetof(PointLightPixelConstants, shaderFlag) == 32);
static_assert(offsetof(PointLightPixelConstants, fixedRadius) == 48 &&
              offsetof(PointLightPixelConstants, intensity) == 56);

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
void WritePointLightConstants(PointLightVertexConstants& vertex, PointLightPixelConstants& pixel, const Camera& camera,
                              const PointLight& light);

} // namespace mirefell
