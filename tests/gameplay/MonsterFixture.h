// MonsterTest: the test map as the level build makes it, with its nom (record
// 3, in the hall, facing +z) and eye (record 7, on the ledge, facing +x),
// and helpers that put the player somewhere and make the regions around it
// reachable, as a move of the player would.
#pragma once

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/MapData.h"
#include "world/WorldCollision.h"

namespace mirefell::testing
{

class MonsterTest : public TestMapTest
{
protected:
    void Build()
    {
        BuildLevel(map);
        nom = FindMonster(3);
        eye = FindMonster(7);
        other = FindMonster(OtherRecordId);
        hallDoor = FindDoor(2);
        ASSERT_TRUE(nom && eye && hallDoor);
    }

    // Places the player standing at (x, floor, z) and recomputes what it
    // reaches.
    void PlacePlayer(float x, float floor, float z)
    {
        world->collision->PlaceObject(player, Vector3(x, floor + Player::BodyHalfExtents.y + 0.03f, z));
        world->aiRegions->MarkReachable(player);
    }

    // Places a monster standing at (x, floor, z).
    static void PlaceMonster(Monster& monster, float x, float floor, float z)
    {
        monster.world->collision->PlaceObject(&monster, Vector3(x, floor + monster.halfExtents.y + 0.03f, z));
    }

    static void Run(Monster& monster, int steps)
    {
        for (int i = 0; i < steps; ++i)
            monster.Update();
    }

    // The record id of a monster a test adds to the map.
    static constexpr int32_t OtherRecordId = 10;

    Monster* nom = nullptr;
    Monster* eye = nullptr;
    Monster* other = nullptr; // a monster the test added to the map
    Door* hallDoor = nullptr;
};

} // namespace mirefell::testing
