// RoomMesh: the textured box the render tests and benchmarks stand the eye
// in: the unit cube with its faces turned inwards, scaled and placed.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "render/Mesh.h"
#include "render/MeshPrimitives.h"

namespace mirefell::testing
{

inline std::unique_ptr<Mesh> InwardRoom(std::string texture, const Vector3& halfSize, const Vector3& centre = {})
{
    auto room = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    BuildCubeMesh(room->geometry);
    for (MeshTriangle& t : room->geometry.triangles) {
        std::swap(t.b, t.c);
        std::swap(t.uvB, t.uvC);
    }
    room->textureName = std::move(texture);
    room->scale = halfSize;
    room->position = centre;
    room->UpdateTransform();
    return room;
}

} // namespace mirefell::testing
