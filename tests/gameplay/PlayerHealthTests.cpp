// The player's damage and pickup rules on the test map, with pickups of
// every kind added to its hall: armour soaking damage, pickups refused
// (left lying, no sound), a weapon already held turned into health, armour
// and ammunition, the keys' messages, and the best time of a finished level.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "platform/Clock.h"
#include "shell/GameStateManager.h"
#include "shell/SoundManager.h"
#include "support/GameplayFixture.h"
#include "support/SoundTestSupport.h"
#include "world/MapEntityTypes.h"

namespace mirefell::testing
{
namespace
{

constexpr int32_t FirstAddedId = 100;

class PlayerRules : public TestMapTest
{
protected:
    void TearDown() override
    {
        world.reset();
        SetClock(nullptr);
        TestMapTest::TearDown();
    }
    // Builds the level with one pickup of each kind given lying in the hall,
    // records FirstAddedId, FirstAddedId + 1, ... Weapons and artifacts lie
    // in maps only as random pickups, so each is built as a medkit and then
    // given its kind, as the loot tables give a random pickup its kind.
    void Build(const std::vector<PowerupType>& kinds)
    {
        MapData withPickups = map;
        for (size_t i = 0; i < kinds.size(); ++i) {
            MapEntity record;
            record.id = FirstAddedId + static_cast<int32_t>(i);
            record.pos = Vector2(152.0f + 12.0f * static_cast<float>(i), 112.0f);
            record.entityType = *MapEntityTypes::Find("MK");
            withPickups.entities.push_back(record);
        }
        BuildLevel(withPickups);
        for (size_t i = 0; i < kinds.size(); ++i)
            Added(static_cast<int>(i))->record->entityType.powerupType = static_cast<uint32_t>(kinds[i]);
    }
    Powerup* Added(int index) const { return FindPickup(FirstAddedId + index); }
    // Picks the added pickup up; whether it left the level.
    bool PickUp(int index)
    {
        Powerup* pickup = Added(index);
        player->PickUpPowerup(pickup);
        return pickup->removed;
    }
    static GameSaveLevelData& Record()
    {
        GameSave& save = GameSaveManager::GetInstance().current;
        return save.levels[save.levelId];
    }
};

TEST_F(PlayerRules, ArmourTakesTwiceTheDamageAndTheRestComesOffHealthAtHalf)
{
    Build({});
    // 10 against 15 armour: the armour goes and 5 left over cost 2.5 health.
    player->health = 100.0f;
    player->armor = 15.0f;
    EXPECT_TRUE(player->TakeDamage(10.0f, nullptr, {}));
    EXPECT_FLOAT_EQ(player->armor, 0.0f);
    EXPECT_FLOAT_EQ(player->health, 97.5f);

    // Against 30 armour: 20 of it goes, health is untouched.
    player->armor = 30.0f;
    player->TakeDamage(10.0f, nullptr, {});
    EXPECT_FLOAT_EQ(player->armor, 10.0f);
    EXPECT_FLOAT_EQ(player->health, 97.5f);

    // Without armour the damage comes off whole.
    player->armor = 0.0f;
    player->TakeDamage(10.0f, nullptr, {});
    EXPECT_FLOAT_EQ(player->health, 87.5f);
}

TEST_F(PlayerRules, HealthAndArmourPickupsAreRefusedWhenFullOrUnderBloodlust)
{
    TempDir sounds;
    RecordingAudioDevice* device = StartRecordingSound(SoundManager::GetInstance(), sounds);
    Build({PowerupType::Health, PowerupType::Armor, PowerupType::Bloodlust, PowerupType::Health});
    ASSERT_EQ(player->health, 100.0f);

    // Full health: the pickup stays where it lies, uncounted, unheard.
    EXPECT_FALSE(PickUp(0));
    EXPECT_EQ(player->itemsCollected, 0);
    EXPECT_EQ(device->CountStarted("pickup_item.wav"), 0u);

    // Below full it heals 25, up to the maximum.
    player->health = 90.0f;
    EXPECT_TRUE(PickUp(0));
    EXPECT_FLOAT_EQ(player->health, 100.0f);
    EXPECT_EQ(player->itemsCollected, 1);
    EXPECT_EQ(device->CountStarted("pickup_item.wav"), 1u);

    // Armour: refused at full armour, else 5 more.
    player->armor = 100.0f;
    EXPECT_FALSE(PickUp(1));
    player->armor = 40.0f;
    EXPECT_TRUE(PickUp(1));
    EXPECT_FLOAT_EQ(player->armor, 45.0f);
    EXPECT_EQ(player->itemsCollected, 2);

    // The bloodlust goggles refuse health even when it is low.
    EXPECT_TRUE(PickUp(2));
    ASSERT_NE(player->artifacts[Player::ArtifactBloodlust], nullptr);
    const size_t heard = device->CountStarted("pickup_item.wav");
    player->health = 30.0f;
    EXPECT_FALSE(PickUp(3));
    EXPECT_FLOAT_EQ(player->health, 30.0f);
    EXPECT_EQ(device->CountStarted("pickup_item.wav"), heard);
}

TEST_F(PlayerRules, AWeaponAlreadyHeldTurnsIntoHealthArmourAndAmmunitionAndIsStillRecorded)
{
    Build({PowerupType::DoubleShotgun, PowerupType::DoubleShotgun});
    ASSERT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 6); // the level's starting pack

