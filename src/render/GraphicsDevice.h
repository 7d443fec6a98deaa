// The process-wide GPU device and its immediate context. The shell stores them when it makes the device
// (Game::CreateDevice) and the window-size resources (Core::CreateWindowSizeDependentResources); every renderer part
// creates its GPU objects on `Device` and maps, binds and draws through `DeviceContext`. Both are null while no device
// exists.
#pragma once

#include <cstdint>

#include "platform/gpu/GpuTypes.h"
#include "shell/Screen.h" // ScreenWidth, ScreenHeight: the back-buffer size the shell stores

namespace mirefell
{

namespace gpu
{
class Device;
class Context;
} // namespace gpu

extern gpu::Device* Device;
extern gpu::Context* DeviceContext;
// The full-window viewport, stored at the start of every frame; passes that
// draw into an inset (the automap) bind it again afterwards.
extern gpu::Viewport FrameViewport;

} // namespace mirefell
