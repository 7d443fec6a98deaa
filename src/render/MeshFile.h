// MeshFile: the reader of the entity model files "assets/meshes/<name>.js",
// a small subset of the Wavefront OBJ text format:
//   v x y z               a position
//   vt u v                a texture coordinate
//   f p/t/n p/t/n p/t/n   a triangle: 1-based position / texture-coordinate /
//                         normal index per corner (the normal is dropped)
// Any other first token (vn, #, o, g, s, usemtl, mtllib, ...) makes the line
// ignored; so does a first token longer than two characters. Lines end with a
// line feed; text after the last one is not read. Faces may name positions
// and coordinates given later in the file. There is no writer: the asset
// generator writes the files.
//
// A "v", "vt" or "f" line with fewer numbers than its form needs, or a face
// index outside the lists read, is rejected with
// GameError("mesh file is invalid", "<path> line <n>: <what>").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/math/Vector.h"
#include "render/MeshGeometry.h"

namespace mirefell
{

struct MeshFace
{
    // 0-based position and texture-coordinate index of each corner, in
    // corner order: position 0, uv 0, position 1, uv 1, position 2, uv 2.
    std::array<int32_t, 6> indices{};
    uint32_t line = 0; // 1-based, for messages
};

struct MeshText
{
    std::vector<Vector3> positions;
    std::vector<Vector2> textureCoordinates;
    std::vector<MeshFace> faces;
};

// Parses the text of a mesh file and checks every face index against the
// lists read; `path` only names the file in errors.
MeshText ParseMeshText(std::string_view text, const std::string& path);

// The geometry of a mesh file: per face, in file order, its three corner
// positions and a black triangle over them whose corners carry (u, 1 - v).
// Both flags clear, colour (0, 0, 0, 1). A file that cannot be opened throws
// GameError("file cannot be opened", path).
MeshGeometry ReadMeshFile(const std::string& path);

} // namespace mirefell
