// SegmentPanel: what switches and TV screens share: the textured quad that
// stands half a unit in front of their wall segment, and their placement in
// the level (the cells of the segment's two ends, then the World's object
// list). A segment whose quad has no area (ends that coincide, or no height)
// gets a panel without area, which shows nothing and is in nobody's way; a
// TV screen whose picture is not one of the game's textures is refused with
// an "invalid map" error naming the segment, before anything is built.
#pragma once

#include <memory>
#include <string>

namespace mirefell
{

class GridObject;
class Mesh;
class World;
struct MapSegment;

inline constexpr const char* PanelTextureNotFound = "invalid map - panel texture not found";

// The segment's wall quad (its two map points from "bottomY" to "topY")
// moved 0.5 along the quad's unit normal: a textured mesh drawn in the
// blended textured pass, two triangles with their texture coordinates, no
// texture yet. A quad without area has no normal and stays where it is.
std::unique_ptr<Mesh> BuildSegmentPanelMesh(const MapSegment& segment);

// Throws PanelTextureNotFound unless `textureName` is in the game's texture
// table.
void CheckPanelTexture(const MapSegment& segment, const std::string& textureName);

// Registers the object in the cells of the segment's ends and appends it to
// the World, which owns it from then on; returns it.
GridObject* PlaceOnSegment(World& world, MapSegment& segment, std::unique_ptr<GridObject> object);

} // namespace mirefell
