// The save file's bytes: a known save spelled out field by field, a round
// trip of every item kind, and files that must be refused without harm.
#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "gameplay/GameSaveFile.h"
#include "gameplay/GameSaveTestData.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

using testing::Bytes;
using testing::TempDir;

const GUID WeaponId{0x11223344, 0x5566, 0x4778, {0x81, 2, 3, 4, 5, 6, 7, 8}};
const GUID ArmorId{0xA0A0A0A0, 1, 0x4002, {0x80, 0, 0, 0, 0, 0, 0, 9}};
const GUID BootsId{0xB0B0B0B0, 2, 0x4003, {0x90, 0, 0, 0, 0, 0, 0, 10}};

// A weapon, then a consumable, then an artifact: the class numbers in the
// file are those of the registration order (0, 2, 1), not of appearance.
testing::SampleGame KnownGame()
{
    testing::SampleGame game;
    GameSave& save = game.save;
    auto hammer = Weapons::MakeHammer();
    hammer->id = WeaponId;
    auto breastplate = MakeBreastplate();
    breastplate->id = ArmorId;
    breastplate->x = 2;
    auto boots = MakeArtifactBoots();
    boots->id = BootsId;
    boots->y = 3;
    game.Hold(std::move(hammer));
    game.Hold(std::move(breastplate));
    game.Hold(std::move(boots));
    save.equippedItem = WeaponId;
    save.boundItems = {BootsId};
    save.slot = 3;
    save.difficulty = GameDifficulty::Masochistic;
    save.blackout = true;
    save.cheater = true;
    save.saveTime = 0x0102030405060708;
    save.lootSeed = 0xDEADBEEF;
    save.health = 100.0f;
    save.armor = 12.5f;
    save.levelId = "mouth";
    save.levels["descent"] = GameSaveLevelData{7, {{4, true}, {11, true}}, 95, 400};
    save.highestLevel = 3;
    return game;
}

std::string KnownGameBytes()
{
    Bytes b;
    // Header: signature, library version 14, sizes of int, long, float,
    // double, and the endianness probe.
    b.Str("serialization::archive").U16(14).U8(4).U8(8).U8(4).U8(8).I32(1);
    b.ClassInfo(false);                             // the root GameSave
    b.ClassInfo(false).Guid(WeaponId);              // 1 equippedItem: first GUID
    b.ClassInfo(false).Collection(1).Guid(BootsId); // 2 boundItems
    b.ClassInfo(false).Collection(3);               // 3 items

    // The hammer: class 0, tracked, object 0; its Item part object 1.
    b.I16(0).ClassInfo(true).U32(0).ClassInfo(true).U32(1);
    b.Guid(WeaponId).I32(1).WStr(L"Sledgehammer").Str("item_hammer").I32(0).I32(0).I32(2).I32(3);
    b.ClassInfo(false).I32(1).I32(0).U32(1).U32(500).F32(12.5f).I32(0); // WeaponData
    b.ClassInfo(false).U32(0).F32(0.0f);                                // HitscanWeaponData
    b.ClassInfo(false).Color4({1, 1, 1, 1}).I32(1).Color4({0.75f, 0.85f, 1.0f, 1.0f});
    b.ClassInfo(false).U32(0).Color4({1, 1, 1, 1}).Color4({0.75f, 0.85f, 1.0f, 1.0f}); // ProjectileWeaponData
    b.U32(5).Str("hammer");

    // The breastplate: class 2 (Consumable), object 2; Item part object 3.
    b.I16(2).ClassInfo(true).U32(2).U32(3);
    b.Guid(ArmorId).I32(3).WStr(L"Breastplate").Str("item_breastplate").I32(2).I32(0).I32(2).I32(2);
    b.I32(2).WStr(L"Gain 100 armor");

    // The boots: class 1 (Artifact), object 4; Item part object 5.
    b.I16(1).ClassInfo(true).U32(4).U32(5);
    b.Guid(BootsId).I32(2).WStr(L"\"Killer\" Anti-Grav Boots").Str("item_boots").I32(0).I32(3).I32(2).I32(2);
    b.I32(1).WStr(L"You can now jump").WStr(L"Land on something living, preferably");

    b.U8(0);                          // 4 freshGame
    b.I32(3);                         // 5 slot
    b.I32(5);                         // 6 difficulty
    b.U8(1).U8(0).U8(0).U8(1);        // 7 blackout, permadeath, permadead, cheater
    b.I64(0x0102030405060708);        // 8 saveTime
    b.U32(0xDEADBEEF);                // 9 lootSeed
    b.F32(100.0f).F32(12.5f);         // 10, 11 health, armor
    b.Str("mouth");                   // 12 levelId
    b.ClassInfo(false).Collection(1); // 13 levels: one pair
    b.ClassInfo(false).Str("descent");
    b.ClassInfo(false).U32(7); // GameSaveLevelData: itemCount
    b.ClassInfo(false).Collection(2).ClassInfo(false).U32(4).U8(1).U32(11).U8(1);
    b.I32(95).U32(400);
    b.I32(3); // 14 highestLevel
    return b.text;
}

