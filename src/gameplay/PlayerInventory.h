// PlayerInventory: the player's inventory grid plus the ammunition counters
// and the carried weapons in the order they were picked up, which is the
// order weapon cycling walks.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "gameplay/AmmoType.h"
#include "gameplay/Inventory.h"

namespace mirefell
{

class PlayerInventory : public Inventory
{
public:
    PlayerInventory();
    ~PlayerInventory() override = default;

    // A weapon also joins the end of the weapon list.
    void AddItemAt(int32_t x, int32_t y, std::unique_ptr<Item> item) override;
    // A weapon also leaves the weapon list, and the weapon index is pulled
    // back inside it. Throws "item not found" like the base.
    std::unique_ptr<Item> RemoveItem(const GUID& id) override;

    // The count held; a type never seen starts at 0.
    int32_t GetAmmo(AmmoType type);
    // Adds and clamps at the type's maximum; a type without a maximum throws
    // "invalid map<K, T> key".
    void AddAmmo(AmmoType type, int32_t count);
    // Throws "invalid map<K, T> key" for a type without a counter and
    // std::runtime_error "remove ammo count exceeds available count" when
    // fewer than `count` are held.
    void RemoveAmmo(AmmoType type, int32_t count);
    // Whether an item with the same display name is held.
    bool HasItemNamed(const Item& item) const;
    // Adds the item unless one of its name is held; a duplicate is destroyed.
    void AddItemIfNew(std::unique_ptr<Item> item);
    // The weapon's position in the weapon list; throws std::exception when it
    // is not there.
    int32_t IndexOfWeapon(const GUID& id) const;

    std::map<AmmoType, int32_t> ammo;
    std::vector<GUID> weaponIds;
    int32_t weaponIndex = 0;
};

} // namespace mirefell
