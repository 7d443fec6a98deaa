// EntityGridObject: the GridObject of one layer-"3" map record (a pickup or
// a monster). It keeps the record, the scale and offset of its drawn mesh,
// the record's "isStatic" flag and the sector it was spawned in. It sets no
// type mask: Powerup and Monster do.
#pragma once

#include "platform/math/Vector.h"
#include "world/GridObject.h"

namespace mirefell
{

struct MapEntity;
struct MapSector;

class EntityGridObject : public GridObject
{
public:
    // Named after the entity layer; the record is also the object's source.
    EntityGridObject(World* world_, MapEntity* record_);

    Vector3 meshScale{1.0f, 1.0f, 1.0f};
    Vector3 meshOffset; // added to the record's point when spawned
    bool isStatic = false;
    MapSector* startingSector = nullptr;
    MapEntity* record; // in the World's map data
};

} // namespace mirefell
