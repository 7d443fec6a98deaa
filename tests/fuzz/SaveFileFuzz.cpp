// Fuzz target for the save-file reader. Any input must either be refused
// with ArchiveError (leaving nothing allocated) or give a save that the game
// can use as it is: its numbers are finite, its items go into an inventory at
// their stored cells (or where they fit), their tooltips and the score and
// labels compute, writing it again and reading that back gives the same
// record, and the game's own next save of it (the inventory's items at their
// new places, as the level start writes it) reads back too. Anything else (a
// crash, another exception, a sanitizer report, a leak) is a finding.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "gameplay/GameSaveFile.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/PlayerInventory.h"
#include "gameplay/Weapon.h"

namespace
{

using namespace mirefell;

std::string ScratchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() /
            ("mirefell-fuzz-" + std::to_string(getpid()) + "-" + name + ".mfv"))
        .string();
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void UseLikeTheGame(LoadedGameSave& loaded)
{
    GameSave& save = loaded.save;
    (void)save.GetScore();
    (void)GameSaveManager::GetModeLabel(save);
    (void)GameSaveManager::GetLevelLabel(Levels::GetLevel(save.levelId));

    // Written again, the record reads back the same.
    const std::string again = ScratchPath("again");
    WriteGameSaveFile(again, save);
    LoadedGameSave reread = ReadGameSaveFile(again);
    Require(reread.save.levels == save.levels && reread.save.levelId == save.levelId &&
            reread.save.items.size() == save.items.size() && reread.save.equippedItem == save.equippedItem &&
            reread.save.boundItems == save.boundItems);
    for (size_t i = 0; i < save.items.size(); ++i)
        Require(reread.save.items[i]->id == save.items[i]->id && reread.save.items[i]->x == save.items[i]->x);

    // Every colour that reaches the frame is finite and not negative: one
    // that is blacks it out round the shot.
    for (const auto& item : loaded.items) {
        if (const auto* weapon = dynamic_cast<const Weapon*>(item.get()))
            for (const Color& color : {weapon->data.hitscan.puffColor, weapon->data.hitscan.secondColor,
                                       weapon->data.projectile.color, weapon->data.projectile.lightColor})
                for (const float part : {color.r, color.g, color.b, color.a})
                    Require(std::isfinite(part) && part >= 0.0f);
    }

    PlayerInventory inventory;
    for (auto& item : loaded.items) {
        (void)Item::GetTooltipLines(*item, false);
        const int32_t x = item->x, y = item->y;
        inventory.AddItemAt(x, y, std::move(item));
    }
    save.items.clear();
    if (!save.equippedItem.IsEmpty())
        Require(inventory.GetItem(save.equippedItem)->category == ItemCategory::Weapon);
    for (const GUID& id : save.boundItems)
        Require(inventory.GetItem(id)->category == ItemCategory::Artifact);
    for (const auto& item : inventory.GetItems())
        Require(item->x >= 0 && item->x + item->width <= inventory.GetWidth() && item->y >= 0 &&
                item->y + item->height <= inventory.GetPageCount() * inventory.GetPageHeight());

    // The level start's save of what the inventory now holds is one the
    // game reads again.
    for (const auto& item : inventory.GetItems())
        save.items.push_back(item.get());
    const std::string next = ScratchPath("next");
    WriteGameSaveFile(next, save);
    save.items.clear();
    Require(ReadGameSaveFile(next).items.size() == inventory.GetItems().size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = ScratchPath("input");
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::optional<LoadedGameSave> loaded;
    try {
        loaded = ReadGameSaveFile(input);
    } catch (const ArchiveError&) {
        return 0; // a clean refusal
    }
    // Outside the refusal's catch: a save the game cannot write again, or
    // whose new copy it refuses, ends the run as a finding.
    UseLikeTheGame(*loaded);
    return 0;
}
