// ItemCategory: the three kinds of inventory item, and the names the
// tooltips show for them.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

enum class ItemCategory : uint32_t
{
    Weapon = 1,
    Artifact = 2,
    Consumable = 3,
};

// "Weapon", "Artifact" or "Consumable"; any other value throws
// "invalid map<K, T> key".
const std::wstring& GetItemCategoryName(ItemCategory category);

} // namespace mirefell
