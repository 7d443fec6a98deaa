// The entity models the mesh generator writes, by kind: pickups and weapons
// (textured by their own 64 x 64 pictures, the hammer's also by the shield),
// the title letters (textured by the "title" picture) and the monsters'
// sprite frames (quads into the "nom" and "eye" sheets).
#pragma once

#include <functional>
#include <string>

#include "MeshModel.h"
#include "platform/Image.h"

namespace mirefell::assetgen
{

// The generated picture of a texture name.
using PictureSource = std::function<const Image&(const std::string& textureName)>;

// The texture a model is painted to be drawn with.
std::string ModelTexture(const std::string& meshName);

// One pickup or weapon model ("ammo" ... "win_thing"); throws for another
// name.
Model BuildItemModel(const std::string& meshName, const PictureSource& pictures);
// "title_m", "title_i", ... "title_l2": the letter standing on y = 0,
// centred on x = 0, its face towards +z.
Model BuildTitleLetter(const std::string& meshName);
// "nom_walk0" ... "eye_attack1": a two-sided quad facing +z and -z, its
// foot row on the floor below the monster's centre.
Model BuildSpriteFrame(const std::string& meshName);

} // namespace mirefell::assetgen
