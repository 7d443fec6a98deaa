// BoundsMesh: the wireframe box that shows a pickup's or monster's bounds in
// the debug pass. The spawner makes it at the object's position; the
// object's UpdateBounds scales it to its box, and World::Reset moves it under
// the debug root.
#pragma once

#include <memory>

#include "platform/math/Vector.h"

namespace mirefell
{

class Mesh;

// A colour mesh of the cube with corners at +-0.5, white, placed at
// `position` with its transform built.
std::unique_ptr<Mesh> CreateBoundsMesh(const Vector3& position);

} // namespace mirefell
