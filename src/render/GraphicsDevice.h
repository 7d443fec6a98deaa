// The process-wide GPU device, its immediate context and the back-buffer
// size. The shell stores them when it makes the device (Game::CreateDevice)
// and the window-size resources (Core::CreateWindowSizeDependentResources);
// every renderer part creates its GPU objects on `Device` and maps, binds and
// draws through `DeviceContext`. Both are null while no device exists.
#pragma once

#include <cstdint>

namespace mirefell
{

namespace gpu
{
class Device;
class Context;
} // namespace gpu

extern gpu::Device* Device;
extern gpu::Context* DeviceContext;
// Back-buffer size in pixels; the shell raises a side below 1 to 1.
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;

} // namespace mirefell
