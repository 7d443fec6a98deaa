// Shared fixtures of the save-game tests: a game with one item of each kind
// and a byte builder that spells out the archive's forms one by one.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/GameSave.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Weapons.h"

namespace mirefell::testing
{

// Owns the items a GameSave under test points at.
struct SampleGame
{
    GameSave save;
    std::vector<std::unique_ptr<Item>> owned;

    Item* Hold(std::unique_ptr<Item> item)
    {
        owned.push_back(std::move(item));
        save.items.push_back(owned.back().get());
        return owned.back().get();
    }
};

// A playable game: a weapon (equipped), a consumable and an active artifact.
inline SampleGame MakeSampleGame()
{
    SampleGame game;
    GameSave& save = game.save;
    save.slot = 2;
    save.difficulty = GameDifficulty::VeryHard;
    save.levelId = "descent";
    save.highestLevel = 2;
    save.saveTime = 1'700'000'000;
    Item* blaster = game.Hold(Weapons::MakeHyperBlaster());
    game.Hold(MakeBreastplate())->x = 2;
    Item* nightmare = game.Hold(MakeArtifactNightmare());
    nightmare->x = 4;
    save.equippedItem = blaster->id;
    save.boundItems = {nightmare->id};
    save.levels["pentagram"].pickedUpItemIds = {{3, true}, {9, true}};
    save.levels["pentagram"].bestTime = 95;
    return game;
}

// Little-endian bytes, appended in the order written.
class Bytes
{
public:
    template <class T> Bytes& Raw(T value)
    {
        char buffer[sizeof(T)];
        std::memcpy(buffer, &value, sizeof(T));
        text.append(buffer, sizeof(T));
        return *this;
    }
    Bytes& U8(uint8_t v) { return Raw(v); }
    Bytes& U16(uint16_t v) { return Raw(v); }
    Bytes& I16(int16_t v) { return Raw(v); }
    Bytes& U32(uint32_t v) { return Raw(v); }
    Bytes& I32(int32_t v) { return Raw(v); }
    Bytes& U64(uint64_t v) { return Raw(v); }
    Bytes& I64(int64_t v) { return Raw(v); }
    Bytes& F32(float v) { return Raw(v); }
    // Length as 64 bits, then the characters.
    Bytes& Str(const std::string& s)
    {
        U64(s.size());
        text += s;
        return *this;
    }
    // Length in characters, then 4 bytes a character.
    Bytes& WStr(const std::wstring& s)
    {
        U64(s.size());
        for (wchar_t c : s)
            U32(static_cast<uint32_t>(c));
        return *this;
    }
    // The first object of a class: its tracking flag and class version 0.
    Bytes& ClassInfo(bool tracked) { return U8(tracked ? 1 : 0).U32(0); }
    // A collection: its element count, then the item version 0.
    Bytes& Collection(uint64_t count) { return U64(count).U32(0); }
    Bytes& Guid(const GUID& id)
    {
        U32(id.Data1).U16(id.Data2).U16(id.Data3).U64(8);
        for (uint8_t b : id.Data4)
            U8(b);
        return *this;
    }
    Bytes& Color4(const Color& c) { return F32(c.r).F32(c.g).F32(c.b).F32(c.a); }

    std::string text;
};

} // namespace mirefell::testing
