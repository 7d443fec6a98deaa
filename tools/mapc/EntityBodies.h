// EntityBodies: where the game puts an entity of each type code relative to
// its map record, and how big its box is. The map compiler writes a record
// so that the entity stands where the author placed it; the checker tests
// that box against the floors and ceilings.
//
// Pickups take their numbers from Powerup. The monsters' numbers are those of
// the monster kinds' data (half extents (7.2, 8, 7.2) for "nom" and
// (5.6, 8, 5.6) for "eye", both spawned 8.03 above the record's height and
// half their width in from its point).
#pragma once

#include <string>

#include "platform/math/Vector.h"
#include "world/MapEntityTypes.h"

namespace mirefell::maptool
{

struct EntityBody
{
    Vector3 spawnOffset; // added to (pos.x, "y", pos.y)
    Vector3 halfExtents;
};

// The body of a type entry; a monster kind other than "nom" and "eye" gives
// a zero body.
EntityBody BodyOf(const MapEntityType& type);

} // namespace mirefell::maptool
