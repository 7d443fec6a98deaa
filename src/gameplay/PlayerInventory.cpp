#include "gameplay/PlayerInventory.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "platform/Lookup.h"

namespace mirefell
{

PlayerInventory::PlayerInventory()
    : ammo{{AmmoType::Bullets, 0}, {AmmoType::Shells, 0}, {AmmoType::Cells, 0}, {AmmoType::Rockets, 0}}
{}

void PlayerInventory::AddItemAt(int32_t x, int32_t y, std::unique_ptr<Item> item)
{
    if (item->category == ItemCategory::Weapon)
        weaponIds.push_back(item->id);
    Inventory::AddItemAt(x, y, std::move(item));
}

std::unique_ptr<Item> PlayerInventory::RemoveItem(const GUID& id)
{
    const Item* item = GetItem(id); // "item not found" before anything changes
    if (item->category == ItemCategory::Weapon) {
        weaponIds.erase(std::remove(weaponIds.begin(), weaponIds.end(), id), weaponIds.end());
        const int32_t last = std::max<int32_t>(0, static_cast<int32_t>(weaponIds.size()) - 1);
        weaponIndex = std::min(weaponIndex, last);
    }
    return Inventory::RemoveItem(id);
}

int32_t PlayerInventory::GetAmmo(AmmoType type)
{
    return ammo[type];
}

void PlayerInventory::AddAmmo(AmmoType type, int32_t count)
{
    const int32_t maximum = GetMaxAmmo(type);
    int32_t& counter = ammo[type];
    counter = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(counter) + count, maximum));
}

void PlayerInventory::RemoveAmmo(AmmoType type, int32_t count)
{
    int32_t& counter = MapAt(ammo, type);
    if (static_cast<int64_t>(counter) - count < 0)
        throw std::runtime_error("remove ammo count exceeds available count");
    counter -= count;
}

bool PlayerInventory::HasItemNamed(const Item& item) const
{
    return std::any_of(items.begin(), items.end(),
                       [&](const std::unique_ptr<Item>& held) { return held->name == item.name; });
}

void PlayerInventory::AddItemIfNew(std::unique_ptr<Item> item)
{
    if (!HasItemNamed(*item))
        AddItem(std::move(item));
}

int32_t PlayerInventory::IndexOfWeapon(const GUID& id) const
{
    const auto found = std::find(weaponIds.begin(), weaponIds.end(), id);
    if (found == weaponIds.end())
        throw std::exception();
    return static_cast<int32_t>(found - weaponIds.begin());
}

} // namespace mirefell
