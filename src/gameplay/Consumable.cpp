#include "gameplay/Consumable.h"

namespace mirefell
{

Consumable::Consumable()
{
    category = ItemCategory::Consumable;
    width = 1;
    height = 1;
}

} // namespace mirefell
