// MapObjectMakers: the gameplay's map-object factories, the table the level
// build makes its doors, elevators, pickups, monsters and player with, and
// the one projectiles are made with during play (the other kinds join as
// their classes arrive). Whoever builds a level
// passes MakeMapObjectFactories() to World::Create.
#pragma once

#include "world/MapObjectFactories.h"

namespace mirefell
{

// Door and Elevator from their sectors, Powerup from a pickup record,
// Monster from a monster record, the Player with the camera, and Projectile
// for shots made during play.
MapObjectFactories MakeMapObjectFactories();

} // namespace mirefell
