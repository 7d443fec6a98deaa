// Door and elevator geometry: centre, edge segments, cap and sides.
#include "world/MovingSector.h"

#include <cassert>
#include <cmath>

#include "render/Mesh.h"
#include "world/GridObject.h"
#include "world/Intersections.h"
#include "world/MapColour.h"

namespace mirefell
{

namespace
{

float TextureStepOf(const MapSector& sector)
{
    return sector.useVertexColors ? MovingSector::PlainColourTextureStep : MovingSector::TextureStep;
}

MovingSectorMesh MakeMesh(const MapSector& sector, const std::string& textureName)
{
    MovingSectorMesh mesh;
    mesh.textured = !sector.useVertexColors;
    if (mesh.textured)
        mesh.textureName = textureName;
    mesh.geometry.colour = SectorColour(sector);
    return mesh;
}

MeshTriangle Triangle(uint32_t first, Vector2 uvA, Vector2 uvB, Vector2 uvC)
{
    return {{0.0f, 0.0f, 0.0f, 1.0f}, first, first + 1, first + 2, uvA, uvB, uvC};
}

} // namespace

float MovingSector::BottomY(const MapSector& sector, bool elevator)
{
    return elevator ? sector.floorTopY - sector.elevatorMaxHeight : sector.floorTopY;
}

float MovingSector::TopY(const MapSector& sector, bool elevator)
{
    return elevator ? sector.floorTopY : sector.ceilBottomY;
}

Vector3 MovingSector::Centre(const MapSector& sector, bool elevator)
{
    const Vector2 middle = BoundingRectOfPoints(sector.vertices).Centre();
    const float y =
        elevator ? sector.floorTopY - sector.elevatorMaxHeight * 0.5f : (sector.floorTopY + sector.ceilBottomY) * 0.5f;
    return {middle.x, y, middle.y};
}

std::vector<MapSegment> MovingSector::EdgeSegments(const MapSector& sector, bool elevator)
{
    // The copies carry the block's heights: the movement code lets anything
    // pass a segment whose height span it does not meet, and the door and
    // elevator move both heights with the block.
    const std::vector<Vector2>& points = sector.collisionVertices;
    std::vector<MapSegment> segments;
    segments.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        MapSegment segment;
        segment.start = points[i];
        segment.end = points[i + 1 == points.size() ? 0 : i + 1];
        segment.bottomY = BottomY(sector, elevator);
        segment.topY = TopY(sector, elevator);
        segment.sectorId = sector.id;
        segments.push_back(std::move(segment));
    }
    return segments;
}

MovingSectorMesh MovingSector::BuildCapMesh(const MapSector& sector, const Vector3& position,
                                            std::vector<Vector3>& collision, const std::string& textureName,
                                            bool elevator)
{
    const float s = TextureStepOf(sector);
    const float height = sector.floorTopY;
    // A door's cap faces down like a ceiling, an elevator's up like a floor.
    const auto ordered = [elevator](const std::vector<uint16_t>& indices, size_t i, int corner) {
        return indices[elevator ? i + 2 - corner : i + corner];
    };

    MovingSectorMesh mesh = MakeMesh(sector, textureName);
    MeshGeometry& geometry = mesh.geometry;
    const std::vector<uint16_t>& indices = sector.indices;
    geometry.positions.reserve(indices.size());
    geometry.triangles.reserve(indices.size() / 3);
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        Vector2 uv[3];
        const auto first = static_cast<uint32_t>(geometry.positions.size());
        for (int corner = 0; corner < 3; ++corner) {
            const uint16_t index = ordered(indices, i, corner);
            assert(index < sector.vertices.size() && "the map loader checks sector indices");
            const Vector2 p = sector.vertices[index];
            uv[corner] = {p.x / s, p.y / s};
            geometry.positions.push_back(Vector3{p.x, height, p.y} - position);
        }
        geometry.triangles.push_back(Triangle(first, uv[0], uv[1], uv[2]));
    }

    const std::vector<uint16_t>& collisionIndices = sector.collisionIndices;
    for (size_t i = 0; i + 2 < collisionIndices.size(); i += 3)
        for (int corner = 0; corner < 3; ++corner) {
            const uint16_t index = ordered(collisionIndices, i, corner);
            assert(index < sector.collisionVertices.size() && "the map loader checks collision indices");
            const Vector2 p = sector.collisionVertices[index];
            collision.push_back({p.x, height, p.y});
        }
    return mesh;
}

