#include "gameplay/ItemCategory.h"

#include <map>

#include "platform/Lookup.h"

namespace mirefell
{

const std::wstring& GetItemCategoryName(ItemCategory category)
{
    static const std::map<ItemCategory, std::wstring> names = {
        {ItemCategory::Weapon, L"Weapon"},
        {ItemCategory::Artifact, L"Artifact"},
        {ItemCategory::Consumable, L"Consumable"},
    };
    return MapAt(names, category);
}

} // namespace mirefell
