// PlayerScreenFlashes: what the post-processing chain reads each frame of
// play: the invulnerable look (the weapon view's `face`) and the damage,
// teleport and pickup flash levels of the level's player's weapon view.
// Core points it at each new World and hands it to the chain; without a
// World or a player there are no flashes.
#pragma once

#include "render/IScreenFlashSource.h"

namespace mirefell
{

class World;

class PlayerScreenFlashes final : public IScreenFlashSource
{
public:
    ScreenFlashes GetScreenFlashes() const override;

    // The level being played; not owned, null between levels.
    const World* world = nullptr;
};

} // namespace mirefell
