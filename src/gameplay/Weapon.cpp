#include "gameplay/Weapon.h"

namespace mirefell
{

Weapon::Weapon()
{
    category = ItemCategory::Weapon;
    width = 2;
    height = 3;
}

} // namespace mirefell
