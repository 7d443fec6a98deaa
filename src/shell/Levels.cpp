#include "shell/Levels.h"

#include "platform/Lookup.h"

namespace mirefell
{

std::map<std::string, LevelInfo>& Levels::ById()
{
    static std::map<std::string, LevelInfo> levels;
    return levels;
}

std::vector<LevelInfo>& Levels::Ordered()
{
    static std::vector<LevelInfo> levels;
    return levels;
}

void Levels::Build()
{
    // Both containers are filled together, so each holds every level once.
    const LevelInfo table[] = {
        {"pentagram", L"Pentagram", "descent", 1, "music_track1"},
        {"descent", L"Descent", "mouth", 2, "music_track2"},
        {"mouth", L"Mouth", "", 3, "music_track3"},
    };
    ById().clear();
    Ordered().clear();
    for (const LevelInfo& level : table) {
        ById().emplace(level.id, level);
        Ordered().push_back(level);
    }
}

const LevelInfo& Levels::GetLevel(const std::string& id)
{
    if (ById().empty())
        Build();
    return MapAt(ById(), id);
}

const std::vector<LevelInfo>& Levels::GetAll()
{
    if (Ordered().empty())
        Build();
    return Ordered();
}

bool Levels::Exists(const std::string& id)
{
    if (ById().empty())
        Build();
    return ById().count(id) != 0;
}

} // namespace mirefell
