// MeshRegistry: the process-wide table of entity models (pickups, weapons,
// keys, the title letters and the monsters' sprite frames), read once per run
// from "assets/meshes/<name>.js" and handed out by name. Four models are
// adjusted as they load: scaled, then rotated, then moved. Creators of Mesh
// nodes copy what they need of a geometry into their node.
#pragma once

#include <array>
#include <map>
#include <string>

#include "render/MeshGeometry.h"

namespace mirefell
{

inline constexpr size_t EntityMeshCount = 43;
// Where the game's entity meshes are, relative to the game's folder.
inline constexpr const char* EntityMeshFolder = "assets/meshes/";

// The entity mesh names in load order.
const std::array<const char*, EntityMeshCount>& GetEntityMeshNames();

class MeshRegistry
{
public:
    static MeshRegistry& GetInstance();

    // Loads every entity mesh from `folder` (the game's "assets/meshes/"), in
    // load order, unless the registry already holds any entry, so the files
    // are read once per run. A file that cannot be opened or is invalid
    // throws (ReadMeshFile); the meshes loaded before it stay, and since the
    // registry is then not empty later calls load nothing.
    void LoadAll(const std::string& folder = EntityMeshFolder);
    // The geometry stored under the name; "invalid map<K, T> key" for a name
    // that is not loaded.
    const MeshGeometry& GetMesh(const std::string& name) const;
    // Empties the registry (tests, and a run that must read the files again).
    void Clear() { meshes.clear(); }
    size_t Size() const { return meshes.size(); }

private:
    std::map<std::string, MeshGeometry> meshes;
};

} // namespace mirefell
