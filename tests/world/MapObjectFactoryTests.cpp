// The level build over factories of the test's own: what each slot is asked
// for, how entity objects are placed, and what the statistics count when a
// factory gives nothing.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "support/WorldFixture.h"
#include "world/EntityGridObject.h"
#include "world/MapObjectFactories.h"

namespace mirefell
{
namespace
{

using testing::TestDoor;
using testing::TestObject;

struct FactoryBuild : ::testing::Test
{
    FactoryBuild() : map(testing::LoadTestMap())
    {
        factories.door = [this](World& world, MapSector& sector) {
            ++doors;
            return std::make_unique<TestDoor>(&world, &sector);
        };
        factories.elevator = [this](World& world, MapSector&) {
            ++elevators;
            return std::make_unique<TestObject>(&world, GridObjectType::Elevator);
        };
        factories.powerup = [](World&, MapEntity&, uint32_t) { return nullptr; }; // pickups give no object
        factories.player = [](World& world, Camera*) {
            return std::make_unique<TestObject>(&world, GridObjectType::Player);
        };
    }

    std::unique_ptr<World> Build()
    {
        return World::Create(&root, &debugRoot, &particleStore, nullptr, map, LevelSettings{}, factories);
    }

    MapData map;
    MapObjectFactories factories;
    int doors = 0;
    int elevators = 0;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particleStore;
};

TEST_F(FactoryBuild, TheBuildNeedsItsFactoriesAndPlacesWhatTheyMake)
{
    MapObjectFactories noPlayer = factories;
    noPlayer.player = nullptr;
    EXPECT_THROW(World::Create(&root, &debugRoot, &particleStore, nullptr, map, LevelSettings{}, noPlayer),
                 std::invalid_argument);
    EXPECT_EQ(doors, 0);

    // Without a monster factory the monsters are only counted.
    std::unique_ptr<World> plain = Build();
    EXPECT_EQ(doors, 2);
    EXPECT_EQ(elevators, 1);
    EXPECT_EQ(plain->monsterCount, 2);
    EXPECT_EQ(plain->itemCount, 4); // counted though the pickups gave no object
    EXPECT_EQ(plain->randomPickupCount, 1u);
    EXPECT_EQ(plain->player, plain->objects.back().get());
    EXPECT_EQ(plain->player->typeMask, GridObjectType::Player);
    EXPECT_TRUE(plain->player->registered);

    // A monster factory's objects stand on their records' points, raised by
    // their mesh offset, in the sector under them.
    std::vector<EntityGridObject*> made;
    factories.monster = [&made](World& world, MapEntity& entity, uint32_t) {
        auto monster = std::make_unique<EntityGridObject>(&world, &entity);
        monster->halfExtents = Vector3(4, 8, 4);
        monster->meshOffset = Vector3(0, 8, 0);
        made.push_back(monster.get());
        return monster;
    };
    std::unique_ptr<World> level = Build();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1]->position, Vector3(400, 72, 32)); // "E" at (400, 32), y 64
    ASSERT_NE(made[1]->startingSector, nullptr);
    EXPECT_EQ(made[1]->startingSector->id, 5); // the ledge
    EXPECT_TRUE(made[0]->registered);
    EXPECT_EQ(level->objects.size(), plain->objects.size() + 2);
}

} // namespace
} // namespace mirefell
