// EffectResources: the four GPU objects every effect owns, in the order they
// are made and the reverse of the order they go: vertex shader, pixel shader,
// input layout, constant buffer. Construction reads both shader files through
// ReadData and throws what ReadData throws, or the GPU layer's error with the
// shader file's name in front of its detail; objects made before a failure
// are dropped as the partly built object unwinds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"

namespace mirefell
{

namespace gpu
{
class Context;
class Device;
} // namespace gpu

struct EffectResources
{
    EffectResources(gpu::Device& device, const std::wstring& vertexShaderFile, const std::wstring& pixelShaderFile,
                    const gpu::InputElement* elements, uint32_t elementCount, uint32_t constantBytes);
    // Empties the four handles in the order vertex shader, pixel shader,
    // input layout, constant buffer.
    void Release();
    // Maps the constant buffer for a full rewrite.
    void* MapConstants();
    void UnmapConstants();
    void Bind(gpu::Context* context);
    bool Released() const { return !vertexShader; }

    std::shared_ptr<gpu::VertexShader> vertexShader;
    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::InputLayout> inputLayout;
    std::shared_ptr<gpu::Buffer> constantBuffer;
};

} // namespace mirefell
