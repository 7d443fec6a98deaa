#include "world/BoundsMesh.h"

#include "render/Mesh.h"
#include "render/MeshPrimitives.h"

namespace mirefell
{

std::unique_ptr<Mesh> CreateBoundsMesh(const Vector3& position)
{
    auto mesh = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(mesh->geometry);
    for (Vector3& corner : mesh->geometry.positions)
        corner *= 0.5f;
    // One colour for the whole box rather than the cube's black triangles.
    mesh->geometry.useTriangleColours = false;
    mesh->geometry.colour = Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    mesh->position = position;
    mesh->UpdateTransform();
    return mesh;
}

} // namespace mirefell
