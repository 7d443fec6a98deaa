// Player: the one object in a level that the user steers. A GridObject held
// by the World and updated in its pass, and an IKillable that monsters hunt.
//
// Each step it applies gravity to its vertical speed, runs its
// FirstPersonController (mouse look and the wished move, which the player's
// move resolves: the World's teleport, collide-and-slide and telefrag, then
// its own landing, pickups, crosshair and use targets), works the door or
// switch in reach with the use key, fires, selects a weapon by key or wheel,
// raises or lowers the hammer's shield, drains the nightmare artifact, jumps
// with the boots and reads the typed cheat codes. A dead player only turns
// its view (its body still falls) and reads cheat codes.
//
// Weapons (PlayerWeapons.cpp): the equipped weapon fires when Attack is held,
// its cool-down has run out, the view is ready, the interface has not taken
// the click and the shield is down; the first shot of a burst alerts the
// monsters of every region the player can reach. The equipped-item callback
// hands every change of weapon to the weapon view.
//
// Health: damage goes to the armour first at twice the rate; at zero health
// the player dies, which locks movement, drops the view and saves. The dead
// take no more damage. Pickups
// are handed over by the movement; each kind's effect is decided here.
//
// Lifecycle: made by the level build (placed at the map's start), set up
// once (standing on the floor, its box as triangles, the controller, the
// level start with inventory restore, starting ammunition and a save), then
// updated every step; never revived. It must not be updated before SetUp.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "gameplay/PlayerInventory.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "shell/Stopwatch.h"
#include "world/GridObject.h"
#include "world/IKillable.h"

namespace mirefell
{

class Camera;
class CheatCodeInput;
class FirstPersonController;
class IUsable;
class Item;
class Powerup;
class WeaponView;
struct CollisionResult;

class Player : public GridObject, public IKillable
{
public:
    static constexpr Vector3 BodyHalfExtents{3.0f, 7.0f, 3.0f};
    static constexpr float WalkSpeed = 1.25f;
    static constexpr float BlockingSpeed = 0.3125f;
    // Reach of the use key beyond the body's half width.
    static constexpr float UseReachBeyondBody = 15.0f;
    // Vertical speed, positive downwards, in units per step; the movement
    // turns it into a gravity pass of 1.5 times its value.
    static constexpr float FallAcceleration = 0.125f;
    static constexpr float FallDrag = 0.95f;
    static constexpr float JumpSpeed = -5.0f;
    // After a floor contact: keeps the body pressed to the floor.
    static constexpr float GroundSpeed = 0.5f;
    // The eye follows a step up over this many steps (roundf(30.012005)).
    static constexpr int32_t StepSmoothingSteps = 30;
    static constexpr float MaxHealth = 100.0f;
    static constexpr float MaxArmor = 100.0f;
    // The nightmare artifact drains this per step, never below the floor.
    static constexpr float NightmareDrain = 0.05f;
    static constexpr float NightmareHealthFloor = 1.0f;
    static constexpr float HurtFlash = 0.95f;
    static constexpr float PickupFlash = 0.3f;
    static constexpr int32_t KeyMessageSteps = 300;
    // Artifact numbers of the `artifacts` map.
    static constexpr uint32_t ArtifactBoots = 1;
    static constexpr uint32_t ArtifactNightmare = 2;
    static constexpr uint32_t ArtifactBloodlust = 3;
    // Damage is doubled while the nightmare artifact is active.
    static constexpr float NightmareDamageFactor = 2.0f;
    // Milliseconds to steps: roundf(ms x this).
    static constexpr float StepsPerMillisecond = 0.060024012f;

    // Takes health and armour from the current save and stands at the map's
    // start (x, 0, y - 0.0001). The camera is borrowed.
    Player(World* world_, Camera* camera_);
    ~Player() override;

    void SetUp() override;
    void Update() override;
    // Armour first (twice the rate), then health; false with god mode, when
    // dead, or when the raised shield takes the blow (which drops it).
    bool TakeDamage(float damage, GridObject* source, const Vector3& direction) override;
    // Moves the body, its triangles and the controller; feeds the sway.
    void SetPosition(const Vector3& newPosition) override;

    bool IsDead() override { return dead; }
    bool Kill() override;
    Color GetBloodColor() override { return bloodColor; }
    Vector3 GetPosition() override { return position; }

