// Instance element tables of effect ids 3 and 4.
#include "render/InstanceElements.h"

#include "render/VertexTypes.h"

namespace mirefell
{

std::vector<gpu::InputElement> InstanceElements(bool withColour)
{
    std::vector<gpu::InputElement> elements(VertexPositionNormalTexture::InputElements,
                                            VertexPositionNormalTexture::InputElements +
                                                VertexPositionNormalTexture::InputElementCount);
    auto append = [&elements](const char* name, uint32_t index) {
        elements.push_back({name, index, gpu::Format::R32G32B32A32_FLOAT, 1, gpu::AppendAlignedElement, true, 1});
    };
    for (uint32_t row = 0; row < 4; ++row)
        append("WORLD", row);
    for (uint32_t row = 0; row < 4; ++row)
        append("INVERSE_WORLD", row);
    if (withColour)
        append("COLOR", 0);
    return elements;
}

} // namespace mirefell
