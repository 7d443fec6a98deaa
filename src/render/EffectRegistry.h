// EffectRegistry: the process-wide table from a Mesh's effect id to the one
// effect that draws it, filled when the device is made (after the textures:
// the colour effect needs "normal"), emptied of GPU objects on device loss and
// refilled with new effects at the next device. Meshes look their effect up
// again in Mesh::Update after every device creation.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "render/IEffect.h"

namespace mirefell
{

// 0: group node, never drawn; 1 ColorEffect; 2 TextureEffect;
// 3 InstancedTextureEffect; 4 DecalEffect (3 and 4 draw instanced).
using EffectId = int32_t;
inline constexpr EffectId EffectIdNone = 0;
inline constexpr EffectId EffectIdColor = 1;
inline constexpr EffectId EffectIdTexture = 2;
inline constexpr EffectId EffectIdInstancedTexture = 3;
inline constexpr EffectId EffectIdDecal = 4;

class EffectRegistry
{
public:
    using Map = std::map<EffectId, std::unique_ptr<IEffect>>;

    // The table; users take an entry with MapAt (an unknown id throws
    // "invalid map<K, T> key") and keep the raw pointer until the next
    // device creation.
    static Map& GetInstance();
    // Makes effects 1 to 4 on the process-wide Device, in id order, each
    // replacing the one stored under its id. An exception leaves the lower
    // ids replaced and the failing and higher ids as they were.
    static void Initialize();
    // Release on every registered effect, in id order; the entries stay.
    static void ReleaseAll();
};

} // namespace mirefell
