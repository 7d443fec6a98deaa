// The process-wide CommonStates from which every pass takes its blend,
// depth-stencil, rasterizer and sampler states. Core makes a new one after
// the other device resources and empties the holder last on device loss.
#pragma once

#include <memory>

#include "platform/gpu/CommonStates.h"

namespace mirefell
{

// The holder, empty until the first device.
std::unique_ptr<gpu::CommonStates>& GetCommonStates();
std::unique_ptr<gpu::CommonStates> CreateCommonStates(gpu::Device* device);

} // namespace mirefell
