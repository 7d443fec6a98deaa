// Player: damage and death, pickups, items, and the saving of the player's
// state at level start, death and level end.
#include <algorithm>
#include <cmath>

#include "gameplay/Artifact.h"
#include "gameplay/Consumable.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "shell/GameStateManager.h"
#include "shell/INotificationService.h"
#include "shell/SoundManager.h"
#include "world/AIRegionGraph.h"
#include "world/MapData.h"
#include "world/MapScript.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

constexpr float HealthPickup = 25.0f;
constexpr float ArmorPickup = 5.0f;
constexpr float DuplicateHealth = 100.0f;
constexpr float DuplicateArmor = 50.0f;

GameSaveLevelData& CurrentLevelRecord()
{
    GameSave& save = GameSaveManager::GetInstance().current;
    return save.levels[save.levelId];
}

// Whole seconds of a stopwatch's running time.
uint32_t WholeSeconds(const Stopwatch& clock)
{
    return static_cast<uint32_t>(std::max<int64_t>(clock.ElapsedSeconds(), 0));
}

} // namespace

bool Player::TakeDamage(float damage, GridObject*, const Vector3&)
{
    // The dead take no more damage: no second death, sound or save.
    if (godMode || dead)
        return false;
    if (blocking) {
        // The shield takes the blow and drops.
        blocking = false;
        if (controller)
            controller->speed = WalkSpeed;
        weaponView->ShieldHit();
        return false;
    }
    weaponView->hurtFlash = HurtFlash;
    armor -= 2.0f * damage;
    if (armor < 0.0f) {
        health -= std::fabs(armor) * 0.5f;
        armor = 0.0f;
    }
    if (health <= 0.0f) {
        health = 0.0f;
        Die();
    }
    return true;
}

bool Player::Kill()
{
    if (godMode || dead)
        return false;
    weaponView->hurtFlash = HurtFlash;
    health = 0.0f;
    armor = 0.0f;
    Die();
    return true;
}

void Player::Die()
{
    dead = true;
    if (controller)
        controller->locked = true;
    weaponView->PlayDeath();
    GameSave& save = GameSaveManager::GetInstance().current;
    if (save.permadeath)
        save.permadead = true;
    levelClock.Pause();
    SaveToGameSave();
}

void Player::PickUpPowerup(Powerup* powerup)
{
    SoundManager& sound = SoundManager::GetInstance();
    const auto mapId = static_cast<uint32_t>(powerup->record->id);
    switch (powerup->GetType()) {
    case PowerupType::Health:
        if (HasArtifact(ArtifactBloodlust) || health >= maxHealth)
            return;
        health = std::min(health + HealthPickup, maxHealth);
        ++itemsCollected;
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::AmmoPack:
        ++itemsCollected;
        AddAmmoPack();
        sound.PlaySound("pickup_ammo");
        break;
    case PowerupType::LevelExit:
        CompleteLevel();
        break;
    case PowerupType::RedKey:
        NotifyRedKey();
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::BlueKey:
        NotifyBlueKey();
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Hammer:
        GiveItem(mapId, Weapons::MakeHammer());
        sound.PlaySound("pickup_weapon");
        break;
    case PowerupType::DoubleShotgun:
        GiveItem(mapId, Weapons::MakeDoubleShotgun());
        sound.PlaySound("pickup_weapon");
        break;
    case PowerupType::HyperBlaster:
        GiveItem(mapId, Weapons::MakeHyperBlaster());
        sound.PlaySound("pickup_weapon");
        break;
    case PowerupType::RocketLauncher:
        GiveItem(mapId, Weapons::MakeRocketLauncher());
        sound.PlaySound("pickup_weapon");
        break;
    case PowerupType::HealthCube:
        GiveConsumable(mapId, MakeHealthCube());
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Breastplate:
        GiveConsumable(mapId, MakeBreastplate());
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Boots:
        GiveItem(mapId, MakeArtifactBoots());
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Nightmare:
        GiveItem(mapId, MakeArtifactNightmare());
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Bloodlust:
        GiveItem(mapId, MakeArtifactBloodlust());
        sound.PlaySound("pickup_item");
        break;
    case PowerupType::Armor:
        if (armor >= maxArmor)
            return;
        armor = std::min(armor + ArmorPickup, maxArmor);
        ++itemsCollected;
        sound.PlaySound("pickup_item");
        break;
    default:
        break; // a kind without an effect is still collected
    }
    weaponView->pickupFlash = PickupFlash;
    if (world->aiRegions && world->aiRegions->script)
        world->aiRegions->script->OnPowerupPickedUp(powerup);
    powerup->Remove();
}

void Player::GiveItem(uint32_t mapId, std::unique_ptr<Item> item)
{
    if (inventory.HasItemNamed(*item)) {
        health = std::min(health + DuplicateHealth, maxHealth);
        armor = std::min(armor + DuplicateArmor, maxArmor);
        AddAmmoPack();
    } else {
        GetNotificationService().NotifyPickup(item->name, item->textureId);
        Item* added = item.get();
        inventory.AddItem(std::move(item));
        if (added->category == ItemCategory::Weapon) {
            equippedItem = added;
            cooldownSteps = 0;
            if (onEquippedItemChanged)
                onEquippedItemChanged();
        } else if (added->category == ItemCategory::Artifact) {
            artifacts[static_cast<uint32_t>(static_cast<Artifact*>(added)->number)] = added;
        }
    }
    RecordPickedUp(mapId);
}

