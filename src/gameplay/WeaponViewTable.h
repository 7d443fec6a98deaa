// WeaponViewEntry and WeaponViewTable: how each first-person weapon model is
// held and moved. One entry per view model, keyed by the view index that
// the weapons' data names (2 double shotgun, 3 hyper blaster, 4 rocket
// launcher, 5 hammer; 1 is a pistol no weapon uses). The weapon view copies
// an entry for each model it loads and fills in the model and the equipped
// weapon's cool-down.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/math/Vector.h"

namespace mirefell
{

class Mesh;

enum class WeaponViewKind : int32_t
{
    Melee = 1,  // swings
    Ranged = 2, // kicks back
};

struct WeaponViewEntry
{
    WeaponViewKind kind = WeaponViewKind::Ranged;
    Vector3 offset;        // rest position in camera space
    Vector3 loweredOffset; // lowered to when switched away, raised from when switched in
    Vector3 scale{0.4f, 0.4f, 0.4f};
    Vector3 rotation;            // rest rotation, radians
    float kickBack = 0.0f;       // how far a shot pushes the model back along z
    float kickFraction = 0.0f;   // of the cool-down spent moving back
    float returnFraction = 0.0f; // of the cool-down spent returning
    Vector3 swingRotation;       // the hammer's swing; zero for the others
    Mesh* model = nullptr;       // the loaded model (owned by the view's tree)
    std::string meshName;        // in the MeshRegistry
    int32_t cooldownMs = 0;      // the equipped weapon's, copied when it is equipped
    std::string fireSound;       // empty plays nothing
};

// The five view models by index, built before the program's entry.
extern const std::map<uint32_t, WeaponViewEntry> WeaponViewTable;

} // namespace mirefell
