// The monster half of an entity's spawn: what the level build gives a
// monster once it stands on its record's point. The world does not know the
// Monster class; it reaches the sprite frames through ISpriteOwner.
#pragma once

namespace mirefell
{

class EntityGridObject;
class InstancedMeshBatches;

// For every animation of the record's type, in id order (walk, death,
// attack), and each of its frames: a hidden instance at the monster's
// position in the batch of "<kind>_<animation><frame>" (texture "<kind>"),
// appended to the monster's frame list when it is an ISpriteOwner. Then the
// debug box, and the collision triangles: the unit cube scaled by the half
// extents around the position, with the footprint around it. A mesh missing
// from the MeshRegistry throws "invalid map<K, T> key".
void SetUpMonsterInstances(InstancedMeshBatches& batches, EntityGridObject& monster);

} // namespace mirefell
