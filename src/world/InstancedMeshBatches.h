// InstancedMeshBatches: the drawable instances of one level's entities while
// they are spawned. One instanced node per entity mesh name, under one root:
// every pickup of a kind and every frame of a monster sprite is an instance
// of the node of its mesh. The level build makes it before the first entity
// and moves the root into the World after the last, so all entity instances
// hang under one node. Objects keep (node, index) to move, show and hide
// their instance; nodes and instances are never erased.
//
// Needs the MeshRegistry loaded: a mesh name it lacks throws "invalid
// map<K, T> key" and adds nothing. No GPU is touched.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "render/Mesh.h"

namespace mirefell
{

class InstancedMeshBatches
{
public:
    InstancedMeshBatches();

    // A new instance (at the origin, unit scale, white, shown, no bounds) of
    // the node of `meshName`, made on first use with a copy of the
    // registry's geometry and `textureName` (which later calls for the same
    // mesh ignore). Returns the node and the instance's index in it.
    std::pair<Mesh*, int32_t> AddInstance(const std::string& meshName, const std::string& textureName);

    std::unique_ptr<Mesh> root;
    std::map<std::string, size_t> batchOfMesh; // mesh name to the root's child index
};

} // namespace mirefell
