#include "world/InstancedMeshBatches.h"

#include "render/MeshRegistry.h"

namespace mirefell
{

InstancedMeshBatches::InstancedMeshBatches() : root(std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor)) {}

std::pair<Mesh*, int32_t> InstancedMeshBatches::AddInstance(const std::string& meshName, const std::string& textureName)
{
    auto found = batchOfMesh.find(meshName);
    if (found == batchOfMesh.end()) {
        // Looked up first, so a missing mesh leaves no empty node behind.
        const MeshGeometry& geometry = MeshRegistry::GetInstance().GetMesh(meshName);
        auto batch = std::make_unique<Mesh>(EffectIdInstancedTexture, MeshVertexFormatTexture);
        batch->name = meshName;
        batch->geometry = geometry;
        batch->textureName = textureName;
        root->AddChild(std::move(batch));
        found = batchOfMesh.emplace(meshName, root->children.size() - 1).first;
    }
    Mesh* batch = root->children[found->second].get();
    batch->instances.emplace_back();
    return {batch, static_cast<int32_t>(batch->instances.size() - 1)};
}

} // namespace mirefell
