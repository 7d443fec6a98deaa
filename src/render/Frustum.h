// The culling frustum and the box test every pass culls with. A frustum is
// six planes (a, b, c, d), each with a unit normal pointing into the frustum,
// in the order near, far, left, right, top, bottom (Camera builds them). A box
// is six floats: min x, min y, min z, max x, max y, max z; the objects that
// own boxes (World objects, the blood decals) hand out pointers to them.
#pragma once

#include <array>

#include "platform/math/Vector.h"

namespace mirefell
{

using FrustumPlanes = std::array<Vector4, 6>;

// True unless the box lies wholly outside one plane: a corner is inside a
// plane when a x + b y + c z + d >= 0. Conservative: a box outside two planes
// at once near a frustum edge, but not wholly outside either, counts as in.
bool IsBoxInFrustum(const FrustumPlanes& planes, const float* box);

// The camera position lies within the box on all three axes, faces included.
bool IsPointInBox(const Vector3& point, const float* box);

} // namespace mirefell
