// HudState: what the HUD widgets read of the game in progress, in one place:
// the player of the level's World, whether the game runs on "Masochistic"
// (which hides most of the HUD), and the player's HUD setting.
#pragma once

namespace mirefell
{

class Player;
class World;

// The player of the context World; null without a World or a player.
Player* PlayerOf(const World* context);
// The current game's difficulty is 5, "Masochistic".
bool IsMasochistic();
// The showHud setting.
bool IsHudShown();

} // namespace mirefell
