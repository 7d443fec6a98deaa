// The makers of the four weapons. Each builds the weapon's complete tuning
// record and hands it to a new Weapon with a fresh identity.
#pragma once

#include <memory>

#include "gameplay/Weapon.h"

namespace mirefell::Weapons
{

std::unique_ptr<Weapon> MakeHammer();
std::unique_ptr<Weapon> MakeDoubleShotgun();
std::unique_ptr<Weapon> MakeHyperBlaster();
std::unique_ptr<Weapon> MakeRocketLauncher();

} // namespace mirefell::Weapons
