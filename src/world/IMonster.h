// IMonster: how the AI region graph and the level scripts wake and hold
// monsters, what the player's telefrag and stomp read of them, and the
// health the HUD's monster bar shows.
#pragma once

#include <cstdint>

namespace mirefell
{

class IMonster
{
public:
    virtual ~IMonster() = default;

    // Starts hunting with a roar; without force a held monster ignores it.
    virtual void Roar(bool force) = 0;
    // Stores the state and nothing else (scripts hold monsters with 1).
    virtual void SetState(uint32_t state) = 0;
    // Called once per level for the monsters of each region the player's
    // moves reach: a living monster that is neither held nor watching starts
    // watching.
    virtual void Awaken() = 0;
    // The monster's starting health (its kind's maximum at this difficulty):
    // a telefrag or a stomp deals exactly this much.
    virtual float GetMaxHealth() = 0;
    // The health left now.
    virtual float GetHealth() = 0;
};

} // namespace mirefell
