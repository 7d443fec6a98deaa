// ConcreteBuilder: floors, ceilings and walls of the static geometry.
#include "world/ConcreteBuilder.h"

#include <cmath>
#include <memory>
#include <string>

#include "platform/GameError.h"
#include "render/Mesh.h"
#include "world/Concrete.h"
#include "world/Intersections.h"
#include "world/MapColour.h"
#include "world/SectorGraph.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

void Register(World& world, std::unique_ptr<Concrete> piece, const CellRange& range)
{
    piece->SetCells(range);
    world.AddObject(std::move(piece));
}

} // namespace

SectorRegion& ConcreteBuilder::RegionOfSector(World& world, int32_t sectorId)
{
    SectorRegion* region = world.sectorGraph.RegionOfSector(static_cast<uint32_t>(sectorId));
    if (!region)
        throw GameError(SectorGraph::NoCorrespondingRegion, "sector " + std::to_string(sectorId));
    return *region;
}

std::vector<Vector3> ConcreteBuilder::SectorTrianglePositions(const MapSector& sector, bool ceiling, bool collision)
{
    const std::vector<Vector2>& points = collision ? sector.collisionVertices : sector.vertices;
    const std::vector<uint16_t>& indices = collision ? sector.collisionIndices : sector.indices;
    const float height = ceiling ? sector.ceilBottomY : sector.floorTopY;
    const auto corner = [&](uint16_t index) {
        const Vector2 point = points[index];
        return Vector3(point.x, height, point.y);
    };
    std::vector<Vector3> positions;
    positions.reserve(indices.size());
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        if (ceiling) {
            positions.push_back(corner(indices[i]));
            positions.push_back(corner(indices[i + 1]));
            positions.push_back(corner(indices[i + 2]));
        } else {
            positions.push_back(corner(indices[i + 2]));
            positions.push_back(corner(indices[i + 1]));
            positions.push_back(corner(indices[i]));
        }
    }
    return positions;
}

std::vector<Vector3> ConcreteBuilder::WallTrianglePositions(MapSegment& segment)
{
    std::vector<Vector3> positions;
    positions.reserve(segment.indices.size());
    int32_t bottomRight = 0;
    for (size_t i = 0; i + 2 < segment.indices.size(); i += 3) {
        positions.push_back(segment.vertices[segment.indices[i]]);
        positions.push_back(segment.vertices[segment.indices[i + 1]]);
        positions.push_back(segment.vertices[segment.indices[i + 2]]);
        if (static_cast<int32_t>(segment.indices[i + 2]) == segment.bottomRightIndex)
            bottomRight = static_cast<int32_t>(i) + 3;
    }
    segment.bottomRightIndex = bottomRight;
    return positions;
}

float ConcreteBuilder::WallRepeat(float length)
{
    const float repeats = length / TextureRepeat;
    return length > TextureRepeat ? std::round(repeats) : repeats;
}

std::array<Vector3, 6> ConcreteBuilder::SegmentQuad(const MapSegment& segment)
{
    const float bottom = segment.bottomY;
    const float top = segment.topY;
    const Vector3 startTop(segment.start.x, top, segment.start.y);
    const Vector3 endTop(segment.end.x, top, segment.end.y);
    const Vector3 startBottom(segment.start.x, bottom, segment.start.y);
    const Vector3 endBottom(segment.end.x, bottom, segment.end.y);
    return {startTop, endTop, startBottom, endTop, endBottom, startBottom};
}

Concrete* ConcreteBuilder::AddSectorConcrete(World& world, MapSector& sector, bool ceiling)
{
    const CellRange range = world.GetCellRange(sector.collisionVertices);
    SectorRegion& region = RegionOfSector(world, sector.id);
    auto piece = std::make_unique<Concrete>(&world, &sector, &region);

    const bool hasSurface = ceiling ? sector.ceiling : !sector.elevator;
    if (hasSurface) {
        const Vector4 colour =
            LitMapColour(ceiling ? sector.ceilingCatColor : sector.lightColor, SectorLight(sector.lightLevel));
        MeshGeometry geometry;
        geometry.positions = SectorTrianglePositions(sector, ceiling, false);
        const auto uv = [](const Vector3& p) { return Vector2(p.x / TextureRepeat, p.z / TextureRepeat); };
        geometry.triangles.reserve(geometry.positions.size() / 3);
        for (uint32_t k = 0; 3 * k + 2 < geometry.positions.size(); ++k) {
            MeshTriangle& triangle = geometry.triangles.emplace_back();
            triangle.colour = colour;
            triangle.a = 3 * k;
            triangle.b = 3 * k + 1;
            triangle.c = 3 * k + 2;
            triangle.uvA = uv(geometry.positions[triangle.a]);
            triangle.uvB = uv(geometry.positions[triangle.b]);
            triangle.uvC = uv(geometry.positions[triangle.c]);
        }
        region.mesh->geometry.Append(geometry);
        piece->vertices = SectorTrianglePositions(sector, ceiling, true);
    }
    piece->box = BoundingBoxFromPoints(piece->vertices);

    Concrete* built = piece.get();
    Register(world, std::move(piece), range);
    return built;
}

Concrete* ConcreteBuilder::AddWallConcrete(World& world, MapSegment& segment)
{
    const CellRange range = world.GetCellRange({segment.start, segment.end});
    SectorRegion& region = RegionOfSector(world, segment.sectorId);
    const auto found = world.map.sectorsById.find(segment.sectorId);
    MapSector* wallSector = found == world.map.sectorsById.end() ? nullptr : found->second;
    auto piece = std::make_unique<Concrete>(&world, &segment, wallSector, &region);

    const float light = SectorLight(wallSector ? wallSector->lightLevel : 0);
    const Vector4 colour = LitMapColour(segment.lightColor, light);
    MeshGeometry geometry;
    geometry.positions = WallTrianglePositions(segment);
    const float repeats = WallRepeat(Vector2::Distance(segment.start, segment.end));
    geometry.triangles.reserve(geometry.positions.size() / 3);
    for (uint32_t k = 0; 3 * k + 2 < geometry.positions.size(); ++k) {
        MeshTriangle& triangle = geometry.triangles.emplace_back();
        triangle.colour = colour;
        triangle.a = 3 * k;
        triangle.b = 3 * k + 1;
        triangle.c = 3 * k + 2;
        // The first part of the wall runs from its start (u 0) to its end
        // (u = repeats); the triangles after the bottom-right corner run back.
        const bool firstPart = static_cast<int32_t>(3 * k) < segment.bottomRightIndex;
        const float uA = firstPart ? 0.0f : repeats;
        const float uBC = firstPart ? repeats : 0.0f;
        triangle.uvA = {uA, geometry.positions[triangle.a].y / TextureRepeat};
        triangle.uvB = {uBC, geometry.positions[triangle.b].y / TextureRepeat};
        triangle.uvC = {uBC, geometry.positions[triangle.c].y / TextureRepeat};
    }
    region.mesh->geometry.Append(geometry);

    const std::array<Vector3, 6> quad = SegmentQuad(segment);
    piece->vertices.assign(quad.begin(), quad.end());
    // The box covers the drawn triangles and the collision quad, so a wall
    // that draws nothing still passes the box tests in front of its quad.
    Box3 box = BoundingBoxFromPoints(geometry.positions);
    for (const Vector3& corner : quad)
        box.Widen(corner);
    piece->box = box;

    Concrete* built = piece.get();
    Register(world, std::move(piece), range);
    return built;
}

} // namespace mirefell
