// MovingSector: the geometry of a door or elevator, a whole map sector that
// moves up and down. Build turns the sector into everything its object needs:
// its position (the centre of the block), edge copies of the sector's
// collision outline as wall segments, collision triangles with their box, and
// two drawable pieces, the cap (a door's underside, an elevator's top) and the
// sides, whose positions are relative to the object's position so that moving
// the object's meshes moves the picture.
//
// Shapes: a door is a block from "floorTopY" up to "ceilBottomY"; an elevator
// is a block "elevatorMaxHeight" tall whose top is at "floorTopY". Both caps
// lie at "floorTopY", a door's wound like a ceiling (facing down), an
// elevator's like a floor (facing up); the sides face outward. An elevator's
// position is therefore the centre of its block, half its travel below its
// top, and heights given for elevators elsewhere (level scripts) are centre
// heights as well.
//
// The result is plain data. Apply hands it to the object that takes it (a
// Door or an Elevator): position, segments, vertices, box and half extents,
// and a mesh group with the cap first and the sides second, each child
// placed at the object's position. When the object moves, UpdateMeshes
// carries the picture along.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"
#include "render/MeshGeometry.h"
#include "world/MapData.h"

namespace mirefell
{

class GridObject;
class Mesh;

// One drawable piece. Textured pieces are drawn by the textured effect with
// 32-byte vertices; plain ones by the coloured effect with 52-byte vertices.
// Both geometry flags are off: the geometry colour (the sector colour) is used
// for every triangle.
struct MovingSectorMesh
{
    bool textured = false;
    std::string textureName; // empty for plain coloured pieces
    MeshGeometry geometry;   // positions relative to the object's position
};

struct MovingSectorGeometry
{
    Vector3 position;                 // centre of the block
    std::vector<MapSegment> segments; // edges of the collision outline, spanning the block's height
    std::vector<Vector3> vertices;    // collision triangles, world coordinates: cap first, then sides
    Box3 box;                         // of vertices
    Vector3 halfExtents;              // (box.max - box.min) / 2
    MovingSectorMesh cap;
    MovingSectorMesh side;
};

class MovingSector
{
public:
    // Texture repeat lengths in world units.
    static constexpr float TextureStep = 16.0f;
    static constexpr float PlainColourTextureStep = 64.0f;

    // The whole geometry of a door (elevator false) or elevator (true).
    static MovingSectorGeometry Build(const MapSector& sector, bool elevator);
    // Centre of the render polygon's 2D bounds; y the middle of the block.
    static Vector3 Centre(const MapSector& sector, bool elevator);
    // One segment per edge of the collision outline, the closing edge last,
    // spanning the block's bottom to top and tied to the sector's id.
    static std::vector<MapSegment> EdgeSegments(const MapSector& sector, bool elevator);
    // The cap at "floorTopY"; appends its collision triangles to collision.
    static MovingSectorMesh BuildCapMesh(const MapSector& sector, const Vector3& position,
                                         std::vector<Vector3>& collision, const std::string& textureName,
                                         bool elevator);
    // One quad per edge of the render polygon over the block's height;
    // appends its collision triangles to collision.
    static MovingSectorMesh BuildSideMesh(const MapSector& sector, const Vector3& position,
                                          std::vector<Vector3>& collision, const std::string& textureName,
                                          bool elevator);
    // Gives the object the geometry: position, segments, collision
    // triangles, box and half extents, and the mesh group as its own mesh and
    // its instanceMesh, bounded by the object's box.
    static void Apply(GridObject& object, MovingSectorGeometry geometry);
    // The drawable of one piece: textured (effect 2, 32-byte vertices) or
    // plain coloured (effect 1, 52-byte vertices).
    static std::unique_ptr<Mesh> MakePieceMesh(MovingSectorMesh piece);
    // Every child of the object's instanceMesh takes the object's position.
    static void UpdateMeshes(GridObject& object);
    // The block's bottom and top heights.
    static float BottomY(const MapSector& sector, bool elevator);
    static float TopY(const MapSector& sector, bool elevator);
};

} // namespace mirefell
