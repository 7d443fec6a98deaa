// EntityBodies: the spawn offsets and boxes by entity kind.
#include "EntityBodies.h"

#include "gameplay/Powerup.h"

namespace mirefell::maptool
{

EntityBody BodyOf(const MapEntityType& type)
{
    if (type.kind == MapEntityKind::Powerup)
        return {Powerup::SpawnOffset, Vector3(Powerup::HalfSize)};
    if (type.name == "nom")
        return {{3.6f, 8.03f, 3.6f}, {7.2f, 8.0f, 7.2f}};
    if (type.name == "eye")
        return {{2.8f, 8.03f, 2.8f}, {5.6f, 8.0f, 5.6f}};
    return {};
}

} // namespace mirefell::maptool