    // The controller's move callback and the player's whole move for one
    // step: through walls with noclip; else, in this order, the World's
    // teleport, collide-and-slide (answered by OnVerticalContact) and
    // placing in the grid; after a teleport the flash, its sound and the
    // telefrag; the pickups (not when dead); the targets; the AI regions'
    // area triggers, awakening and reachability; and death by falling out of
    // the level. `to` is the wanted position on entry and the reached one on
    // return (`from` changes too when a teleport moved the start).
    void MoveWithCollision(Vector3& from, Vector3& to);
    // Hands every pickup whose box overlaps (or touches) the player's to
    // PickUpPowerup.
    void PickUpPowerups();
    // The monster under the crosshair and the door or switch within reach.
    void UpdatePlayerTargets();
    // The scale of the movement's gravity pass: the vertical speed, or 0
    // while flying.
    float GravityScale() const;
    // The movement's report of one move: landing, step-up smoothing, stomp.
    void OnVerticalContact(const CollisionResult& result, bool teleported);
    // "jump" and an upward vertical speed.
    void Jump();
    Vector3 EyePosition() const;
    // The current unit look direction.
    Vector3 LookDirection() const;
    bool HasArtifact(uint32_t number) const;

    void Die();
    // A pickup the player touched: its effect by type, then the flash, the
    // script's hook and the pickup's removal; a refused pickup stays.
    void PickUpPowerup(Powerup* powerup);
    // A weapon or artifact; a second copy of something held gives health,
    // armour and ammunition instead. The map id is recorded as taken.
    void GiveItem(uint32_t mapId, std::unique_ptr<Item> item);
    void GiveConsumable(uint32_t mapId, std::unique_ptr<Item> item);
    void AddAmmoPack();
    void NotifyRedKey();
    void NotifyBlueKey();
    // Stops the clock, records the best time, saves and asks for the
    // level-complete state.
    void CompleteLevel();
    // The last step of the set-up: the level's random-pickup count into the
    // save's level record, the saved inventory back in place, one ammunition
    // pack, the equipped weapon handed to the weapon view (and every later
    // change through the equipped-item callback) and a save.
    void StartLevel();
    void SaveToGameSave();
    // Equip or toggle an item (weapons: equip, or unequip when equipped;
    // artifacts: switch on or off; consumables: their effect).
    void UseItem(Item* item);
    void UnequipItem(Item* item);
    // Weapon keys 10 to 13 equip the hammer, double shotgun, hyper blaster or
    // rocket launcher when carried (the first pressed key that finds one);
    // otherwise the wheel cycles. Nothing while the view is switching.
    void SelectWeaponByKey();
    // The wheel's step: the next or previous carried weapon, wrapping; the
    // first with none equipped. Nothing when the one weapon carried is
    // equipped.
    void CycleWeapon();
    // One step of the equipped weapon: the cool-down, then an attack while
    // Attack is held (a gun needs its ammunition per shot).
    void Fire();
    // Every monster of the regions reachable from the player roars (each
    // region once per level).
    void AlertMonsters();
    // The hammer's shield: raised by pressing Block (when the view is ready
    // and not swinging), lowered when Block is let go or the hammer is put
    // away; it slows the walk while raised.
    void UpdateBlock();
    // Every item not yet held, full ammunition and both keys; nothing is
    // equipped or switched on.
    void GiveAllItems();

    bool firing = false;
    bool fly = false;
    bool noclip = false;
    GridObject* crosshairMonster = nullptr;            // written by every move
    IUsable* usable = nullptr;                         // the door or switch in reach, written by every move
    std::unique_ptr<FirstPersonController> controller; // made at set-up
    Vector3 direction;                                 // unit view direction, refreshed each step
    float useReach;
    bool usableInReach = false;
    bool godMode = false;
    bool blocking = false;
    std::unique_ptr<WeaponView> weaponView;
    int32_t cooldownSteps = 0;
    std::function<void()> onEquippedItemChanged;
    Item* equippedItem = nullptr; // owned by the inventory
    std::map<uint32_t, Item*> artifacts;
    PlayerInventory inventory;
    Stopwatch levelClock;
    float health;
    float maxHealth = MaxHealth;
    float armor;
    float maxArmor = MaxArmor;
    bool dead = false;
    Color bloodColor{1.0f, 0.0f, 0.0f, 1.0f};
    bool hasRedKey = false;
    bool hasBlueKey = false;
    int32_t stepSmoothingDuration = StepSmoothingSteps;
    int32_t stepSmoothingLeft = 0;
    float yaw = 0.0f; // copies of the controller's angles
    float pitch = 0.0f;
    Camera* camera;
    float verticalSpeed = 0.0f;
    bool inAir = false;
    std::unique_ptr<CheatCodeInput> cheats;
    int32_t itemsCollected = 0;
    int32_t killCount = 0;

private:
    void ControllerStep();
    void ArtifactStep();
    void RecordPickedUp(uint32_t mapId);
    void SetBlocking(bool raised);
};

} // namespace mirefell
