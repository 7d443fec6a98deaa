// MeshInstance: one placement of an instanced Mesh (effect ids 3 and 4): the
// pickups of one kind, the frames of one monster sprite, the blood decals.
// Owners address their instance by (Mesh, index); instances are never erased
// or reordered, only flagged.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

struct MeshInstance
{
    // The instance's box, six floats (min x, y, z, max x, y, z) owned by the
    // object it belongs to, frustum-tested when not null. Read only while
    // the instance is neither removed nor hidden, so an owner that sets
    // `removed` may free the box.
    const float* bounds = nullptr;
    Vector3 position;
    Vector3 rotation; // pitch about X, yaw about Y, roll about Z, radians
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Vector4 colour{1.0f, 1.0f, 1.0f, 1.0f}; // copied into the instance record
    // Drawn by a pass only while set (sprite frames switch it).
    bool shown = true;
    // Never drawn again once set (a picked-up powerup).
    bool removed = false;
};

} // namespace mirefell
