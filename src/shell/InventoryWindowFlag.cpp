#include "shell/InventoryWindowFlag.h"

namespace mirefell
{

bool inventoryWindowOpen = false;

} // namespace mirefell
