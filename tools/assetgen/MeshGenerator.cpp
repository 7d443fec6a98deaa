// The mesh generator: writes every entity mesh the MeshRegistry loads,
// "assets/meshes/<name>.js", in the registry's load order. Models textured by
// one of the pictures are checked to sample only its opaque texels before
// they are written; the sprite frames rely on the clear texels being cut away.
#include <map>
#include <string>

#include "AssetGenerator.h"
#include "MeshModels.h"
#include "TextureRecipes.h"
#include "render/MeshRegistry.h"

namespace mirefell::assetgen
{

namespace
{

void GenerateMeshes(const std::filesystem::path& runDir)
{
    RecipeBook book;
    AddSpriteRecipes(book);
    AddInterfaceRecipes(book);
    std::map<std::string, Image> painted;
    const PictureSource pictures = [&](const std::string& name) -> const Image& {
        auto found = painted.find(name);
        if (found == painted.end()) {
            const auto recipe = book.find(name);
            if (recipe == book.end())
                throw std::runtime_error("no picture " + name);
            found = painted.emplace(name, recipe->second().ToImage()).first;
        }
        return found->second;
    };

    for (const std::string name : GetEntityMeshNames()) {
        Model model;
        if (name.rfind("title_", 0) == 0)
            model = BuildTitleLetter(name);
        else if (name.rfind("nom_", 0) == 0 || name.rfind("eye_", 0) == 0)
            model = BuildSpriteFrame(name);
        else
            model = BuildItemModel(name, pictures);
        if (model.Triangles().empty())
            throw std::runtime_error("mesh " + name + " is empty");
        if (name.rfind("nom_", 0) != 0 && name.rfind("eye_", 0) != 0)
            CheckOpaque(model, pictures(ModelTexture(name)), name);
        const std::string text = WriteMeshText(model, name);
        WriteFileBytes(runDir / "assets" / "meshes" / (name + ".js"), text.data(), text.size());
    }
}

const AssetGenerator meshes("meshes", GenerateMeshes);

} // namespace

} // namespace mirefell::assetgen
