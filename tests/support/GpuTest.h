// GpuTest: a fixture with a fresh gpu::Device on the process's headless
// OpenGL context (llvmpipe under SDL's offscreen driver), small render
// targets and pixel read-back helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/GpuTypes.h"
#include "platform/gpu/HeadlessGpu.h"

namespace mirefell::testing
{

struct Rgba8
{
    int r = 0, g = 0, b = 0, a = 0;
};

class GpuTest : public ::testing::Test
{
protected:
    static constexpr uint32_t Width = 64;
    static constexpr uint32_t Height = 48;

    void SetUp() override { StartDevice({}); }
    void TearDown() override { device.reset(); }

    void StartDevice(const gpu::DeviceOptions& options);

    // A render target that can also be read by shaders.
    std::shared_ptr<gpu::Texture2D> MakeTarget(gpu::Format format, uint32_t width = Width, uint32_t height = Height);
    std::shared_ptr<gpu::Texture2D> MakeDepth(uint32_t width = Width, uint32_t height = Height);
    // A full-target viewport.
    void SetViewport(uint32_t width = Width, uint32_t height = Height);

    std::shared_ptr<gpu::VertexShader> VertexShader(const std::string& source);
    std::shared_ptr<gpu::PixelShader> PixelShader(const std::string& source);
    std::shared_ptr<gpu::InputLayout> Layout(const std::vector<gpu::InputElement>& elements,
                                             const std::string& vertexSource);
    std::shared_ptr<gpu::Buffer> VertexBuffer(const void* data, uint32_t bytes);
    std::shared_ptr<gpu::Buffer> ConstantBuffer(uint32_t bytes);
    void WriteConstants(gpu::Buffer* buffer, const void* data, size_t bytes);
    // Binds a triangle-list pipeline of the given shaders and input layout.
    void UseShaders(gpu::VertexShader* vs, gpu::PixelShader* ps, gpu::InputLayout* layout);

    Rgba8 PixelAt(gpu::Texture2D* texture, uint32_t x, uint32_t y);

    std::unique_ptr<gpu::Device> device;
    gpu::Context* context = nullptr;
};

// Position-only vertex shader and a pixel shader that writes one constant
// colour from a pixel-stage block at slot 0; enough for most state tests.
extern const char* const PositionVertexShader;
extern const char* const ConstantColourPixelShader;

} // namespace mirefell::testing
