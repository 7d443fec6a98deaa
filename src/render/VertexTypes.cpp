// Element tables of the vertex records.
#include "render/VertexTypes.h"

namespace mirefell
{

using gpu::AppendAlignedElement;
using gpu::Format;

const gpu::InputElement VertexPositionNormalTangentColorTexture::InputElements[InputElementCount] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"NORMAL", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"TANGENT", 0, Format::R32G32B32A32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"COLOR", 0, Format::R8G8B8A8_UNORM, 0, AppendAlignedElement, false, 0},
    {"TEXCOORD", 0, Format::R32G32_FLOAT, 0, AppendAlignedElement, false, 0},
};

const gpu::InputElement VertexPositionNormalTexture::InputElements[InputElementCount] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"NORMAL", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"TEXCOORD", 0, Format::R32G32_FLOAT, 0, AppendAlignedElement, false, 0},
};

const gpu::InputElement VertexPosition::InputElements[InputElementCount] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
};

const gpu::InputElement VertexPositionColorTexture::InputElements[InputElementCount] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"COLOR", 0, Format::R32G32B32A32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"TEXCOORD", 0, Format::R32G32_FLOAT, 0, AppendAlignedElement, false, 0},
};

const gpu::InputElement VertexPositionColor::InputElements[InputElementCount] = {
    {"SV_Position", 0, Format::R32G32B32_FLOAT, 0, AppendAlignedElement, false, 0},
    {"COLOR", 0, Format::R32G32B32A32_FLOAT, 0, AppendAlignedElement, false, 0},
};

} // namespace mirefell
