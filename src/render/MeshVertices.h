// MeshVertices: turns a MeshGeometry into the vertices of the two GPU
// formats, three per triangle in triangle order (corner a, b, c). Mesh::Update
// is the only per-level caller; nothing here runs per frame.
#pragma once

#include <cstdint>
#include <vector>

#include "render/MeshGeometry.h"
#include "render/VertexTypes.h"

namespace mirefell
{

// Textured vertices: position, the triangle's face normal, the corner's
// texture coordinate. A degenerate triangle gets the normal (0, 0, 0).
// Throws what MeshGeometry::ValidateIndices throws.
std::vector<VertexPositionNormalTexture> BuildTextureVertices(const MeshGeometry& geometry);

// Colour vertices: position, normal (face normal, or with smoothNormals the
// normal averaged over every corner with exactly the same coordinates),
// tangent, packed colour (the triangle's with useTriangleColours, else the
// geometry's) and texture coordinate. Throws as BuildTextureVertices.
std::vector<VertexPositionNormalTangentColorTexture> BuildColorVertices(const MeshGeometry& geometry);

// Four channels clamped to 0..1, times 255, truncated; red in the lowest byte.
uint32_t PackColour(const Vector4& colour);

// normalise((b - a) x (c - a)); (0, 0, 0) for a degenerate triangle.
Vector3 FaceNormal(const Vector3& a, const Vector3& b, const Vector3& c);

} // namespace mirefell
