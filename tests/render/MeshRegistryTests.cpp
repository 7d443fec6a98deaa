// MeshRegistry: the load order, the per-name adjustments, loading once, and
// the game's own generated mesh files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "MeshTestSupport.h"
#include "platform/GameError.h"
#include "render/MeshRegistry.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

using testing::ExpectVectorNear;

class MeshRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { MeshRegistry::GetInstance().Clear(); }
    void TearDown() override { MeshRegistry::GetInstance().Clear(); }

    // Every entity mesh as one triangle whose first corner is `first`.
    void WriteAll(const Vector3& first = {1, 0, 0})
    {
        for (const char* name : GetEntityMeshNames())
            WriteOne(name, first);
    }
    void WriteOne(const std::string& name, const Vector3& first)
    {
        folder.Write(name + ".js", "v " + std::to_string(first.x) + " " + std::to_string(first.y) + " " +
                                       std::to_string(first.z) + "\nv 0 0 1\nv 0 1 0\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n");
    }
    std::string Folder() const { return folder.Path().string() + "/"; }

    testing::TempDir folder;
    MeshRegistry& registry = MeshRegistry::GetInstance();
};

TEST_F(MeshRegistryTest, AdjustmentsScaleThenRotateThenOffset)
{
    WriteAll();
    WriteOne("boots", {0, 2, 0});
    registry.LoadAll(Folder());
    ASSERT_EQ(registry.Size(), EntityMeshCount);

    ExpectVectorNear(registry.GetMesh("boots").positions[0], {0, 7, 0});    // 2 x 1.5 + 4
    ExpectVectorNear(registry.GetMesh("armor").positions[0], {1.5f, 4, 0}); // scaled, raised
    ExpectVectorNear(registry.GetMesh("hammer").positions[0], {0, 12, -1}); // a quarter turn, raised
    ExpectVectorNear(registry.GetMesh("shield").positions[0], {-1, 0, 9});  // half round, forward
    ExpectVectorNear(registry.GetMesh("shield").positions[1], {0, 0, 8});   // (0, 0, 1) turned too
    ExpectVectorNear(registry.GetMesh("medkit").positions[0], {1, 0, 0});   // untouched
    ExpectVectorNear(registry.GetMesh("title_l2").positions[2], {0, 1, 0});
}

TEST_F(MeshRegistryTest, MissingFileStopsTheLoadKeepingWhatCameBefore)
{
    WriteAll();
    std::filesystem::remove(folder.File("hammer.js"));
    try {
        registry.LoadAll(Folder());
        FAIL() << "a missing mesh file went unnoticed";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "file cannot be opened");
        EXPECT_NE(error.Detail().find("hammer.js"), std::string::npos);
    }
    EXPECT_EQ(registry.Size(), 6u); // "ammo" to "rocket_launcher"
    EXPECT_NO_THROW(registry.GetMesh("rocket_launcher"));
    try {
        registry.GetMesh("hammer");
        FAIL() << "the missing mesh was found";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    registry.LoadAll(Folder()); // not empty: nothing more is read
    EXPECT_EQ(registry.Size(), 6u);
}

// The generated files, as the game reads them from the run folder.
TEST_F(MeshRegistryTest, GeneratedMeshesLoadAndFitWhereTheyAreDrawn)
{
    registry.LoadAll();
    ASSERT_EQ(registry.Size(), EntityMeshCount);
    for (const char* name : GetEntityMeshNames()) {
        const MeshGeometry& mesh = registry.GetMesh(name);
        ASSERT_FALSE(mesh.triangles.empty()) << name;
        EXPECT_EQ(mesh.positions.size(), mesh.triangles.size() * 3) << name;
        for (const MeshTriangle& t : mesh.triangles)
            for (const Vector2& uv : {t.uvA, t.uvB, t.uvC}) {
                EXPECT_GE(uv.x, 0.0f) << name;
                EXPECT_LE(uv.x, 1.0f) << name;
                EXPECT_GE(uv.y, 0.0f) << name;
                EXPECT_LE(uv.y, 1.0f) << name;
            }
    }
    const auto bounds = [&](const char* name) {
        Vector3 low(1e9f), high(-1e9f);
        for (const Vector3& p : registry.GetMesh(name).positions) {
            low = Vector3::Min(low, p);
            high = Vector3::Max(high, p);
        }
        return std::pair{low, high};
    };
    // Pickups are drawn at 0.4 with their centre 3 above the floor and
    // picked up within a box of half size 5: they stay above the floor and
    // inside their box.
    for (const char* pickup :
         {"ammo", "medkit", "redkey", "bluekey", "health_cube", "boots", "armor_shard", "armor", "nightmare",
          "bloodlust", "win_thing", "hyper_blaster", "rocket_launcher", "double_shotgun"}) {
        const auto [low, high] = bounds(pickup);
        EXPECT_GT(low.y * 0.4f, -3.0f) << pickup;
        EXPECT_LT(high.y * 0.4f, 5.0f) << pickup;
        EXPECT_LT(std::max(-low.x, high.x) * 0.4f, 5.0f) << pickup;
    }
    // Sprite frames: two-sided quads whose foot row meets the floor, 8.03
    // below the monster's centre at its sprite scale.
    for (const char* frame : {"nom_walk0", "eye_death3"}) {
        EXPECT_EQ(registry.GetMesh(frame).triangles.size(), 4u);
    }
    EXPECT_NEAR(bounds("nom_walk0").first.y * 0.9f + 2 * 0.33f * 0.9f, -8.03f, 1e-3f);
    EXPECT_NEAR(bounds("eye_walk0").first.y * 0.5f + 1 * 0.6f * 0.5f, -8.03f, 1e-3f);
    // Title letters stand on y = 0, five units wide, centred.
    for (const char* letter : {"title_m", "title_i", "title_l2"}) {
        const auto [low, high] = bounds(letter);
        EXPECT_NEAR(low.y, 0.0f, 1e-4f) << letter;
        EXPECT_NEAR(low.x, -2.5f, 1e-4f) << letter;
        EXPECT_NEAR(high.x, 2.5f, 1e-4f) << letter;
    }
}

} // namespace
} // namespace mirefell
