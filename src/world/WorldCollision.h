// WorldCollision: the World's small collision service. It holds nothing but
// its World; the movement operations (the player's ellipsoid sweep, monster
// sliding, moving platforms) and the hit queries (rays, hitscan, splash,
// projectile sweeps, particle landing) are its operations, built on the
// World's cell queries.
#pragma once

namespace mirefell
{

class World;

class WorldCollision
{
public:
    explicit WorldCollision(World* world_) : world(world_) {}

    World* world;
};

} // namespace mirefell
