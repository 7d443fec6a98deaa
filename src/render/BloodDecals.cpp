// BloodDecals: the decal mesh and the choice of slot for each decal.
#include "render/BloodDecals.h"

#include <cmath>
#include <memory>

#include "platform/Random.h"
#include "render/IDecalGrid.h"
#include "render/Mesh.h"
#include "render/MeshPrimitives.h"
#include "shell/Config.h"

namespace mirefell
{

BloodDecals::BloodDecals(IDecalGrid* grid_, Mesh* root_) : grid(grid_), root(root_) {}

void BloodDecals::Initialize()
{
    const int32_t limit = Config::GetInstance().settings.maxBloodDecals;
    if (limit <= 0)
        return;

    auto decals = std::make_unique<Mesh>(EffectIdDecal, MeshVertexFormatTexture);
    decals->name = "blood_decals";
    BuildCubeMesh(decals->geometry);
    for (Vector3& position : decals->geometry.positions)
        position *= 0.5f;
    decals->textureName = "blood";

    const auto slots = static_cast<size_t>(limit);
    decals->instances.reserve(slots);
    slotBoxes.assign(slots, Box3());
    for (size_t i = 0; i < slots; ++i) {
        MeshInstance& instance = decals->instances.emplace_back();
        instance.shown = false;
    }
    mesh = root->AddChild(std::move(decals));

    // Decals join cells during play; their lists are sized now.
    grid->ReserveDecalCells(DecalsPerCell);
}

void BloodDecals::Add(const Vector3& point, const Color& colour)
{
    if (Config::GetInstance().settings.maxBloodDecals <= 0 || slotBoxes.empty() || !mesh)
        return;

    DecalCell* found = grid->FindDecalCell(point);
    if (!found)
        return;
    DecalCell& cell = *found;

    uint32_t slot = 0;
    bool fresh = false;
    if (cell.decals.size() < static_cast<size_t>(DecalsPerCell)) {
        slot = nextSlot;
        cell.decals.push_back(static_cast<int32_t>(slot));
        fresh = true;
    } else {
        slot = static_cast<uint32_t>(cell.decals[static_cast<size_t>(cell.nextDecal)]);
        cell.nextDecal = (cell.nextDecal + 1) % DecalsPerCell;
    }

    MeshInstance& instance = mesh->instances[slot];
    instance.shown = true;
    instance.position = point;
    instance.colour = {std::pow(0.5f * colour.r, 2.2f), std::pow(0.5f * colour.g, 2.2f),
                       std::pow(0.5f * colour.b, 2.2f), 0.5f * colour.a};
    const float size = 6.0f + 6.0f * RandUnit();
    instance.scale = Vector3(size);

    Box3& box = slotBoxes[slot];
    box = Box3(point - Vector3(size), point + Vector3(size));
    instance.bounds = &box.min.x;

    if (fresh) {
        nextSlot += 1;
        if (nextSlot == slotBoxes.size())
            nextSlot = 0;
    }
}

} // namespace mirefell
