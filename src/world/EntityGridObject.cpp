#include "world/EntityGridObject.h"

#include "world/MapData.h"

namespace mirefell
{

EntityGridObject::EntityGridObject(World* world_, MapEntity* record_)
    : GridObject(world_, EntityLayerKey, record_), record(record_)
{}

} // namespace mirefell
