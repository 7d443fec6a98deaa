// Shared helpers of the world tests.
#include "MapTestData.h"

#include "support/MapJson.h"

namespace mirefell::testing
{

std::string TestMapPath()
{
    return std::string(MIREFELL_SOURCE_DIR) + "/tests/data/maps/testmap.json";
}

nlohmann::json MinimalMapDocument()
{
    using Json = nlohmann::json;
    const Json square =
        Json::array({{{"x", 0}, {"y", 0}}, {{"x", 64}, {"y", 0}}, {{"x", 64}, {"y", 64}}, {{"x", 0}, {"y", 64}}});
    const Json wall = {{"id", 1},
                       {"start", {{"x", 0}, {"y", 0}}},
                       {"end", {{"x", 0}, {"y", 64}}},
                       {"type", 0},
                       {"bottomY", 0},
                       {"topY", 64},
                       {"sectorId", 1},
                       {"texId", "wall"},
                       {"indices", {0, 1, 2, 2, 3, 0}},
                       {"vertices",
                        {{{"x", 0}, {"y", 64}, {"z", 0}},
                         {{"x", 0}, {"y", 64}, {"z", 64}},
                         {{"x", 0}, {"y", 0}, {"z", 64}},
                         {{"x", 0}, {"y", 0}, {"z", 0}}}},
                       {"bottomRightIndex", 2},
                       {"lightColor", 0xFFFFFF}};
    const Json sector = PlainSectorRecord(1, square);
    const Json entity = {{"id", 1}, {"pos", {{"x", 8}, {"y", 8}}}, {"type", "MK"}, {"y", 0}, {"rotation", 90}};
    const Json area = {{"name", "room"}, {"id", 1}, {"start", {{"x", 0}, {"y", 0}}}, {"end", {{"x", 32}, {"y", 32}}}};
    const Json light = {{"id", 1}, {"yOffset", 48}, {"pos", {{"x", 32}, {"y", 32}}}, {"lightColor", 0xFFE0C0}};
    return {{"name", "minimal"},
            {"playerStartPosition", {{"x", 16}, {"y", 16}}},
            {"sectorLinks", {1, 1}},
            {"layerObjects",
             {{"0", Json::array({wall})},
              {"2", Json::array({sector})},
              {"3", Json::array({entity})},
              {"4", Json::array({area})},
              {"5", Json::array({light})}}}};
}

} // namespace mirefell::testing
