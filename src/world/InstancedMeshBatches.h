// InstancedMeshBatches: the spawn context of one level's entities. Every
// entity mesh (a pickup model, one frame of a monster sprite) gets one
// instanced node under a common root, and every entity that shows that mesh
// gets an instance in it. It lives only while the level build spawns the
// entities; the build then moves the root into the World (entityMeshRoot),
// so all entity instances of a level hang under one node.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "render/Mesh.h"
#include "world/GridObject.h"

namespace mirefell
{

struct MeshBatchInstance
{
    Mesh* batch = nullptr;
    uint32_t index = 0; // of the new instance in batch->instances
};

class InstancedMeshBatches
{
public:
    InstancedMeshBatches();

    // A new instance (visible, at the origin, unit scale, white) in the
    // batch of the mesh; the batch is made on first use with a copy of the
    // MeshRegistry's geometry of that name ("invalid map<K, T> key" when it
    // has none) and the texture name, which later calls for the same mesh
    // ignore.
    MeshBatchInstance AddInstance(const std::string& meshName, const std::string& textureName);

    std::unique_ptr<Mesh> root;
    std::map<std::string, size_t> batches; // mesh name -> index in root->children
};

// An object's debug box: the unit cube halved (corners at +-0.5), white,
// standing at the position; GridObject::UpdateBounds scales it to the box.
std::unique_ptr<Mesh> CreateBoundsMesh(const Vector3& position);

} // namespace mirefell
