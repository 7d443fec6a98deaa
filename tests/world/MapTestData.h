// Shared helpers of the world tests: the hand-made test map and small map
// records built in code.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/MapRecords.h" // RectSector, WallSegment
#include "world/MapData.h"

namespace mirefell::testing
{

// Path of tests/data/maps/testmap.json in the source tree.
std::string TestMapPath();

// A minimal valid map document: one wall, one square sector (id 1, 0..64),
// one medkit, one area and one light; tests change it to break it.
nlohmann::json MinimalMapDocument();

} // namespace mirefell::testing
