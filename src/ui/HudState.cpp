// HudState: the game state the HUD reads.
#include "ui/HudState.h"

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "shell/Config.h"
#include "world/World.h"

namespace mirefell
{

Player* PlayerOf(const World* context)
{
    // The gameplay's player factory always makes a Player.
    return context ? static_cast<Player*>(context->player) : nullptr;
}

bool IsMasochistic()
{
    return GameSaveManager::GetInstance().current.difficulty == GameDifficulty::Masochistic;
}

bool IsHudShown()
{
    return Config::GetInstance().settings.showHud;
}

} // namespace mirefell
