// Weapon: an item the player equips and fires; 2 x 3 cells unless its maker
// says otherwise.
#pragma once

#include "gameplay/Item.h"
#include "gameplay/WeaponData.h"

namespace mirefell
{

class Weapon : public Item
{
public:
    Weapon();

    WeaponData data;
};

} // namespace mirefell
