#include "gameplay/GameSaveFile.h"

#include <cmath>
#include <map>
#include <set>
#include <typeinfo>

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

#include "gameplay/Artifact.h"
#include "gameplay/Consumable.h"
#include "gameplay/Inventory.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Weapon.h"
#include "gameplay/Weapons.h"
#include "platform/PrintableText.h"
#include "shell/FileKeeping.h"
#include "shell/Levels.h"

// The serialised forms. They live in namespace mirefell so the library finds
// them beside the types; the order of fields here is the order in the file.
namespace mirefell
{

template <class Archive> void serialize(Archive& ar, GUID& id, unsigned)
{
    ar& id.Data1;
    ar& id.Data2;
    ar& id.Data3;
    ar& id.Data4; // a fixed array: its count, 8, then the bytes
}

template <class Archive> void serialize(Archive& ar, Color& color, unsigned)
{
    ar& color.r;
    ar& color.g;
    ar& color.b;
    ar& color.a;
}

template <class Archive> void serialize(Archive& ar, HitscanWeaponData& data, unsigned)
{
    ar& data.pellets;
    ar& data.spread;
    ar& data.puffColor;
    ar& data.puffCount;
    ar& data.secondColor;
}

template <class Archive> void serialize(Archive& ar, ProjectileWeaponData& data, unsigned)
{
    ar& data.projectileType;
    ar& data.color;
    ar& data.lightColor;
}

template <class Archive> void serialize(Archive& ar, WeaponData& data, unsigned)
{
    ar& data.weaponClass;
    ar& data.ammoType;
    ar& data.ammoPerShot;
    ar& data.cooldownMs;
    ar& data.damage;
    ar& data.fireMode;
    ar& data.hitscan;
    ar& data.projectile;
    ar& data.viewIndex;
    ar& data.viewName;
}

template <class Archive> void serialize(Archive& ar, Item& item, unsigned)
{
    ar& item.id;
    ar& item.category;
    ar& item.name;
    ar& item.textureId;
    ar& item.x;
    ar& item.y;
    ar& item.width;
    ar& item.height;
}

template <class Archive> void serialize(Archive& ar, Weapon& weapon, unsigned)
{
    ar& boost::serialization::base_object<Item>(weapon);
    ar& weapon.data;
}

template <class Archive> void serialize(Archive& ar, Artifact& artifact, unsigned)
{
    ar& boost::serialization::base_object<Item>(artifact);
    ar& artifact.number;
    ar& artifact.line1;
    ar& artifact.line2;
}

template <class Archive> void serialize(Archive& ar, Consumable& consumable, unsigned)
{
    ar& boost::serialization::base_object<Item>(consumable);
    ar& consumable.number;
    ar& consumable.description;
}

template <class Archive> void serialize(Archive& ar, GameSaveLevelData& level, unsigned)
{
    ar& level.itemCount;
    ar& level.pickedUpItemIds;
    ar& level.bestTime;
    ar& level.totalTime;
}

// Not the declaration order: this is the order of the file.
template <class Archive> void serialize(Archive& ar, GameSave& save, unsigned)
{
    ar& save.equippedItem;
    ar& save.boundItems;
    ar& save.items;
    ar& save.freshGame;
    ar& save.slot;
    ar& save.difficulty;
    ar& save.blackout;
    ar& save.permadeath;
    ar& save.permadead;
    ar& save.cheater;
    ar& save.saveTime;
    ar& save.lootSeed;
    ar& save.health;
    ar& save.armor;
    ar& save.levelId;
    ar& save.levels;
    ar& save.highestLevel;
}

namespace
{

template <class Archive> void RegisterItemKinds(Archive& ar)
{
    ar.template register_type<Weapon>();
    ar.template register_type<Artifact>();
    ar.template register_type<Consumable>();
}

[[noreturn]] void Refuse(const std::string& why)
{
    throw ArchiveError("invalid save", why);
}

constexpr int32_t SlotCount = 5;
// Far beyond any weapon of the game; a value past it can only make a shot
// spin for minutes.
constexpr uint32_t MostPellets = 100;
constexpr int32_t MostPuffParticles = 100;

// The item's name in a message: UTF-8, with whatever could break the
// message's line or steer the terminal escaped.
std::string NameOf(const Item& item)
{
    std::string text;
    for (const wchar_t wide : item.name) {
        const auto c = static_cast<uint32_t>(wide);
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += '?';
        }
    }
    return PrintableText(text);
}

// A colour the frame can use: every part a finite number, none below zero.
bool IsDrawable(const Color& color)
{
    for (const float part : {color.r, color.g, color.b, color.a})
        if (!std::isfinite(part) || part < 0.0f)
            return false;
    return true;
}

bool IsKnownWeaponView(uint32_t index, const std::string& name)
{
    return (index == 2 && name == "double_shotgun") || (index == 3 && name == "hyper_blaster") ||
           (index == 4 && name == "rocket_launcher") || (index == 5 && name == "hammer");
}

void ValidateWeapon(const Weapon& weapon)
{
    const WeaponData& data = weapon.data;
    if (!std::isfinite(data.damage) || !std::isfinite(data.hitscan.spread))
        Refuse("weapon numbers are not finite");
    // The colours light the shots, their puffs and the level around them: one
    // that is not a number spreads through the frame, and a negative light
    // darkens the walls round the shot to black.
    if (!IsDrawable(data.hitscan.puffColor) || !IsDrawable(data.hitscan.secondColor) ||
        !IsDrawable(data.projectile.color) || !IsDrawable(data.projectile.lightColor))
        Refuse("weapon \"" + NameOf(weapon) + "\" has a colour that is not a finite number of zero or more");
    if (data.hitscan.pellets > MostPellets || data.hitscan.puffCount < 0 || data.hitscan.puffCount > MostPuffParticles)
        Refuse("implausible pellet settings");
    if (!IsKnownWeaponView(data.viewIndex, data.viewName))
        Refuse("unknown weapon view");
    if (data.weaponClass == WeaponClass::Melee) {
        if (data.ammoType != AmmoType::None || data.fireMode != FireMode::None)
            Refuse("melee weapon with ammunition");
    } else if (data.weaponClass == WeaponClass::Ranged) {
        if (data.ammoType < AmmoType::Bullets || data.ammoType > AmmoType::Rockets)
            Refuse("unknown ammunition type");
        if (data.fireMode == FireMode::Projectile) {
            if (data.projectile.projectileType < 1 || data.projectile.projectileType > 4)
                Refuse("unknown projectile type");
        } else if (data.fireMode != FireMode::Hitscan) {
            Refuse("unknown fire mode");
        }
    } else {
        Refuse("unknown weapon class");
    }
}

// The icon of every item the game makes, with its category: an item's icon
// is drawn by name and also finds it (the weapon keys look weapons up by it),
// so a save may name only these, each for its own kind of item.
const std::map<std::string, ItemCategory>& ItemIcons()
{
    static const std::map<std::string, ItemCategory> icons = [] {
        std::vector<std::unique_ptr<Item>> made;
        made.push_back(Weapons::MakeHammer());
        made.push_back(Weapons::MakeDoubleShotgun());
        made.push_back(Weapons::MakeHyperBlaster());
        made.push_back(Weapons::MakeRocketLauncher());
        made.push_back(MakeArtifactBoots());
        made.push_back(MakeArtifactNightmare());
        made.push_back(MakeArtifactBloodlust());
        made.push_back(MakeHealthCube());
        made.push_back(MakeBreastplate());
        std::map<std::string, ItemCategory> table;
        for (const auto& item : made)
            table.emplace(item->textureId, item->category);
        return table;
    }();
    return icons;
}

void ValidateItem(const Item& item)
{
    if (item.id.IsEmpty())
        Refuse("item without an identity");
    // No icon draws the placeholder; an unknown one would stop the game when
    // the inventory opens, and the item would be saved again and again.
    if (!item.textureId.empty()) {
        const auto icon = ItemIcons().find(item.textureId);
        if (icon == ItemIcons().end())
            Refuse("item \"" + NameOf(item) + "\" has an unknown icon \"" + PrintableText(item.textureId) + "\"");
        if (icon->second != item.category)
            Refuse("item \"" + NameOf(item) + "\" has the icon \"" + PrintableText(item.textureId) +
                   "\" of another kind of item");
    }
    // An inventory page is the largest thing an item may be.
    if (item.width < 1 || item.height < 1 || item.width > Inventory::PageWidth || item.height > Inventory::PageHeight)
        Refuse("item larger than an inventory page");
    // Its place is the inventory's to mend: a cell off the grid's columns,
    // across a page break, over another item or on a row of no page it grows
    // to for a stored place (negative, or beyond its last) goes to the first
    // free place. The game itself writes rows of every page it has added.
    // The category must name what the object is: code that trusts it casts.
    const std::type_info& kind = typeid(item);
    if (kind == typeid(Weapon) && item.category == ItemCategory::Weapon) {
        ValidateWeapon(static_cast<const Weapon&>(item));
    } else if (kind == typeid(Artifact) && item.category == ItemCategory::Artifact) {
        const auto number = static_cast<const Artifact&>(item).number;
        if (number < ArtifactNumber::Boots || number > ArtifactNumber::Bloodlust)
            Refuse("unknown artifact");
    } else if (kind == typeid(Consumable) && item.category == ItemCategory::Consumable) {
        const auto number = static_cast<const Consumable&>(item).number;
        if (number < ConsumableNumber::HealthCube || number > ConsumableNumber::Breastplate)
            Refuse("unknown consumable");
    } else {
        Refuse("item of an unknown kind");
    }
}

// The save's items by identity. A save may hold tens of thousands of items
// and more active entries: each is looked up here, not in the list.
using ItemIndex = std::map<GUID, const Item*>;

const Item* FindItem(const ItemIndex& index, const GUID& id)
{
    const auto found = index.find(id);
    return found == index.end() ? nullptr : found->second;
}

void Validate(const GameSave& save)
{
    if (!IsValidDifficulty(save.difficulty))
        Refuse("unknown difficulty");
    if (save.slot < 0 || save.slot >= SlotCount)
        Refuse("slot out of range");
    if (!Levels::Exists(save.levelId))
        Refuse("unknown level \"" + PrintableText(save.levelId) + "\"");
    if (!std::isfinite(save.health) || !std::isfinite(save.armor))
        Refuse("health or armour is not a number");

    ItemIndex index;
    for (const Item* item : save.items) {
        ValidateItem(*item);
        if (!index.emplace(item->id, item).second)
            Refuse("two items share an identity");
    }
    if (!save.equippedItem.IsEmpty()) {
        const Item* equipped = FindItem(index, save.equippedItem);
        if (equipped == nullptr || equipped->category != ItemCategory::Weapon)
            Refuse("the equipped item is not a weapon of the save");
    }
    for (const GUID& bound : save.boundItems) {
        const Item* artifact = FindItem(index, bound);
        if (artifact == nullptr || artifact->category != ItemCategory::Artifact)
            Refuse("an active artifact is not an artifact of the save");
    }
}

// Takes ownership of what the reader created. The archive may hand out one
// object twice (a back reference) or a null pointer; each object is owned
// once and null entries are dropped, so the caller can always free them.
std::vector<std::unique_ptr<Item>> AdoptItems(const std::vector<Item*>& loaded)
{
    std::vector<std::unique_ptr<Item>> owned;
    std::set<const Item*> seen;
    for (Item* item : loaded)
        if (item != nullptr && seen.insert(item).second)
            owned.emplace_back(item);
    return owned;
}

} // namespace

