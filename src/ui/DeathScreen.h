// DeathScreen: "You died." over the picture once the player is dead, with a
// blinking "[ENTER] to restart" below it (about once a second), or
// "Permanently." in a permadeath game, which offers no restart. The death
// and the restart belong to the gameplay and the Core; the game stays in
// play meanwhile. Drawn whatever the HUD setting, the difficulty or the
// inventory say.
#pragma once

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class DeathScreen : public BaseUIComponent
{
public:
    static constexpr float BlinkStep = 0.1f; // radians per update step

    // Also restarts the blink phase at 0.
    explicit DeathScreen(Painter* painter_);
    ~DeathScreen() override;

    // Advances the blink every step, dead or alive.
    void Update() override;
    void Draw() override;

    // The prompt's phase, shared by every death screen.
    static inline float blinkPhase = 0.0f;
    bool blinkOn = false;
};

} // namespace mirefell
