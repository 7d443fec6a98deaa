// LevelDevice: the GPU of a test that draws a level through Core: a device
// on the process's headless context made the renderer's process-wide one,
// and a swap chain the test sizes. Release, called after the Core is gone,
// empties every renderer singleton the frame filled (lights, meshes,
// textures, effects, common states) and drops the device, so no GPU object
// leaks into the next test. Header-only, for the app's tests.
#pragma once

#include <memory>

#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "platform/gpu/SwapChain.h"
#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/MeshRegistry.h"
#include "render/PointLights.h"
#include "render/TextureRegistry.h"

namespace mirefell::testing
{

struct LevelDevice
{
    void Create()
    {
        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>();
        Device = device.get();
        DeviceContext = &device->GetImmediateContext();
    }

    void Release()
    {
        PointLights::GetInstance().Clear();
        PointLights::GetInstance().Release();
        MeshRegistry::GetInstance().Clear();
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::GetInstance().clear();
        GetCommonStates().reset();
        swapChain.reset();
        Device = nullptr;
        DeviceContext = nullptr;
        device.reset();
    }

    std::unique_ptr<gpu::Device> device;
    std::unique_ptr<gpu::SwapChain> swapChain;
};

} // namespace mirefell::testing
