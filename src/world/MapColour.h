// How a map's packed colours and light levels become the linear-light colours
// of level geometry; shared by the static geometry and the moving sectors.
#pragma once

#include <cstdint>

#include "platform/math/Vector.h"

namespace mirefell
{

struct MapSector;

// (lightLevel x 0.1)^2, clamped to [0.25, 0.75].
float SectorLight(int32_t lightLevel);
// Unpacks 0xAARRGGBB to (R, G, B, A) / 255, scales every component by light,
// then raises red, green and blue to the power 2.2 (alpha stays).
Vector4 LitMapColour(uint32_t packed, float light);
// The colour of a sector's floor and of its door or elevator geometry.
Vector4 SectorColour(const MapSector& sector);

} // namespace mirefell
