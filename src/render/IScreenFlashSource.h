// IScreenFlashSource: what the play-state screen effects read each frame of
// the player's first-person view: whether the invulnerable look is on and
// the damage, teleport and pickup flash levels. The post-processing chain
// sits below the gameplay layer, so the level that owns the player hands the
// chain an implementation at each level load (none: no flashes).
#pragma once

namespace mirefell
{

struct ScreenFlashes
{
    bool invulnerable = false;
    float damage = 0.0f;
    float teleport = 0.0f;
    float pickup = 0.0f;
};

class IScreenFlashSource
{
public:
    virtual ~IScreenFlashSource() = default;
    virtual ScreenFlashes GetScreenFlashes() const = 0;
};

} // namespace mirefell