TEST(GameSaveFile, KnownSaveHasExactlyTheseBytes)
{
    TempDir dir;
    const auto game = KnownGame();
    WriteGameSaveFile(dir.File("save3.mfv"), game.save);
    const std::string expected = KnownGameBytes();
    const std::string written = dir.Read("save3.mfv");
    ASSERT_EQ(written.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(static_cast<uint8_t>(written[i]), static_cast<uint8_t>(expected[i])) << "first difference at " << i;

    // And the hand-made bytes read back as the game.
    dir.Write("hand.mfv", expected);
    const LoadedGameSave loaded = ReadGameSaveFile(dir.File("hand.mfv"));
    EXPECT_EQ(loaded.save.levelId, "mouth");
    EXPECT_EQ(loaded.save.levels.at("descent"), game.save.levels.at("descent"));
    EXPECT_EQ(loaded.save.lootSeed, 0xDEADBEEFu);
    ASSERT_EQ(loaded.items.size(), 3u);
    EXPECT_EQ(loaded.items[2]->id, BootsId);
}

TEST(GameSaveFile, RoundTripKeepsEveryFieldAndItemKind)
{
    TempDir dir;
    testing::SampleGame game = testing::MakeSampleGame();
    game.Hold(Weapons::MakeDoubleShotgun());
    game.Hold(Weapons::MakeRocketLauncher());
    game.Hold(Weapons::MakeHammer());
    game.Hold(MakeArtifactBoots());
    game.Hold(MakeArtifactBloodlust());
    game.Hold(MakeHealthCube());
    // Values no maker uses, so the sub-records cannot pass by being default.
    auto* shotgun = static_cast<Weapon*>(game.owned[3].get());
    shotgun->data.hitscan.secondColor = {0.1f, 0.2f, 0.3f, 0.4f};
    shotgun->data.hitscan.puffCount = 7;
    shotgun->data.projectile.lightColor = {0.5f, 0.6f, 0.7f, 0.8f};
    game.save.permadeath = true;
    game.save.permadead = true;
    game.save.health = 37.5f;
    game.save.levels["descent"].totalTime = 12345;
    WriteGameSaveFile(dir.File("s.mfv"), game.save);

    const LoadedGameSave loaded = ReadGameSaveFile(dir.File("s.mfv"));
    const GameSave& save = loaded.save;
    EXPECT_EQ(save.equippedItem, game.save.equippedItem);
    EXPECT_EQ(save.boundItems, game.save.boundItems);
    EXPECT_EQ(save.slot, 2);
    EXPECT_EQ(save.difficulty, GameDifficulty::VeryHard);
    EXPECT_TRUE(save.permadeath && save.permadead);
    EXPECT_FLOAT_EQ(save.health, 37.5f);
    EXPECT_EQ(save.saveTime, game.save.saveTime);
    EXPECT_EQ(save.lootSeed, game.save.lootSeed);
    EXPECT_EQ(save.levels, game.save.levels);
    EXPECT_EQ(save.highestLevel, 2);
    ASSERT_EQ(save.items.size(), game.owned.size());
    for (size_t i = 0; i < game.owned.size(); ++i) {
        const Item& before = *game.owned[i];
        const Item& after = *save.items[i];
        EXPECT_EQ(typeid(after), typeid(before)) << i;
        EXPECT_EQ(after.id, before.id);
        EXPECT_EQ(after.name, before.name);
        EXPECT_EQ(after.textureId, before.textureId);
        EXPECT_EQ(std::tie(after.x, after.y, after.width, after.height),
                  std::tie(before.x, before.y, before.width, before.height));
        if (const auto* weapon = dynamic_cast<const Weapon*>(&before)) {
            EXPECT_EQ(static_cast<const Weapon&>(after).data, weapon->data) << i;
        }
        if (const auto* artifact = dynamic_cast<const Artifact*>(&before)) {
            EXPECT_EQ(static_cast<const Artifact&>(after).number, artifact->number);
            EXPECT_EQ(static_cast<const Artifact&>(after).line2, artifact->line2);
        }
        if (const auto* consumable = dynamic_cast<const Consumable*>(&before)) {
            EXPECT_EQ(static_cast<const Consumable&>(after).description, consumable->description);
        }
    }
}

// Reads `bytes` as a save file; the error text, or "" when it was accepted.
std::string ReadError(const TempDir& dir, const std::string& bytes)
{
    dir.Write("bad.mfv", bytes);
    try {
        ReadGameSaveFile(dir.File("bad.mfv"));
        return "";
    } catch (const ArchiveError& error) {
        return error.Describe();
    }
}

std::string WriteAndReadError(const TempDir& dir, const GameSave& save)
{
    WriteGameSaveFile(dir.File("written.mfv"), save);
    return ReadError(dir, dir.Read("written.mfv"));
}

TEST(GameSaveFile, BrokenFilesAreRefused)
{
    TempDir dir;
    const std::string good = KnownGameBytes();
    for (size_t length = 0; length < good.size(); ++length)
        ASSERT_NE(ReadError(dir, good.substr(0, length)), "") << "truncated to " << length;
    EXPECT_NE(ReadError(dir, std::string(600, '\x7f')), "");

    // Data4 claims 9 bytes: the array is 8 long.
    std::string bad = good;
    const size_t data4Count = 40 + 5 + 5 + 8; // header, two class infos, Data1..Data3
    ASSERT_EQ(bad[data4Count], 8);
    bad[data4Count] = 9;
    EXPECT_NE(ReadError(dir, bad).find("array size"), std::string::npos) << ReadError(dir, bad);

    // Item class numbers that name no item kind: only 0 to 2 (and -1, a null
    // pointer) may appear; the library would otherwise index its class
    // table with them.
    const size_t firstClass = 40 + 5 + (5 + 24) + (5 + 12 + 24) + (5 + 12);
    ASSERT_EQ(good.substr(firstClass, 3), std::string("\0\0\1", 3)) << "class 0, tracked";
    for (int16_t id : {3, 4, 7, 100, 0x7fff, -2, -32768}) {
        bad = good;
        std::memcpy(bad.data() + firstClass, &id, sizeof id);
        EXPECT_NE(ReadError(dir, bad), "") << id;
    }

    // A bool is one byte, 0 or 1.
    const std::string flags = Bytes().U8(0).I32(3).I32(5).U8(1).U8(0).U8(0).U8(1).text;
    const size_t freshGame = good.find(flags);
    ASSERT_NE(freshGame, std::string::npos);
    bad = good;
    bad[freshGame] = 3;
    EXPECT_NE(ReadError(dir, bad), "");

    // A count of items far beyond what the file holds.
    bad = good;
    const size_t itemCount = good.find(std::string("\x03\0\0\0\0\0\0\0\0\0\0\0\0\0", 14), data4Count);
    ASSERT_NE(itemCount, std::string::npos);
    bad[itemCount + 5] = 0x40;
    EXPECT_NE(ReadError(dir, bad), "");

    try {
        ReadGameSaveFile(dir.File("absent.mfv"));
        FAIL();
    } catch (const ArchiveError& error) {
        EXPECT_STREQ(error.what(), "can't access file");
    }
}

TEST(GameSaveFile, ImpossibleContentsAreRefused)
{
    TempDir dir;
    const auto expectRefused = [&](const char* what, auto change) {
        testing::SampleGame game = testing::MakeSampleGame();
        change(game);
        EXPECT_NE(WriteAndReadError(dir, game.save).find("invalid save"), std::string::npos) << what;
    };
    expectRefused("difficulty 0", [](auto& g) { g.save.difficulty = GameDifficulty{}; });
    expectRefused("difficulty 6", [](auto& g) { g.save.difficulty = GameDifficulty{6}; });
    expectRefused("unknown level", [](auto& g) { g.save.levelId = "basement"; });
    expectRefused("slot 5", [](auto& g) { g.save.slot = 5; });
    expectRefused("NaN health", [](auto& g) { g.save.health = std::nanf(""); });
    expectRefused("item wider than a page", [](auto& g) { g.owned[1]->width = 11; });
    expectRefused("item of no height", [](auto& g) { g.owned[1]->height = 0; });
    expectRefused("equipped item missing", [](auto& g) { g.save.equippedItem = NewGuid(); });
    expectRefused("equipped consumable", [](auto& g) { g.save.equippedItem = g.owned[1]->id; });
    expectRefused("bound weapon", [](auto& g) { g.save.boundItems = {g.owned[0]->id}; });
    expectRefused("duplicate identity", [](auto& g) { g.owned[1]->id = g.owned[2]->id; });
    expectRefused("category of another kind", [](auto& g) { g.owned[1]->category = ItemCategory::Weapon; });
    expectRefused("unknown artifact", [](auto& g) { static_cast<Artifact&>(*g.owned[2]).number = ArtifactNumber{4}; });
    expectRefused("unknown ammunition", [](auto& g) { static_cast<Weapon&>(*g.owned[0]).data.ammoType = AmmoType{5}; });
    expectRefused("unknown projectile",
                  [](auto& g) { static_cast<Weapon&>(*g.owned[0]).data.projectile.projectileType = 9; });
    expectRefused("null item", [](auto& g) { g.save.items.push_back(nullptr); });
    expectRefused("unknown icon", [](auto& g) { g.owned[2]->textureId = "item_sword"; });
    // A weapon key finds its weapon by icon: a breastplate with a shotgun's
    // icon would be taken for a weapon.
    expectRefused("icon of another kind", [](auto& g) { g.owned[1]->textureId = "item_double_shotgun"; });

    // The same object twice is written as a back reference, which the reader
    // refuses outright: it could point anywhere.
    testing::SampleGame twice = testing::MakeSampleGame();
    twice.save.items.push_back(twice.save.items[0]);
    EXPECT_NE(WriteAndReadError(dir, twice.save), "");

    // Positions are not the file's business: the inventory places an item
    // whose cell is off the grid, or on a row of no page it has, where it
    // fits. No icon draws a placeholder.
    testing::SampleGame game = testing::MakeSampleGame();
    game.owned[1]->x = 12;
    game.owned[2]->textureId.clear();
    EXPECT_EQ(WriteAndReadError(dir, game.save), "");
    for (const int32_t row : {std::numeric_limits<int32_t>::max(), -1, 1000}) {
        game.owned[1]->y = row;
        EXPECT_EQ(WriteAndReadError(dir, game.save), "") << row;
    }
}

// Values the reader took but the game could not live with: a colour that is
// not a number, or a negative one, blacks out the frame round a shot as it
// flies. Each is refused with the item named, its control characters escaped.
TEST(GameSaveFile, ValuesThatWouldBreakTheGameAreRefusedNamingTheItem)
{
    TempDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const auto blaster = [](testing::SampleGame& g) -> WeaponData& { return static_cast<Weapon&>(*g.owned[0]).data; };
    const auto expectRefused = [&](const char* what, const std::string& said, auto change) {
        testing::SampleGame game = testing::MakeSampleGame();
        change(game);
        const std::string error = WriteAndReadError(dir, game.save);
        EXPECT_NE(error.find("invalid save"), std::string::npos) << what << ": " << error;
        EXPECT_NE(error.find(said), std::string::npos) << what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << what << ": " << error;
    };
    const std::string notFinite = "weapon \"HyperBlaster\" has a colour that is not a finite number of zero or more";
    expectRefused("NaN puff", notFinite, [&](auto& g) { blaster(g).hitscan.puffColor.r = nan; });
    expectRefused("infinite second colour", notFinite, [&](auto& g) { blaster(g).hitscan.secondColor.b = infinity; });
    expectRefused("NaN bolt alpha", notFinite, [&](auto& g) { blaster(g).projectile.color.a = nan; });
    expectRefused("-infinite light", notFinite, [&](auto& g) { blaster(g).projectile.lightColor.g = -infinity; });
    // A negative light darkens the walls round the shot to black.
    expectRefused("negative light", notFinite, [&](auto& g) { blaster(g).projectile.lightColor.r = -1.0f; });
    expectRefused("name with a line break", "item \"Bad\\x0AName\\x1B[2J\" has an unknown icon", [](auto& g) {
        g.owned[1]->name = L"Bad\nName\x1b[2J";
        g.owned[1]->textureId = "item_sword";
    });
}

} // namespace
} // namespace mirefell
