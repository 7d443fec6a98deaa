// The common-states holder.
#include "render/CommonStatesHolder.h"

namespace mirefell
{

std::unique_ptr<gpu::CommonStates>& GetCommonStates()
{
    static std::unique_ptr<gpu::CommonStates> holder;
    return holder;
}

std::unique_ptr<gpu::CommonStates> CreateCommonStates(gpu::Device* device)
{
    return std::make_unique<gpu::CommonStates>(*device);
}

} // namespace mirefell
