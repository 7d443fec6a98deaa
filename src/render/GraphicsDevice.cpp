// Storage of the process-wide device values.
#include "render/GraphicsDevice.h"

namespace mirefell
{

gpu::Device* Device = nullptr;
gpu::Context* DeviceContext = nullptr;

} // namespace mirefell
