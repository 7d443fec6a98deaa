// MapPicture: a top-down picture of a map for reviewing a level by eye.
// Floors are shaded by height (darker is lower), doors are drawn amber (red
// or blue when keyed), elevators teal with their id, walls as lines, switches
// yellow and screens cyan on their walls; named areas are outlined with
// their names; monsters are red ("N") and magenta ("E") discs the size of
// their bodies; pickups are marked by kind (keys as diamonds in their
// colour, the exit as a green ring, random pickups gold with their loot
// table); lights are small yellow dots; the start is a white triangle
// pointing the way the player faces; the authored route is a cyan line
// through its numbered stops. North (+y) is up.
#pragma once

#include <vector>

#include "LevelSource.h"
#include "platform/Image.h"
#include "world/MapData.h"

namespace mirefell::maptool
{

class MapPicture
{
public:
    // The picture's scale: pixels per map unit.
    static constexpr float PixelsPerUnit = 1.0f;
    static constexpr int Margin = 24;
    static constexpr int LegendHeight = 40;

    static Image Draw(const MapData& map, const std::vector<RouteStep>& route);
    // Where a map point lands in a picture of this map.
    static Vector2 ToPixel(const MapData& map, Vector2 point);
};

} // namespace mirefell::maptool