    EXPECT_TRUE(PickUp(0));
    ASSERT_EQ(player->inventory.GetItems().size(), 1u);
    EXPECT_EQ(player->equippedItem, player->inventory.GetItems().front().get());
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 6);

    player->health = 30.0f;
    player->armor = 20.0f;
    EXPECT_TRUE(PickUp(1));
    EXPECT_EQ(player->inventory.GetItems().size(), 1u);
    EXPECT_FLOAT_EQ(player->health, 100.0f); // 30 + 100, held at the maximum
    EXPECT_FLOAT_EQ(player->armor, 70.0f);   // 20 + 50
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 12);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Rockets), 10);
    EXPECT_EQ(notifications.pickups.size(), 1u); // only the first is announced
    EXPECT_TRUE(Record().pickedUpItemIds[FirstAddedId]);
    EXPECT_TRUE(Record().pickedUpItemIds[FirstAddedId + 1]);
}

TEST_F(PlayerRules, KeysAreKeptAndAnnouncedForFiveSeconds)
{
    Build({PowerupType::RedKey, PowerupType::BlueKey});
    EXPECT_TRUE(PickUp(0));
    EXPECT_TRUE(player->hasRedKey);
    EXPECT_FALSE(player->hasBlueKey);
    EXPECT_TRUE(PickUp(1));
    EXPECT_TRUE(player->hasBlueKey);
    ASSERT_EQ(notifications.posted.size(), 2u);
    EXPECT_EQ(notifications.posted[0].text, L"Picked up the red key.");
    EXPECT_EQ(notifications.posted[1].text, L"Picked up the blue key.");
    EXPECT_EQ(notifications.posted[0].ticks, 300);
    EXPECT_EQ(notifications.posted[1].ticks, 300);
}

TEST_F(PlayerRules, FinishingALevelKeepsTheBetterBestTimeInWholeSeconds)
{
    ManualClock clock;
    SetClock(&clock);
    // Finished after 95.9 s against the best time recorded before.
    auto finish = [&](int32_t bestBefore) {
        world.reset();
        Record().bestTime = bestBefore;
        GameStateManager::GetInstance().Reset();
        Build({PowerupType::LevelExit});
        clock.Advance(959'000'000); // 95.9 s of 100 ns
        EXPECT_TRUE(PickUp(0));
        EXPECT_EQ(GameStateManager::GetInstance().current, GameState::LevelComplete);
        return Record().bestTime;
    };
    EXPECT_EQ(finish(-1), 95);
    EXPECT_EQ(finish(96), 95);
    EXPECT_EQ(finish(94), 94);
}

} // namespace
} // namespace mirefell::testing
