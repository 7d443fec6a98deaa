// The texture table. Names map to files by group rules: most are
// "assets/textures/<name>.png"; inventory icons drop their "item_" prefix
// under "items/", social buttons their "sm_" prefix under "social-media/".
#include "render/TextureTable.h"

#include <stdexcept>
#include <string_view>
#include <vector>

namespace mirefell
{

namespace
{

std::wstring Widen(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

std::array<TextureTableRow, TextureTableSize> BuildTable()
{
    using Mode = TextureLoadMode;
    std::vector<TextureTableRow> rows;
    auto group = [&rows](std::initializer_list<const char*> names, Mode mode, std::string_view folder,
                         std::string_view dropPrefix) {
        for (const char* name : names) {
            std::string_view stem = name;
            if (!dropPrefix.empty() && stem.substr(0, dropPrefix.size()) == dropPrefix)
                stem.remove_prefix(dropPrefix.size());
            rows.push_back({name, L"assets/textures/" + Widen(folder) + Widen(stem) + L".png", mode});
        }
    };
    group({"cyan_wall", "blue_metal", "dark_blue_metal", "white", "wall", "metal", "red", "red_metal", "blue", "cyan",
           "brown", "why", "strafe_run"},
          Mode::MippedSrgb, "", "");
    rows.push_back({"normal", L"assets/textures/normalmaps/normal_128.png", Mode::NormalMap});
    group({"exit", "under_construction", "switch_on", "switch_off", "blood"}, Mode::MippedSrgb, "", "");
    group({"ammo", "medkit", "pistol", "double_shotgun", "hyper_blaster", "rocket_launcher", "hammer", "nom", "eye",
           "redkey", "bluekey", "health_cube", "boots", "armor_shard", "armor", "nightmare", "bloodlust", "win_thing"},
          Mode::SingleSrgb, "", "");
    rows.push_back({"skybox", L"assets/textures/skybox.dds", Mode::DdsSrgb});
    group({"item_placeholder"}, Mode::SingleSrgb, "items/", "");
    group({"item_double_shotgun", "item_hyper_blaster", "item_rocket_launcher", "item_pistol", "item_hammer",
           "item_ammo_bullets", "item_boots", "item_red_key", "item_blue_key", "item_health_cube", "item_breastplate",
           "item_nightmare", "item_bloodlust"},
          Mode::SingleSrgb, "items/", "item_");
    group({"crosshair", "hud_health", "hud_armor", "hud_ammo", "hud_permadeath", "mouse", "random_powerup", "inventory",
           "checked", "unchecked"},
          Mode::SingleSrgb, "widgets/", "");
    group({"subscribe", "steam"}, Mode::SingleSrgb, "social-media/", "");
    group({"sm_twitter", "sm_facebook", "sm_tumblr", "sm_youtube"}, Mode::SingleSrgb, "social-media/", "sm_");
    group({"title"}, Mode::SingleSrgb, "", "");

    std::array<TextureTableRow, TextureTableSize> table;
    if (rows.size() != TextureTableSize)
        throw std::logic_error("texture table has the wrong number of rows");
    for (size_t i = 0; i < TextureTableSize; ++i)
        table[i] = rows[i];
    return table;
}

} // namespace

const std::array<TextureTableRow, TextureTableSize>& GetTextureTable()
{
    static const std::array<TextureTableRow, TextureTableSize> table = BuildTable();
    return table;
}

} // namespace mirefell
