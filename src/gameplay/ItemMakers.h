// The makers of the artifacts and consumables the player can pick up. Each
// call makes a new item with a fresh identity; two makes of one item share
// their name, which is what counts as "the same item". The weapons' makers
// are in Weapons.h.
#pragma once

#include <memory>

#include "gameplay/Artifact.h"
#include "gameplay/Consumable.h"

namespace mirefell
{

std::unique_ptr<Artifact> MakeArtifactBoots();
std::unique_ptr<Artifact> MakeArtifactNightmare();
std::unique_ptr<Artifact> MakeArtifactBloodlust();

std::unique_ptr<Consumable> MakeHealthCube();
std::unique_ptr<Consumable> MakeBreastplate();

} // namespace mirefell
