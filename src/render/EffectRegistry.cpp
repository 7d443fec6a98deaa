// EffectRegistry: the four registered effects.
#include "render/EffectRegistry.h"

#include "render/ColorEffect.h"
#include "render/DecalEffect.h"
#include "render/GraphicsDevice.h"
#include "render/InstancedTextureEffect.h"
#include "render/TextureEffect.h"

namespace mirefell
{

EffectRegistry::Map& EffectRegistry::GetInstance()
{
    static Map registry;
    return registry;
}

void EffectRegistry::Initialize()
{
    Map& registry = GetInstance();
    // Each effect is built before it displaces the old one.
    registry[EffectIdColor] = std::make_unique<ColorEffect>(Device);
    registry[EffectIdTexture] = std::make_unique<TextureEffect>(Device);
    registry[EffectIdInstancedTexture] = std::make_unique<InstancedTextureEffect>(Device);
    registry[EffectIdDecal] = std::make_unique<DecalEffect>(Device);
}

void EffectRegistry::ReleaseAll()
{
    for (auto& [id, effect] : GetInstance())
        effect->Release();
}

} // namespace mirefell