void Player::GiveConsumable(uint32_t mapId, std::unique_ptr<Item> item)
{
    GetNotificationService().NotifyPickup(item->name, item->textureId);
    inventory.AddItem(std::move(item));
    RecordPickedUp(mapId);
}

void Player::RecordPickedUp(uint32_t mapId)
{
    CurrentLevelRecord().pickedUpItemIds[mapId] = true;
}

void Player::AddAmmoPack()
{
    inventory.AddAmmo(AmmoType::Shells, 6);
    inventory.AddAmmo(AmmoType::Bullets, 15);
    inventory.AddAmmo(AmmoType::Cells, 30);
    inventory.AddAmmo(AmmoType::Rockets, 5);
}

void Player::NotifyRedKey()
{
    hasRedKey = true;
    GetNotificationService().Notify(L"Picked up the red key.", KeyMessageSteps);
}

void Player::NotifyBlueKey()
{
    hasBlueKey = true;
    GetNotificationService().Notify(L"Picked up the blue key.", KeyMessageSteps);
}

void Player::CompleteLevel()
{
    SoundManager& sound = SoundManager::GetInstance();
    sound.StopMusic();
    sound.PlaySound("shotgun_fire");
    levelClock.Pause();
    const auto seconds = static_cast<int32_t>(WholeSeconds(levelClock));
    GameSaveLevelData& record = CurrentLevelRecord();
    if (record.bestTime == -1 || record.bestTime > seconds)
        record.bestTime = seconds;
    SaveToGameSave();
    GameStateManager::GetInstance().Request(GameState::LevelComplete);
}

void Player::StartLevel()
{
    // The level's random pickups, taken or not, as the level build counted
    // them; recorded before the save below writes the record.
    CurrentLevelRecord().itemCount = world->randomPickupCount;
    GameSaveManager& saves = GameSaveManager::GetInstance();
    const GameSave& save = saves.current;
    if (!save.freshGame) {
        const GUID equipped = save.equippedItem;
        const std::vector<GUID> bound = save.boundItems;
        for (auto& item : saves.TakeItems()) {
            const int32_t x = item->x;
            const int32_t y = item->y;
            inventory.AddItemAt(x, y, std::move(item));
        }
        if (equipped != GUID{}) {
            equippedItem = inventory.GetItem(equipped);
            cooldownSteps = 0;
            if (onEquippedItemChanged)
                onEquippedItemChanged();
        }
        for (const GUID& id : bound) {
            Item* item = inventory.GetItem(id);
            if (item->category == ItemCategory::Artifact)
                artifacts[static_cast<uint32_t>(static_cast<Artifact*>(item)->number)] = item;
        }
    }
    AddAmmoPack();
    if (equippedItem)
        weaponView->Equip(equippedItem);
    onEquippedItemChanged = [this] { weaponView->Equip(equippedItem); };
    SaveToGameSave();
}

void Player::SaveToGameSave()
{
    // The clock's time up to its last pause; 0 while it has not been paused.
    const uint32_t seconds = levelClock.IsPaused() ? WholeSeconds(levelClock) : 0;
    const GUID equipped = equippedItem ? equippedItem->id : GUID{};
    std::vector<GUID> bound;
    for (const auto& [number, item] : artifacts)
        if (item)
            bound.push_back(item->id);
    std::vector<Item*> items;
    for (const auto& item : inventory.GetItems())
        items.push_back(item.get());
    GameSaveManager::GetInstance().SaveLevelProgress(seconds, equipped, std::move(bound), std::move(items));
}

void Player::UseItem(Item* item)
{
    switch (item->category) {
    case ItemCategory::Weapon: {
        cooldownSteps = 0;
        if (equippedItem) {
            const bool same = equippedItem->id == item->id;
            equippedItem = nullptr;
            if (onEquippedItemChanged)
                onEquippedItemChanged();
            if (same)
                return; // using the equipped weapon puts it away
        }
        equippedItem = item;
        cooldownSteps = 0;
        if (onEquippedItemChanged)
            onEquippedItemChanged();
        break;
    }
    case ItemCategory::Artifact: {
        Item*& slot = artifacts[static_cast<uint32_t>(static_cast<Artifact*>(item)->number)];
        slot = slot ? nullptr : item;
        break;
    }
    case ItemCategory::Consumable:
        if (static_cast<Consumable*>(item)->number == ConsumableNumber::HealthCube)
            health = 2.0f * maxHealth;
        else if (static_cast<Consumable*>(item)->number == ConsumableNumber::Breastplate)
            armor = maxArmor;
        break;
    }
}

void Player::UnequipItem(Item* item)
{
    if (item->category == ItemCategory::Weapon) {
        if (equippedItem && equippedItem->id == item->id) {
            equippedItem = nullptr;
            cooldownSteps = 0;
            if (onEquippedItemChanged)
                onEquippedItemChanged();
        }
    } else if (item->category == ItemCategory::Artifact) {
        artifacts[static_cast<uint32_t>(static_cast<Artifact*>(item)->number)] = nullptr;
    }
}

} // namespace mirefell
