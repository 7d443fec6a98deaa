// InstancedMeshBatches: batches by mesh name; the debug box.
#include "world/InstancedMeshBatches.h"

#include "render/MeshPrimitives.h"
#include "render/MeshRegistry.h"

namespace mirefell
{

InstancedMeshBatches::InstancedMeshBatches() : root(std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor)) {}

MeshBatchInstance InstancedMeshBatches::AddInstance(const std::string& meshName, const std::string& textureName)
{
    auto found = batches.find(meshName);
    if (found == batches.end()) {
        const MeshGeometry& geometry = MeshRegistry::GetInstance().GetMesh(meshName);
        auto batch = std::make_unique<Mesh>(EffectIdInstancedTexture, MeshVertexFormatTexture);
        batch->name = meshName;
        batch->geometry = geometry;
        batch->textureName = textureName;
        root->AddChild(std::move(batch));
        found = batches.emplace(meshName, root->children.size() - 1).first;
    }
    Mesh* batch = root->children[found->second].get();
    batch->instances.emplace_back();
    return {batch, static_cast<uint32_t>(batch->instances.size() - 1)};
}

std::unique_ptr<Mesh> CreateBoundsMesh(const Vector3& position)
{
    auto mesh = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(mesh->geometry);
    for (Vector3& corner : mesh->geometry.positions)
        corner *= 0.5f;
    mesh->geometry.useTriangleColours = false;
    mesh->geometry.colour = Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    mesh->position = position;
    mesh->UpdateTransform();
    return mesh;
}

} // namespace mirefell
