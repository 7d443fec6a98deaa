// Storage of the process-wide device values.
#include "render/GraphicsDevice.h"

namespace mirefell
{

gpu::Device* Device = nullptr;
gpu::Context* DeviceContext = nullptr;
int32_t ScreenWidth = 1;
int32_t ScreenHeight = 1;

} // namespace mirefell
