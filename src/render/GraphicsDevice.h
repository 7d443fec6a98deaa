// The process-wide GPU device, its immediate context and the back-buffer
// size. The shell stores them when it makes the device (Game::CreateDevice)
// and the window-size resources (Core::CreateWindowSizeDependentResources);
// every renderer part creates its GPU objects on `Device` and maps, binds and
// draws through `DeviceContext`. Both are null while no device exists.
#pragma once

#include <cstdint>

#include "app/Screen.h"

namespace mirefell
{

namespace gpu
{
class Device;
class Context;
} // namespace gpu

extern gpu::Device* Device;
extern gpu::Context* DeviceContext;
// The back-buffer size, ScreenWidth and ScreenHeight, lives in app/Screen.h.

} // namespace mirefell
