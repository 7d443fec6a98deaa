// Private to the GPU layer's .cpp files: what a Device shares with every
// object it made. Objects reach the program and framebuffer caches through it
// so that destroying a shader or a texture also drops the linked programs and
// framebuffers that used it. `alive` turns false when the device goes; GL
// names held after that are not deleted (their context is gone or reset).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace mirefell::gpu::detail
{

// A linked vertex + pixel shader pair and how its samplers map to slots.
struct LinkedProgram
{
    uint64_t vertexShader = 0;
    uint64_t pixelShader = 0;
    uint32_t program = 0;
    // For each texture unit the pixel shader samples, the sampler slot whose
    // state goes on that unit.
    struct SampledUnit
    {
        uint32_t unit = 0;
        uint32_t samplerSlot = 0;
    };
    std::vector<SampledUnit> sampledUnits;
};

// A framebuffer object for one combination of colour targets and depth.
struct CachedFramebuffer
{
    std::array<uint64_t, 9> attachments{};  // eight colour texture ids, then depth
    std::array<uint32_t, 9> subresources{}; // mip + slice * mipLevels of each
    uint32_t framebuffer = 0;
};

// The texture unit that uploads and mip generation use, above the units
// shaders sample, so they never disturb a pass's bindings.
inline constexpr uint32_t ScratchTextureUnit = 16;

struct DeviceState
{
    bool alive = true;
    uint64_t nextId = 1;
    uint64_t liveObjects = 0;
    std::vector<LinkedProgram> programs;
    std::vector<CachedFramebuffer> framebuffers;

    // Called by a dying shader or texture.
    void ForgetShader(uint64_t id);
    void ForgetTexture(uint64_t id);
};

} // namespace mirefell::gpu::detail
