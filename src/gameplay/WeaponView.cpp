// WeaponView: sway, flashes and the death drop.
#include "gameplay/WeaponView.h"

#include <algorithm>

#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "shell/SoundManager.h"

namespace mirefell
{

namespace
{

void Decay(float& value, float step)
{
    value = std::max(value - step, 0.0f);
}

// Moves value towards target by at most step.
void Approach(float& value, float target, float step)
{
    if (value < target)
        value = std::min(value + step, target);
    else if (value > target)
        value = std::max(value - step, target);
}

} // namespace

WeaponView::WeaponView(Player* player_) : player(player_) {}

void WeaponView::Update()
{
    Decay(hurtFlash, HurtFlashDecay);
    Decay(teleportFlash, TeleportFlashDecay);
    Decay(pickupFlash, PickupFlashDecay);
    Decay(fireLightLevel, LightLevelDecay);
    Decay(teleportLightLevel, LightLevelDecay);
}

void WeaponView::Sway(const Vector3& oldPosition, const Vector3& newPosition)
{
    const float speed = 0.8f * Vector2::Distance({oldPosition.x, oldPosition.z}, {newPosition.x, newPosition.z});
    walkTarget = speed;
    Approach(walkSmoothed, walkTarget, walkStep);
    if (!player->fly && ready) {
        swayTarget = speed;
        Approach(swaySmoothed, swayTarget, swayStep);
    }
}

void WeaponView::StartTeleportFlash(const Color& colour, float flash, float lightLevel)
{
    teleportFlash = flash;
    teleportLightColour = colour;
    teleportLightLevel = lightLevel;
}

void WeaponView::PlayDeath()
{
    if (FirstPersonController* controller = player->controller.get()) {
        controller->position.y -= player->halfExtents.y;
        controller->UpdateCamera();
    }
    ready = false;
    SoundManager::GetInstance().PlaySound("player_death");
}

} // namespace mirefell
