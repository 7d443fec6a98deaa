// The vertex and instance records the renderer's streams carry, laid out byte
// for byte as the effects' input layouts read them, with those layouts' element
// tables. Mesh, the particle system and the point lights fill them.
#pragma once

#include <cstdint>

#include "platform/gpu/GpuTypes.h"
#include "platform/math/Math.h"

namespace mirefell
{

// Colour-effect vertex, 52 bytes: position, normal, tangent (four floats),
// colour (four bytes, red lowest), texture coordinate.
struct VertexPositionNormalTangentColorTexture
{
    Vector3 position;
    Vector3 normal;
    Vector4 tangent;
    uint32_t color = 0;
    Vector2 textureCoordinate;

    static constexpr uint32_t InputElementCount = 5;
    static const gpu::InputElement InputElements[InputElementCount];
};
static_assert(sizeof(VertexPositionNormalTangentColorTexture) == 52);

// Textured vertex, 32 bytes: position, normal, texture coordinate.
struct VertexPositionNormalTexture
{
    Vector3 position;
    Vector3 normal;
    Vector2 textureCoordinate;

    static constexpr uint32_t InputElementCount = 3;
    static const gpu::InputElement InputElements[InputElementCount];
};
static_assert(sizeof(VertexPositionNormalTexture) == 32);

// Position-only vertex, 12 bytes (particles, light volumes).
struct VertexPosition
{
    Vector3 position;

    static constexpr uint32_t InputElementCount = 1;
    static const gpu::InputElement InputElements[InputElementCount];
};
static_assert(sizeof(VertexPosition) == 12);

// One instance of an instanced mesh (effect ids 3 and 4), 144 bytes: the
// world matrix and its inverse in row order, then a colour that only the
// decal effect reads.
struct InstanceRecord
{
    Matrix world;
    Matrix inverseWorld;
    Vector4 colour;
};
static_assert(sizeof(InstanceRecord) == 144);

// One particle, 80 bytes: the world matrix transposed (its four columns in
// turn), then the colour.
struct ParticleInstanceRecord
{
    Matrix worldTransposed;
    Vector4 colour;
};
static_assert(sizeof(ParticleInstanceRecord) == 80);

// Sprite vertex, 36 bytes: position (z is the layer depth), colour (four
// floats), texture coordinate. The sprite batch writes four per sprite.
struct VertexPositionColorTexture
{
    Vector3 position;
    Vector4 color;
    Vector2 textureCoordinate;

    static constexpr uint32_t InputElementCount = 3;
    static const gpu::InputElement InputElements[InputElementCount];
};
static_assert(sizeof(VertexPositionColorTexture) == 36);

// Line vertex, 28 bytes: position, colour (four floats). Line lists of the
// line batch and the debug lines.
struct VertexPositionColor
{
    Vector3 position;
    Vector4 color;

    static constexpr uint32_t InputElementCount = 2;
    static const gpu::InputElement InputElements[InputElementCount];
};
static_assert(sizeof(VertexPositionColor) == 28);

} // namespace mirefell