void WriteGameSaveFile(const std::string& path, const GameSave& save)
{
    // Never larger than the reader takes: such a save could not be loaded.
    WriteArchiveFile(
        path,
        [&](ArchiveWriter& ar) {
            RegisterItemKinds(ar);
            ar << save;
        },
        LargestGameSaveFile);
}

LoadedGameSave ReadGameSave(const std::string& name, const std::string& bytes)
{
    LoadedGameSave loaded;
    try {
        ReadArchiveBytes(name, bytes, [&](ArchiveReader& ar) {
            RegisterItemKinds(ar);
            ar >> loaded.save;
        });
    } catch (...) {
        AdoptItems(loaded.save.items); // frees whatever was read before the failure
        throw;
    }
    loaded.items = AdoptItems(loaded.save.items);
    if (loaded.items.size() != loaded.save.items.size())
        throw ArchiveError("invalid save", name + ": an item is missing or repeated");
    try {
        Validate(loaded.save);
    } catch (const ArchiveError& error) {
        throw ArchiveError(error.what(), name + ": " + error.Detail());
    }
    return loaded;
}

std::optional<LoadedGameSave> ReadGameSaveFileIfAny(const std::string& path)
{
    const PlayerFile file = ReadPlayerFile(path, LargestGameSaveFile);
    if (file.status == PlayerFile::Status::Missing)
        return std::nullopt;
    if (file.status == PlayerFile::Status::Unreadable)
        throw ArchiveError("can't access file", path + ": " + file.problem);
    return ReadGameSave(path, file.bytes);
}

LoadedGameSave ReadGameSaveFile(const std::string& path)
{
    std::optional<LoadedGameSave> loaded = ReadGameSaveFileIfAny(path);
    if (!loaded)
        throw ArchiveError("can't access file", path + ": no such file");
    return std::move(*loaded);
}

} // namespace mirefell
