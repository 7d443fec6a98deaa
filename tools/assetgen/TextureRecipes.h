// The recipes of the game's pictures, one per texture name of the renderer's
// table (the sky box aside, which is a DDS cube of its own). Each recipe paints
// a canvas; the texture generator writes it to the table's file.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TextureCanvas.h"

namespace mirefell::assetgen
{

using TextureRecipe = std::function<Canvas()>;
using RecipeBook = std::map<std::string, TextureRecipe>;

// Walls, metal, floors, signs, switches, the normal map and blood.
void AddSurfaceRecipes(RecipeBook& book);
// Pickup sprites, inventory icons and the two monster sprite sheets.
void AddSpriteRecipes(RecipeBook& book);
// HUD widgets, buttons and the title image.
void AddInterfaceRecipes(RecipeBook& book);

// The sky box: a DDS cube map of six 128 x 128 RGBA faces.
std::vector<uint8_t> BuildSkyboxDds();

} // namespace mirefell::assetgen
