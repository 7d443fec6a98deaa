// Blood decals: the slot ring, eight decals per cell, colour, size and the
// setting that switches them off.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "TestDecalGrid.h"
#include "render/BloodDecals.h"
#include "render/Mesh.h"
#include "shell/Config.h"

namespace mirefell
{
namespace
{

// A room of 128 x 64 units: 8 x 4 cells.
struct Decals : ::testing::Test
{
    ~Decals() override { Config::GetInstance().settings = Settings{}; }

    // Fresh decals over a fresh grid, as every level reset makes them.
    BloodDecals& Make(int32_t limit)
    {
        Config::GetInstance().settings.maxBloodDecals = limit;
        grid = testing::TestDecalGrid(8, 4);
        decals = std::make_unique<BloodDecals>(&grid, &root);
        decals->Initialize();
        return *decals;
    }

    Mesh root{EffectIdNone, MeshVertexFormatColor};
    testing::TestDecalGrid grid{8, 4};
    std::unique_ptr<BloodDecals> decals;
};

TEST_F(Decals, TheSettingDecidesTheMeshAndItsSlots)
{
    BloodDecals& none = Make(0);
    EXPECT_EQ(none.mesh, nullptr);
    none.Add({10, 0, 10}, Color(1, 0, 0, 1));

    // A negative value means no decals too.
    BloodDecals& negative = Make(-4);
    EXPECT_EQ(negative.mesh, nullptr);
    EXPECT_TRUE(root.children.empty());
    negative.Add({10, 0, 10}, Color(1, 0, 0, 1));
    EXPECT_EQ(negative.nextSlot, 0u);

    BloodDecals& some = Make(5);
    ASSERT_NE(some.mesh, nullptr);
    EXPECT_EQ(some.mesh->parent, &root);
    EXPECT_EQ(some.mesh->name, "blood_decals");
    EXPECT_EQ(some.mesh->textureName, "blood");
    EXPECT_EQ(some.mesh->effectId, EffectIdDecal);
    EXPECT_EQ(std::abs(some.mesh->geometry.positions[0].x), 0.5f); // a unit box: corners at +-0.5
    ASSERT_EQ(some.mesh->instances.size(), 5u);
    for (const MeshInstance& instance : some.mesh->instances)
        EXPECT_FALSE(instance.shown);
}

TEST_F(Decals, ADecalTakesItsColourSizeAndBox)
{
    BloodDecals& decals = Make(10);
    decals.Add({20, 1, 30}, Color(1, 1, 1, 1));
    const MeshInstance& placed = decals.mesh->instances[0];
    EXPECT_TRUE(placed.shown);
    EXPECT_EQ(placed.position, Vector3(20, 1, 30));
    EXPECT_NEAR(placed.colour.x, 0.2176f, 1e-4f);
    EXPECT_NEAR(placed.colour.z, 0.2176f, 1e-4f);
    EXPECT_EQ(placed.colour.w, 0.5f);
    const float size = placed.scale.x;
    EXPECT_GE(size, 6.0f);
    EXPECT_LE(size, 12.0f);
    EXPECT_EQ(placed.scale, Vector3(size));
    EXPECT_EQ(decals.slotBoxes[0], Box3(Vector3(20, 1, 30) - Vector3(size), Vector3(20, 1, 30) + Vector3(size)));
    EXPECT_EQ(placed.bounds, &decals.slotBoxes[0].min.x);

    decals.Add({-1, 0, 30}, Color(1, 1, 1, 1)); // off the grid
    decals.Add({130, 0, 30}, Color(1, 1, 1, 1));
    EXPECT_EQ(decals.nextSlot, 1u);
}

TEST_F(Decals, ACellHoldsEightAndThenReusesItsOwnSlotsInTurn)
{
    BloodDecals& decals = Make(12);
    for (int i = 0; i < 8; ++i)
        decals.Add({1.0f + i, 0, 1}, Color(1, 0, 0, 1)); // all in cell (0, 0)
    const DecalCell& cell = grid.CellAt(0, 0);
    EXPECT_EQ(cell.decals.size(), 8u);
    EXPECT_EQ(decals.nextSlot, 8u);

    decals.Add({5, 0, 5}, Color(1, 0, 0, 1)); // ninth: the cell's first slot
    decals.Add({6, 0, 6}, Color(1, 0, 0, 1)); // tenth: its second
    EXPECT_EQ(decals.mesh->instances[0].position, Vector3(5, 0, 5));
    EXPECT_EQ(decals.mesh->instances[1].position, Vector3(6, 0, 6));
    EXPECT_EQ(decals.nextSlot, 8u); // the ring did not move for them
    EXPECT_EQ(cell.decals.size(), 8u);
    EXPECT_EQ(cell.nextDecal, 2);

    // Fresh slots elsewhere run round the ring and overwrite the oldest.
    for (int i = 0; i < 5; ++i)
        decals.Add({40.0f + 16.0f * static_cast<float>(i % 5), 0, 40}, Color(0, 1, 0, 1));
    EXPECT_EQ(decals.nextSlot, 1u);
    EXPECT_EQ(decals.mesh->instances[0].position, Vector3(104, 0, 40));
}

} // namespace
} // namespace mirefell
