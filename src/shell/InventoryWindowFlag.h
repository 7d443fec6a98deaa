// The inventory-window flag: set by the user interface while the inventory
// window is shown, cleared by every level load. While it is set the world is
// neither updated nor drawn (Core) and the first-person view does not follow
// the mouse (FirstPersonController).
#pragma once

namespace mirefell
{

extern bool inventoryWindowOpen;

} // namespace mirefell
