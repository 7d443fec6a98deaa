// Cheat codes typed key by key during play: each code's effect and message,
// the cheater mark, what makes typing start over, the games where codes do
// nothing, and a dead player's codes.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "gameplay/CheatCodeInput.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "shell/GameStateManager.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"

namespace mirefell::testing
{
namespace
{

class Cheats : public GameplayTest
{
protected:
    void Build(GameDifficulty difficulty = GameDifficulty::Normal, bool permadeath = false)
    {
        GameSave& save = Save();
        save.difficulty = difficulty;
        save.permadeath = permadeath;
        BuildLevel(LoadTestMap());
        Step();
    }

    static GameSave& Save() { return GameSaveManager::GetInstance().current; }

    // One letter a step, each pressed and let go (a doubled letter waits a
    // step for its release), then `pause` steps without a key.
    void Type(const std::string& word, int pause = 0)
    {
        for (size_t i = 0; i < word.size(); ++i) {
            const int32_t key = word[i] - 'a' + 'A';
            HoldKey(key, true);
            Step();
            HoldKey(key, false);
            if (i + 1 < word.size() && word[i + 1] == word[i])
                Step();
        }
        Step(pause);
    }

    std::wstring LastMessage() const
    {
        return notifications.posted.empty() ? std::wstring() : notifications.posted.back().text;
    }
};

TEST_F(Cheats, EachCodeDoesWhatItSaysAndAllButTheFaceMarkTheGame)
{
    Build();
    Type("zupfa");
    EXPECT_TRUE(player->weaponView->face);
    EXPECT_EQ(LastMessage(), L":D");
    EXPECT_EQ(notifications.posted.back().ticks, 300);
    EXPECT_FALSE(Save().cheater);
    Type("zupfa");
    EXPECT_FALSE(player->weaponView->face);
    EXPECT_EQ(LastMessage(), L":(");

    Type("kwzyp");
    EXPECT_TRUE(player->fly);
    EXPECT_TRUE(player->controller->flying);
    EXPECT_FALSE(player->weaponView->bobEnabled);
    EXPECT_FALSE(player->weaponView->headBobEnabled);
    EXPECT_EQ(LastMessage(), L"fly mode enabled");
    EXPECT_TRUE(Save().cheater);
    Type("kwzyp");
    EXPECT_FALSE(player->fly);
    EXPECT_TRUE(player->weaponView->bobEnabled);
    EXPECT_EQ(LastMessage(), L"fly mode disabled");

    Type("trubnelk");
    EXPECT_TRUE(player->noclip);
    EXPECT_EQ(LastMessage(), L"noclip enabled");
    Type("pozim");
    EXPECT_TRUE(player->godMode);
    EXPECT_EQ(LastMessage(), L"godmode enabled");

    Type("vestombra");
    EXPECT_EQ(LastMessage(), L"there you go");
    EXPECT_EQ(player->inventory.GetItems().size(), 9u);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Bullets), 100);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Shells), 50);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Cells), 200);
    EXPECT_EQ(player->inventory.GetAmmo(AmmoType::Rockets), 30);
    EXPECT_TRUE(player->hasRedKey && player->hasBlueKey);
    EXPECT_EQ(player->equippedItem, nullptr);
    EXPECT_EQ(player->artifacts[Player::ArtifactBoots], nullptr);
    Type("vestombra"); // what is held is not given twice
    EXPECT_EQ(player->inventory.GetItems().size(), 9u);

    ASSERT_NE(GameStateManager::GetInstance().current, GameState::LevelComplete);
    Type("dralu");
    EXPECT_EQ(GameStateManager::GetInstance().current, GameState::LevelComplete);
    EXPECT_EQ(Save().levels[Save().levelId].bestTime, 0);
}

TEST_F(Cheats, LettersCountOnlyInQuickSuccessionAloneAndUpToTwenty)
{
    Build();
    Type("poz", 28); // the next letter 29 steps after the last: still counted
    Type("im");
    EXPECT_TRUE(player->godMode);

    Type("poz", 29); // 30 steps after: the text has started over
    Type("im");
    EXPECT_TRUE(player->godMode);
    EXPECT_EQ(player->cheats->typed, L"im");

    Type("", 30);
    Type("xpozim"); // a stray letter first
    EXPECT_TRUE(player->godMode);

    Type("", 30);
    Type("aaaaaaaaaaaaaaaaaaaapozim");
    EXPECT_EQ(player->cheats->typed, std::wstring(20, L'a'));
    EXPECT_TRUE(player->godMode);
}

TEST_F(Cheats, LettersTypedFasterThanTheStepsCountInTheOrderTheyWereTyped)
{
    // At slow frames "p" and "o", then "z" and "i", go down and up before
    // the step that reads them.
    Build();
    for (const std::string burst : {"po", "zi", "m"}) {
        for (const char letter : burst) {
            HoldKey(letter - 'a' + 'A', true);
            HoldKey(letter - 'a' + 'A', false);
        }
        Step();
    }
    EXPECT_TRUE(player->godMode);
    EXPECT_EQ(LastMessage(), L"godmode enabled");
}

TEST_F(Cheats, MasochisticAndPermadeathGamesIgnoreTheCodes)
{
    Build(GameDifficulty::Masochistic);
    Type("pozim");
    EXPECT_FALSE(player->godMode);
    EXPECT_TRUE(player->cheats->typed.empty());

    world.reset();
    Build(GameDifficulty::Easy, true);
    Type("pozim");
    EXPECT_FALSE(player->godMode);
    EXPECT_FALSE(Save().cheater);
}

TEST_F(Cheats, ADeadPlayerTypesOnButNeverFinishesTheLevel)
{
    Build();
    player->TakeDamage(500.0f, nullptr, {});
    ASSERT_TRUE(player->dead);
    const auto saved = std::filesystem::last_write_time("saves/save0.mfv");
    GameStateManager::GetInstance().changed = false;

    Type("dralu");
    EXPECT_FALSE(GameStateManager::GetInstance().changed);
    EXPECT_FALSE(Save().cheater);
    EXPECT_EQ(Save().levels[Save().levelId].bestTime, -1);
    EXPECT_EQ(std::filesystem::last_write_time("saves/save0.mfv"), saved); // no second save
    EXPECT_TRUE(player->cheats->typed.empty());

    Type("zupfa"); // other codes still work
    EXPECT_TRUE(player->weaponView->face);
}

} // namespace
} // namespace mirefell::testing
