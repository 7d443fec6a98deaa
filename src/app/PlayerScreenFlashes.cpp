// PlayerScreenFlashes: the flashes read from the player's weapon view.
#include "app/PlayerScreenFlashes.h"

#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "world/World.h"

namespace mirefell
{

ScreenFlashes PlayerScreenFlashes::GetScreenFlashes() const
{
    // The player factory always makes a Player.
    const auto* player = world ? static_cast<const Player*>(world->player) : nullptr;
    const WeaponView* view = player ? player->weaponView.get() : nullptr;
    if (!view)
        return {};
    return {view->face, view->hurtFlash, view->teleportFlash, view->pickupFlash};
}

} // namespace mirefell
