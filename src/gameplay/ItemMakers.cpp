#include "gameplay/ItemMakers.h"

namespace mirefell
{

namespace
{

std::unique_ptr<Artifact> MakeArtifact(ArtifactNumber number, const wchar_t* name, const char* textureId,
                                       const wchar_t* line1, const wchar_t* line2)
{
    auto artifact = std::make_unique<Artifact>();
    artifact->name = name;
    artifact->textureId = textureId;
    artifact->number = number;
    artifact->line1 = line1;
    artifact->line2 = line2;
    return artifact;
}

// Both consumables take 2 x 2 cells, larger than a bare Consumable.
std::unique_ptr<Consumable> MakeConsumable(ConsumableNumber number, const wchar_t* name, const char* textureId,
                                           const wchar_t* description)
{
    auto consumable = std::make_unique<Consumable>();
    consumable->name = name;
    consumable->textureId = textureId;
    consumable->number = number;
    consumable->description = description;
    consumable->width = 2;
    consumable->height = 2;
    return consumable;
}

} // namespace

std::unique_ptr<Artifact> MakeArtifactBoots()
{
    return MakeArtifact(ArtifactNumber::Boots, L"\"Killer\" Anti-Grav Boots", "item_boots", L"You can now jump",
                        L"Land on something living, preferably");
}

std::unique_ptr<Artifact> MakeArtifactNightmare()
{
    return MakeArtifact(ArtifactNumber::Nightmare, L"Nightmare Contraption", "item_nightmare",
                        L"Your damage is doubled", L"You also lose health every second");
}

std::unique_ptr<Artifact> MakeArtifactBloodlust()
{
    return MakeArtifact(ArtifactNumber::Bloodlust, L"Bloodlust Goggles", "item_bloodlust",
                        L"You steal life with each hit", L"You can no longer use medkits");
}

std::unique_ptr<Consumable> MakeHealthCube()
{
    return MakeConsumable(ConsumableNumber::HealthCube, L"Health Cube", "item_health_cube", L"Gain 200 health");
}

std::unique_ptr<Consumable> MakeBreastplate()
{
    return MakeConsumable(ConsumableNumber::Breastplate, L"Breastplate", "item_breastplate", L"Gain 100 armor");
}

} // namespace mirefell
