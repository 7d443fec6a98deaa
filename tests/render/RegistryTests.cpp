// The texture and effect registries on a real device: the 69-row table, its
// file rules and load modes, exact-name look-ups, reloading, a load that
// stops at a missing file, and the effect table's replace-and-release cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "RenderFixture.h"
#include "platform/GameError.h"
#include "platform/Image.h"
#include "platform/Lookup.h"
#include "render/TextureTable.h"
#include "support/TempDir.h"

namespace mirefell::testing
{
namespace
{

using TextureRegistryTest = RenderFixture;

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(TextureTable, RowsFollowTheGroupRules)
{
    const auto& table = GetTextureTable();
    std::set<std::string> names;
    for (const TextureTableRow& row : table)
        names.insert(row.name);
    EXPECT_EQ(names.size(), 69u);
    auto find = [&table](const std::string& name) {
        return *std::find_if(table.begin(), table.end(), [&](const TextureTableRow& row) { return row.name == name; });
    };
    EXPECT_EQ(find("item_red_key").path, L"assets/textures/items/red_key.png");
    EXPECT_EQ(find("item_placeholder").path, L"assets/textures/items/item_placeholder.png");
    EXPECT_EQ(find("sm_youtube").path, L"assets/textures/social-media/youtube.png");
    EXPECT_EQ(find("steam").path, L"assets/textures/social-media/steam.png");
    EXPECT_EQ(find("checked").path, L"assets/textures/widgets/checked.png");
    EXPECT_EQ(find("normal").path, L"assets/textures/normalmaps/normal_128.png");
    EXPECT_EQ(table[13].mode, TextureLoadMode::NormalMap);
    EXPECT_EQ(table[37].mode, TextureLoadMode::DdsSrgb);
    EXPECT_STREQ(table[37].name, "skybox");
    EXPECT_EQ(table[18].mode, TextureLoadMode::MippedSrgb); // "blood", the last level texture
    EXPECT_EQ(table[19].mode, TextureLoadMode::SingleSrgb); // "ammo", the first sprite
    EXPECT_STREQ(table[68].name, "title");
}

TEST_F(TextureRegistryTest, LoadAllRegistersTheTableWithItsLoadModes)
{
    TextureRegistry& registry = TextureRegistry::GetInstance();
    registry.LoadAll();
    EXPECT_EQ(registry.Entries().size(), 69u);

    // "item_red_key" holds the pixels of items/red_key.png (the stored sRGB
    // bytes are the file's bytes), not those of the world's "redkey".
    const std::vector<uint8_t> file = FileBytes("assets/textures/items/red_key.png");
    const Image image = DecodeImage(file.data(), file.size());
    gpu::Texture2D* icon = registry.GetTexture("item_red_key")->GetTexture();
    EXPECT_EQ(context->ReadPixelsRGBA8(icon), image.rgba);
    EXPECT_NE(context->ReadPixelsRGBA8(registry.GetTexture("redkey")->GetTexture()), image.rgba);

    // Names compare exactly.
    EXPECT_THROW(registry.GetTexture("Item_Red_Key"), std::out_of_range);
    try {
        registry.GetTexture("ITEM_RED_KEY");
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }

    const gpu::Texture2DDesc wall = registry.GetTexture("wall")->GetTexture()->Desc();
    EXPECT_EQ(wall.format, gpu::Format::R8G8B8A8_UNORM_SRGB);
    EXPECT_EQ(wall.mipLevels, 8u); // 128 x 128 down to 1 x 1
    const gpu::Texture2DDesc sprite = registry.GetTexture("nom")->GetTexture()->Desc();
    EXPECT_EQ(sprite.format, gpu::Format::R8G8B8A8_UNORM_SRGB);
    EXPECT_EQ(sprite.mipLevels, 1u);
    const gpu::Texture2DDesc normal = registry.GetTexture("normal")->GetTexture()->Desc();
    EXPECT_EQ(normal.format, gpu::Format::R8G8B8A8_UNORM);
    EXPECT_GT(normal.mipLevels, 1u);
    gpu::ShaderResourceView* sky = registry.GetTexture("skybox");
    EXPECT_EQ(sky->Desc().dimension, gpu::ViewDimension::TextureCube);
    EXPECT_EQ(sky->GetTexture()->Desc().format, gpu::Format::R8G8B8A8_UNORM_SRGB);

    // "white" must be white: the painter fills rectangles with it.
    for (uint8_t byte : context->ReadPixelsRGBA8(registry.GetTexture("white")->GetTexture()))
        ASSERT_EQ(byte, 255);
}

TEST_F(TextureRegistryTest, ReloadingReplacesEveryViewAndClearEmpties)
{
    TextureRegistry& registry = TextureRegistry::GetInstance();
    registry.LoadAll();
    std::map<std::string, uint64_t> first;
    for (const auto& [name, view] : registry.Entries())
        first[name] = view->Id();

    registry.LoadAll(); // without a Clear: same names, every view replaced
    EXPECT_EQ(registry.Entries().size(), 69u);
    for (const auto& [name, view] : registry.Entries())
        EXPECT_NE(view->Id(), first[name]) << name;

    registry.Clear();
    EXPECT_TRUE(registry.Entries().empty());
    EXPECT_THROW(registry.GetTexture("white"), std::out_of_range);
    EXPECT_EQ(device->LiveObjectCount(), 0u); // the views were the only owners

    registry.LoadAll();
    EXPECT_EQ(registry.Entries().size(), 69u);
}

TEST_F(TextureRegistryTest, AMissingFileStopsTheLoadAtItsRow)
{
    TempDir folder;
    std::filesystem::create_directories(folder.Path() / "assets");
    std::filesystem::copy("assets/textures", folder.Path() / "assets" / "textures",
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(folder.Path() / "assets/textures/items/red_key.png");
    WorkingFolder inside(folder.Path());

    TextureRegistry& registry = TextureRegistry::GetInstance();
    try {
        registry.LoadAll();
        FAIL() << "loading went past a missing file";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "texture cannot be loaded");
        EXPECT_NE(error.Detail().find("items/red_key.png"), std::string::npos);
    }
    // Rows 1-46 are loaded, row 47 ("item_red_key") is there without a view,
    // nothing after it was touched.
    EXPECT_EQ(registry.Entries().size(), 47u);
    EXPECT_NE(registry.GetTexture("item_boots"), nullptr);
    EXPECT_EQ(registry.GetTexture("item_red_key"), nullptr);
    EXPECT_THROW(registry.GetTexture("item_blue_key"), std::out_of_range);
}

TEST_F(TextureRegistryTest, UndecodableFilesFailLikeMissingOnes)
{
    TempDir folder;
    folder.Write("broken.png", "not a picture");
    folder.Write("broken.dds", "DDS |too short");
    TextureRegistry& registry = TextureRegistry::GetInstance();
    const std::wstring png = (folder.Path() / "broken.png").wstring();
    const std::wstring dds = (folder.Path() / "broken.dds").wstring();
    EXPECT_THROW(registry.Load(png, "broken", false), GameError);
    EXPECT_EQ(registry.GetTexture("broken"), nullptr);
    EXPECT_THROW(registry.LoadDDS(dds, "sky"), GameError);
    EXPECT_EQ(registry.GetTexture("sky"), nullptr);
}

using EffectRegistryTest = RenderFixture;

TEST_F(EffectRegistryTest, InitializeNeedsTheNormalMapAndTheShaderFiles)
{
    EffectRegistry::ReleaseAll(); // empty: nothing to do
    EXPECT_THROW(MapAt(EffectRegistry::GetInstance(), EffectIdColor), std::out_of_range);

    // Without textures the colour effect fails first, and nothing is stored.
    try {
        EffectRegistry::Initialize();
        FAIL() << "colour effect made without a normal map";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
    EXPECT_TRUE(EffectRegistry::GetInstance().empty());

    // Without shader files: "ReadData".
    TextureRegistry::GetInstance().Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
    TempDir elsewhere;
    WorkingFolder inside(elsewhere.Path());
    try {
        EffectRegistry::Initialize();
        FAIL() << "effects made without shader files";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "ReadData");
    }
}

TEST_F(EffectRegistryTest, InitializeReplacesAllFourAndReleaseKeepsTheEntries)
{
    TextureRegistry::GetInstance().Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
    EffectRegistry::Initialize();
    auto& registry = EffectRegistry::GetInstance();
    ASSERT_EQ(registry.size(), 4u);
    std::map<EffectId, IEffect*> first;
    for (const auto& [id, effect] : registry)
        first[id] = effect.get();
    EXPECT_EQ(MapAt(registry, EffectIdColor)->GetVertexStride(), 52u);
    EXPECT_EQ(MapAt(registry, EffectIdTexture)->GetVertexStride(), 32u);
    EXPECT_EQ(MapAt(registry, EffectIdInstancedTexture)->GetVertexStride(), 32u);
    EXPECT_EQ(MapAt(registry, EffectIdDecal)->GetVertexStride(), 32u);
    EXPECT_THROW(MapAt(registry, EffectIdNone), std::out_of_range);
    EXPECT_THROW(MapAt(registry, 5), std::out_of_range);

    EffectRegistry::Initialize();
    for (const auto& [id, effect] : registry)
        EXPECT_NE(effect.get(), first[id]) << id;

    // Released effects keep their entries but hold no GPU objects: only the
    // normal map is left on the device.
    EffectRegistry::ReleaseAll();
    EXPECT_EQ(registry.size(), 4u);
    EXPECT_EQ(device->LiveObjectCount(), 2u); // the "normal" texture and its view
}

} // namespace
} // namespace mirefell::testing
