// The texture generator: paints every file of the renderer's texture table
// (render/TextureTable) into the run folder. A name without a recipe, or a
// recipe without a row, stops the build, so table and pictures never drift.
#include <filesystem>
#include <set>
#include <stdexcept>

#include "AssetGenerator.h"
#include "TextureRecipes.h"
#include "platform/Image.h"
#include "render/TextureTable.h"

namespace mirefell::assetgen
{

namespace
{

void GenerateTextures(const std::filesystem::path& runDir)
{
    RecipeBook book;
    AddSurfaceRecipes(book);
    AddSpriteRecipes(book);
    AddInterfaceRecipes(book);
    std::set<std::string> used;
    for (const TextureTableRow& row : GetTextureTable()) {
        const std::filesystem::path path = runDir / std::filesystem::path(row.path);
        if (row.mode == TextureLoadMode::DdsSrgb) {
            const std::vector<uint8_t> dds = BuildSkyboxDds();
            WriteFileBytes(path, dds.data(), dds.size());
            continue;
        }
        const auto recipe = book.find(row.name);
        if (recipe == book.end())
            throw std::runtime_error(std::string("no picture for texture ") + row.name);
        used.insert(row.name);
        const std::vector<uint8_t> png = EncodePng(recipe->second().ToImage());
        WriteFileBytes(path, png.data(), png.size());
    }
    for (const auto& [name, recipe] : book)
        if (!used.count(name))
            throw std::runtime_error("picture " + name + " belongs to no texture");
}

const AssetGenerator textures("textures", GenerateTextures);

} // namespace

} // namespace mirefell::assetgen
