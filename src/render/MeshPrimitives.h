// MeshPrimitives: the fixed shapes other parts build on: the unit cube (the
// bounding-box meshes, the player's and monsters' collision boxes, textured
// cubes) and the unit sphere (point-light volumes, particles). Each triangle
// has three positions of its own, three per triangle in order.
#pragma once

#include <vector>

#include "platform/math/Vector.h"
#include "render/MeshGeometry.h"

namespace mirefell
{

// The 36 positions of the cube with corners at +-1: two triangles per face,
// faces +X, -X, +Y, -Y, +Z, -Z, each wound so that (p2 - p1) x (p3 - p1)
// points out of the cube.
std::vector<Vector3> BuildUnitCubeVertices();

// Makes `geometry` the textured unit cube: flags and colour reset, the cube's
// positions, useTriangleColours set, per face the triangles (k, k+1, k+2)
// with texture coordinates (0,0) (1,0) (0,1) and (k+3, k+4, k+5) with
// (1,0) (1,1) (0,1), every triangle black.
void BuildCubeMesh(MeshGeometry& geometry);

// The 384 positions (128 triangles) of the unit geosphere: an octahedron
// subdivided twice, every vertex pushed out to radius 1. Triangles come last
// to first of the subdivision order, each wound so that its face normal
// points outwards.
std::vector<Vector3> BuildUnitSphereVertices();

} // namespace mirefell
