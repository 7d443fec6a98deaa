// MapObjectMakers: the gameplay's map-object factories, the table the level
// build makes its doors, elevators, switches, TV screens, pickups (with
// their loot), monsters and player with, and the one projectiles are made
// with during play. Whoever builds a level passes MakeMapObjectFactories()
// to World::Create.
#pragma once

#include "world/MapObjectFactories.h"

namespace mirefell
{

// Door and Elevator from their sectors, Switch and TVScreen from their
// segments, Powerup from a pickup record with the loot tables' pick,
// Monster from a monster record, the Player with the camera, and
// Projectile for shots made during play.
MapObjectFactories MakeMapObjectFactories();

} // namespace mirefell
