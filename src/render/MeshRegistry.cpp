// MeshRegistry: the load order and the per-name adjustments.
#include "render/MeshRegistry.h"

#include <utility>

#include "platform/Lookup.h"
#include "platform/math/Matrix.h"
#include "render/MeshFile.h"

namespace mirefell
{

namespace
{

// Adjustments that fit a model to where its users hold it: the hammer and
// shield to the weapon view, the boots and armour to the pickup scale.
const std::map<std::string, float> MeshScales = {{"boots", 1.5f}, {"armor", 1.5f}};
const std::map<std::string, Vector3> MeshRotations = {{"hammer", {0.0f, 1.5707964f, 0.0f}},
                                                      {"shield", {0.0f, 3.1415927f, 0.0f}}};
const std::map<std::string, Vector3> MeshOffsets = {{"hammer", {0.0f, 12.0f, 0.0f}},
                                                    {"shield", {0.0f, 0.0f, 9.0f}},
                                                    {"boots", {0.0f, 4.0f, 0.0f}},
                                                    {"armor", {0.0f, 4.0f, 0.0f}}};

void Adjust(const std::string& name, MeshGeometry& geometry)
{
    if (const auto scale = MeshScales.find(name); scale != MeshScales.end())
        for (Vector3& p : geometry.positions)
            p *= scale->second;
    if (const auto rotation = MeshRotations.find(name); rotation != MeshRotations.end()) {
        const Matrix r = Matrix::CreateFromYawPitchRoll(rotation->second);
        for (Vector3& p : geometry.positions)
            p = TransformNormal(p, r);
    }
    if (const auto offset = MeshOffsets.find(name); offset != MeshOffsets.end())
        for (Vector3& p : geometry.positions)
            p += offset->second;
}

} // namespace

const std::array<const char*, EntityMeshCount>& GetEntityMeshNames()
{
    static const std::array<const char*, EntityMeshCount> names = {
        "ammo",        "medkit",     "pistol",     "double_shotgun", "hyper_blaster", "rocket_launcher", "hammer",
        "shield",      "redkey",     "bluekey",    "health_cube",    "boots",         "armor_shard",     "armor",
        "nightmare",   "bloodlust",  "win_thing",  "title_m",        "title_i",       "title_r",         "title_e",
        "title_f",     "title_e2",   "title_l",    "title_l2",       "nom_walk0",     "nom_walk1",       "nom_attack0",
        "nom_attack1", "nom_death0", "nom_death1", "nom_death2",     "nom_death3",    "eye_walk0",       "eye_walk1",
        "eye_walk2",   "eye_walk3",  "eye_death0", "eye_death1",     "eye_death2",    "eye_death3",      "eye_attack0",
        "eye_attack1"};
    return names;
}

MeshRegistry& MeshRegistry::GetInstance()
{
    static MeshRegistry registry;
    return registry;
}

void MeshRegistry::LoadAll(const std::string& folder)
{
    if (!meshes.empty())
        return;
    for (const char* name : GetEntityMeshNames()) {
        MeshGeometry geometry = ReadMeshFile(folder + name + ".js");
        Adjust(name, geometry);
        meshes[name] = std::move(geometry);
    }
}

const MeshGeometry& MeshRegistry::GetMesh(const std::string& name) const
{
    return MapAt(meshes, name);
}

} // namespace mirefell
