// TVScreen: a picture on a wall (a segment of "type" 4): the panel quad half
// a unit in front of the segment, showing the segment's own texture. It has
// no state and no update. The panel mesh is the object's own until the
// World resets, then the scene's; `instanceMesh` keeps addressing it.
#pragma once

#include "world/GridObject.h"

namespace mirefell
{

class TVScreen : public GridObject
{
public:
    // Of the segment record in the World's map (borrowed; also the source).
    TVScreen(World* world_, MapSegment* segment_);
    ~TVScreen() override;

    // Builds the screen of a "type" 4 segment, registers it in the cells of
    // the segment's ends and appends it to the World; returns it. A quad
    // without area gives a screen without area, which shows nothing. Throws
    // "invalid map - panel texture not found" for a "texId" that is not one
    // of the game's textures.
    static GridObject* Spawn(World& world, MapSegment& segment);
    // The panel on the unchanged segment, showing its "texId".
    void BuildGeometry();

    MapSegment* segment;
};

} // namespace mirefell
