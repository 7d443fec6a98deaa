#include "gameplay/WeaponViewTable.h"

namespace mirefell
{

namespace
{

constexpr float HammerYaw = -1.3962634f;   // -80 degrees
constexpr float HammerRoll = -0.17453292f; // -10 degrees
constexpr float HammerSwingRoll = 1.3962634f;

WeaponViewEntry Ranged(const char* meshName, Vector3 offset, Vector3 lowered, Vector3 rotation, float kickBack,
                       float kickFraction, float returnFraction, const char* fireSound)
{
    WeaponViewEntry entry;
    entry.kind = WeaponViewKind::Ranged;
    entry.meshName = meshName;
    entry.offset = offset;
    entry.loweredOffset = lowered;
    entry.rotation = rotation;
    entry.kickBack = kickBack;
    entry.kickFraction = kickFraction;
    entry.returnFraction = returnFraction;
    entry.fireSound = fireSound;
    return entry;
}

WeaponViewEntry Hammer()
{
    WeaponViewEntry entry;
    entry.kind = WeaponViewKind::Melee;
    entry.meshName = "hammer";
    entry.offset = {3.75f, -7.4f, -6.0f};
    entry.loweredOffset = {2.5f, -11.5f, 1.0f};
    entry.rotation = {0.0f, HammerYaw, HammerRoll};
    entry.kickBack = 1.0f;
    entry.swingRotation = {0.0f, HammerYaw, HammerSwingRoll};
    entry.fireSound = "hammer_swing";
    return entry;
}

} // namespace

const std::map<uint32_t, WeaponViewEntry> WeaponViewTable = {
    {1, Ranged("pistol", {2.75f, -2.5f, -4.0f}, {2.5f, -6.5f, 1.0f}, {0.0f, -HalfPi, 0.0f}, 1.0f, 0.5f, 0.5f,
               "hyper_blaster_fire")},
    {2, Ranged("double_shotgun", {2.25f, -3.5f, -3.0f}, {2.5f, -6.5f, 1.0f}, {0.0f, Pi, 0.0f}, 2.0f, 0.1f, 0.9f,
               "shotgun_fire")},
    {3, Ranged("hyper_blaster", {2.75f, -2.5f, -3.0f}, {2.5f, -6.5f, 1.0f}, {0.0f, -HalfPi, 0.0f}, 1.0f, 0.5f, 0.5f,
               "hyper_blaster_fire")},
    {4, Ranged("rocket_launcher", {2.75f, -2.5f, -1.0f}, {2.5f, -6.5f, 3.0f}, {0.0f, -HalfPi, 0.0f}, 2.0f, 0.1f, 0.9f,
               "rocket_launcher_fire")},
    {5, Hammer()},
};

} // namespace mirefell
