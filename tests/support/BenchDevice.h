// BenchDevice: what a GPU benchmark starts from: the run folder (the parent
// of the bench/ folder the executable sits in) as the working folder, so
// shaders and assets are found; a device on the process's headless context,
// made the renderer's process-wide Device and DeviceContext until the object
// goes; and one render target of the given size, bound with a full viewport.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "render/GraphicsDevice.h"

namespace mirefell::testing
{

struct BenchDevice
{
    BenchDevice(uint32_t width, uint32_t height, gpu::Format format)
    {
        std::filesystem::current_path(std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path());
        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>();
        Device = device.get();
        DeviceContext = &device->GetImmediateContext();
        gpu::Texture2DDesc desc;
        desc.width = width;
        desc.height = height;
        desc.format = format;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        target = device->CreateTexture2D(desc);
        view = device->CreateRenderTargetView(target.get());
        gpu::RenderTargetView* views[] = {view.get()};
        DeviceContext->OMSetRenderTargets(1, views, nullptr);
        FrameViewport = gpu::Viewport{0.0f, 0.0f, float(width), float(height), 0.0f, 1.0f};
        DeviceContext->RSSetViewports(1, &FrameViewport);
    }
    ~BenchDevice()
    {
        Device = nullptr;
        DeviceContext = nullptr;
    }
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    std::unique_ptr<gpu::Device> device;
    std::shared_ptr<gpu::Texture2D> target;
    std::shared_ptr<gpu::RenderTargetView> view;
};

} // namespace mirefell::testing
