#include "gameplay/MapObjectMakers.h"

#include <memory>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Loot.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "gameplay/Projectile.h"
#include "gameplay/ProjectilePool.h"
#include "gameplay/Switch.h"
#include "gameplay/TVScreen.h"

namespace mirefell
{

MapObjectFactories MakeMapObjectFactories()
{
    // The shots' storage is made with the level, not at the first shot.
    ProjectilePool::GetInstance();
    MapObjectFactories factories;
    factories.door = [](World& world, MapSector& sector) -> std::unique_ptr<GridObject> {
        return std::make_unique<Door>(&world, &sector);
    };
    factories.elevator = [](World& world, MapSector& sector) -> std::unique_ptr<GridObject> {
        return std::make_unique<Elevator>(&world, &sector);
    };
    factories.powerup = [](World& world, MapEntity& entity, uint32_t) -> std::unique_ptr<EntityGridObject> {
        return std::make_unique<Powerup>(&world, &entity);
    };
    factories.monster = [](World& world, MapEntity& entity, uint32_t) -> std::unique_ptr<EntityGridObject> {
        return std::make_unique<Monster>(&world, &entity);
    };
    factories.player = [](World& world, Camera* camera) -> std::unique_ptr<GridObject> {
        return std::make_unique<Player>(&world, camera);
    };
    factories.switchPanel = &Switch::Spawn;
    factories.tvScreen = &TVScreen::Spawn;
    factories.loot = &Loot::Pick;
    factories.projectile = [](World& world, GridObject* owner, ProjectileType type, const Color& colour,
                              const Color& lightColour, const Vector3& origin, const Vector3& direction,
                              float damage) -> std::unique_ptr<GridObject> {
        return std::make_unique<Projectile>(&world, owner, type, colour, lightColour, origin, direction, damage);
    };
    return factories;
}

} // namespace mirefell