MovingSectorMesh MovingSector::BuildSideMesh(const MapSector& sector, const Vector3& position,
                                             std::vector<Vector3>& collision, const std::string& textureName,
                                             bool elevator)
{
    const float s = TextureStepOf(sector);
    const float top = TopY(sector, elevator);
    const float bottom = BottomY(sector, elevator);

    MovingSectorMesh mesh = MakeMesh(sector, textureName);
    MeshGeometry& geometry = mesh.geometry;
    const std::vector<Vector2>& points = sector.vertices;
    geometry.positions.reserve(points.size() * 6);
    geometry.triangles.reserve(points.size() * 2);
    for (size_t i = 0; i < points.size(); ++i) {
        const Vector2 p0 = points[i];
        const Vector2 p1 = points[i + 1 == points.size() ? 0 : i + 1];
        const float length = Vector2::Distance(p0, p1);
        // Short edges show part of the texture; longer ones whole repeats.
        const float u = length <= s ? length / s : std::round(length / s);
        const Vector3 corners[6] = {{p0.x, top, p0.y}, {p1.x, top, p1.y},    {p0.x, bottom, p0.y},
                                    {p1.x, top, p1.y}, {p1.x, bottom, p1.y}, {p0.x, bottom, p0.y}};
        const auto first = static_cast<uint32_t>(geometry.positions.size());
        for (const Vector3& corner : corners) {
            collision.push_back(corner);
            geometry.positions.push_back(corner - position);
        }
        const float vTop = top / s, vBottom = bottom / s;
        geometry.triangles.push_back(Triangle(first, {0.0f, vTop}, {u, vTop}, {0.0f, vBottom}));
        geometry.triangles.push_back(Triangle(first + 3, {u, vTop}, {u, vBottom}, {0.0f, vBottom}));
    }
    return mesh;
}

MovingSectorGeometry MovingSector::Build(const MapSector& sector, bool elevator)
{
    MovingSectorGeometry result;
    result.position = Centre(sector, elevator);
    result.segments = EdgeSegments(sector, elevator);

    std::string capTexture, sideTexture;
    if (!sector.useVertexColors) {
        capTexture = elevator ? sector.floorTexId : sector.ceilTexId;
        sideTexture = sector.sideTexId;
    }
    result.cap = BuildCapMesh(sector, result.position, result.vertices, capTexture, elevator);
    result.side = BuildSideMesh(sector, result.position, result.vertices, sideTexture, elevator);

    result.box = BoundingBoxFromPoints(result.vertices);
    result.halfExtents = (result.box.max - result.box.min) * 0.5f;
    return result;
}

std::unique_ptr<Mesh> MovingSector::MakePieceMesh(MovingSectorMesh piece)
{
    auto mesh = piece.textured ? std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture)
                               : std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    mesh->textureName = std::move(piece.textureName);
    mesh->geometry = std::move(piece.geometry);
    return mesh;
}

void MovingSector::Apply(GridObject& object, MovingSectorGeometry geometry)
{
    object.position = geometry.position;
    object.segments = std::move(geometry.segments);
    object.vertices = std::move(geometry.vertices);
    object.box = geometry.box;
    object.halfExtents = geometry.halfExtents;

    auto group = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);
    for (MovingSectorMesh* piece : {&geometry.cap, &geometry.side}) {
        Mesh* child = group->AddChild(MakePieceMesh(std::move(*piece)));
        child->position = object.position;
        child->UpdateTransform();
    }
    group->bounds = object.BoxFloats();
    object.instanceMesh = group.get();
    object.mesh = std::move(group);
}

void MovingSector::UpdateMeshes(GridObject& object)
{
    if (!object.instanceMesh)
        return;
    for (const auto& child : object.instanceMesh->children) {
        child->position = object.position;
        child->UpdateTransform();
    }
}

} // namespace mirefell
