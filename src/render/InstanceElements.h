// The element tables of the instanced effects, built as a growing list: the
// three textured-vertex elements in slot 0, then per-instance elements in
// slot 1 (step rate 1, four floats each): WORLD0-3, INVERSE_WORLD0-3 and,
// for decals, COLOR0.
#pragma once

#include <vector>

#include "platform/gpu/GpuTypes.h"

namespace mirefell
{

std::vector<gpu::InputElement> InstanceElements(bool withColour);

} // namespace mirefell
