// What a player gets back when a level starts again from its save slot, in
// the first level of a new game on "Normal": after "Save and exit" and
// "Continue", and after death and Enter. The slot keeps what the player
// carried when it was written (the save at "Save and exit", the save at
// death), and the level it records as taken stays taken; the level itself
// starts over, and every level starts with one ammunition pack.
#include <gtest/gtest.h>

#include "LevelRoute.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Weapon.h"
#include "platform/VirtualKey.h"
#include "support/GameplayFixture.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

class Restart : public LevelRouteTest
{
protected:
    // The level as the loading state builds it again, found anew.
    void Reloaded()
    {
        Step(1);
        ASSERT_EQ(State(), GameState::Playing);
        world = core->GetWorld();
        player = static_cast<Player*>(world->player);
    }
    int32_t Shells() const { return player->inventory.GetAmmo(AmmoType::Shells); }
    std::vector<RouteStep> Route(const std::string& steps)
    {
        return maptool::LevelSource::Parse("level detour\nstart 0,0\n" + steps, "detour").route;
    }
};

TEST_F(Restart, ContinueAndEnterAfterDeathGiveBackTheSavedItemsInTheLevelAsItStarts)
{
    LoadLevel("pentagram");
    // The shotgun of the east alcove, then the start hall's ammunition.
    Walk(Route("route walk 216,1720\nroute walk 150,1640\n"));
    ASSERT_TRUE(Carries("item_double_shotgun"));
    EXPECT_EQ(Shells(), 12); // the level's pack and the hall's
    Step(120);

    // "Save and exit", then "Continue".
    player->SaveToGameSave();
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.LoadSlotList();
    ASSERT_TRUE(saves.Continue());
    Reloaded();
    EXPECT_TRUE(Carries("item_double_shotgun"));
    ASSERT_NE(player->equippedItem, nullptr);
    EXPECT_EQ(player->equippedItem->textureId, "item_double_shotgun");
    EXPECT_EQ(Shells(), 6) << "ammunition is not saved: one pack, as at every level start";
    EXPECT_EQ(PickupById(201), nullptr) << "the shotgun's pickup stays taken";
    EXPECT_NE(PickupById(202), nullptr) << "the ammunition lies there again";
    EXPECT_EQ(player->levelClock.ElapsedSeconds(), 0);
    EXPECT_EQ(player->health, 100.0f);

    // The hammer of the west alcove, then death and Enter.
    Walk(Route("route walk -24,1720\n"));
    ASSERT_TRUE(Carries("item_hammer"));
    player->Kill(); // saves the slot
    Send(KeyEvent(KeyEnter, true));
    Step(1); // the restart is asked for...
    Send(KeyEvent(KeyEnter, false));
    Reloaded(); // ... and built
    EXPECT_FALSE(player->dead);
    EXPECT_TRUE(Carries("item_hammer")) << "taken since the last save, kept by the save at death";
    EXPECT_TRUE(Carries("item_double_shotgun"));
    EXPECT_EQ(PickupById(200), nullptr);
    EXPECT_EQ(Shells(), 6);
    EXPECT_EQ(player->health, 100.0f);
}

} // namespace
} // namespace mirefell::testing
