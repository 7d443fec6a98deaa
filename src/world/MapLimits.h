// MapLimits: how large a map the game accepts. A map file is data anyone can
// edit, and the level load runs inside one step: a map far beyond any level
// would hold the game for minutes or take gigabytes before it could fail.
// The map loader checks the file's size before reading it and the counts of
// what it read before anything is built; a map beyond a limit is refused
// with an "invalid map - ..." message naming the count and the limit.
//
// Each limit sits far above the largest shipped level (the figures after
// each: the largest of pentagram, descent and mouth), so that no real level
// comes near one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirefell
{

struct MapData;

namespace MapLimits
{

inline constexpr uintmax_t MaxFileBytes = uintmax_t{8} << 20; // 8 MiB; shipped 259 KB
inline constexpr size_t MaxSectors = 8'192;                   // shipped 130
inline constexpr size_t MaxSegments = 32'768;                 // shipped 495
inline constexpr size_t MaxSectorLinkIds = 65'536;            // ids in "sectorLinks", two a link; shipped 394
inline constexpr size_t MaxEntities = 4'096;                  // shipped 105
inline constexpr size_t MaxAreas = 1'024;                     // shipped 5
inline constexpr size_t MaxLights = 4'096;                    // shipped 105
// Every vertex list together (sectors' "vertices" and "collisionVertices",
// segments' "vertices"), and every index list together.
inline constexpr size_t MaxVertices = 262'144; // shipped 3,306
inline constexpr size_t MaxIndices = 262'144;  // shipped 4,590
// The map's bounds across, each way, in world units: at most 1,024 x 1,024
// grid cells. Shipped 3,488.
inline constexpr float MaxExtent = 16'384.0f;

inline constexpr const char* FileTooLarge = "invalid map - file too large";
inline constexpr const char* TooManySectors = "invalid map - too many sectors";
inline constexpr const char* TooManySegments = "invalid map - too many segments";
inline constexpr const char* TooManySectorLinks = "invalid map - too many sector links";
inline constexpr const char* TooManyEntities = "invalid map - too many entities";
inline constexpr const char* TooManyAreas = "invalid map - too many areas";
inline constexpr const char* TooManyLights = "invalid map - too many lights";
inline constexpr const char* TooManyVertices = "invalid map - too many vertices";
inline constexpr const char* TooManyIndices = "invalid map - too many indices";
inline constexpr const char* BoundsTooLarge = "invalid map - bounds too large";

// Throws GameError(FileTooLarge) for a file of more than MaxFileBytes.
void CheckFileSize(uintmax_t bytes);
// Throws the GameError of the first limit the map passes, in the order
// above; its bounds must be computed.
void Check(const MapData& map);

} // namespace MapLimits

} // namespace mirefell
