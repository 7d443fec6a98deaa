#include "gameplay/SegmentPanel.h"

#include <array>
#include <cmath>
#include <string>

#include "platform/GameError.h"
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

} // namespace

std::unique_ptr<Mesh> BuildSegmentPanelMesh(const MapSegment& segment)
{
    const std::array<Vector3, 6> quad = ConcreteBuilder::SegmentQuad(segment);
    const Vector3 cross = (quad[1] - quad[0]).Cross(quad[2] - quad[0]);
    const float length = cross.Length();
    if (!(length > 0.0f) || !std::isfinite(length))
        throw GameError(SegmentWithoutPanel, SegmentName(segment));
    const Vector3 offset = cross * (PanelOffset / length);

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
    throw GameError(PanelTextureNotFound, SegmentName(segment) + ", texture \"" + textureName + "\"");
}

GridObject* PlaceOnSegment(World& world, MapSegment& segment, std::unique_ptr<GridObject> object)
{
    object->SetCells(world.GetCellRange({segment.start, segment.end}));
    return world.AddObject(std::move(object));
}

} // namespace mirefell
