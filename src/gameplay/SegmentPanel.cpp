#include "gameplay/SegmentPanel.h"

#include <array>
#include <cmath>
#include <string>

#include "platform/GameError.h"
#include "platform/PrintableText.h"
#include "render/Mesh.h"
#include "render/TextureTable.h"
#include "world/ConcreteBuilder.h"
#include "world/GridObject.h"
#include "world/MapData.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

constexpr float PanelOffset = 0.5f;

std::string SegmentName(const MapSegment& segment)
{
    return "segment " + std::to_string(segment.id);
}

// The unit normal of the quad's first two edges, worked in double: the
// edges of a quad of finite floats can overflow a float (a wall from -3e38
// to 3e38) but not a double, whose squares still fit. A quad without area
// has no normal: zero, so its panel stays on the wall with no area either.
Vector3 PanelNormal(const std::array<Vector3, 6>& quad)
{
    const double ax = double(quad[1].x) - quad[0].x, ay = double(quad[1].y) - quad[0].y,
                 az = double(quad[1].z) - quad[0].z;
    const double bx = double(quad[2].x) - quad[0].x, by = double(quad[2].y) - quad[0].y,
                 bz = double(quad[2].z) - quad[0].z;
    const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0.0))
        return {};
    return {static_cast<float>(nx / length), static_cast<float>(ny / length), static_cast<float>(nz / length)};
}

} // namespace

std::unique_ptr<Mesh> BuildSegmentPanelMesh(const MapSegment& segment)
{
    const std::array<Vector3, 6> quad = ConcreteBuilder::SegmentQuad(segment);
    const Vector3 offset = PanelNormal(quad) * PanelOffset;

    auto mesh = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    mesh->subKind = MeshSubKindBlended;
    MeshGeometry& geometry = mesh->geometry;
    geometry.colour = Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    geometry.positions.reserve(quad.size());
    for (const Vector3& corner : quad)
        geometry.positions.push_back(corner + offset);

    const Vector4 black(0.0f, 0.0f, 0.0f, 1.0f);
    geometry.triangles = {MeshTriangle{black, 0, 1, 2, Vector2(1.0f, 0.0f), Vector2(0.0f, 0.0f), Vector2(1.0f, 1.0f)},
                          MeshTriangle{black, 3, 4, 5, Vector2(0.0f, 0.0f), Vector2(0.0f, 1.0f), Vector2(1.0f, 1.0f)}};
    return mesh;
}

void CheckPanelTexture(const MapSegment& segment, const std::string& textureName)
{
    for (const TextureTableRow& row : GetTextureTable())
        if (textureName == row.name)
            return;
    throw GameError(PanelTextureNotFound, SegmentName(segment) + ", texture \"" + PrintableText(textureName) + "\"");
}

GridObject* PlaceOnSegment(World& world, MapSegment& segment, std::unique_ptr<GridObject> object)
{
    object->SetCells(world.GetCellRange({segment.start, segment.end}));
    return world.AddObject(std::move(object));
}

} // namespace mirefell
