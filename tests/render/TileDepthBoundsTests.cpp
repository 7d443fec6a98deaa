// The depth bounds of the light regions on llvmpipe: a depth buffer of
// 200 x 130 (partial regions at the right and bottom) with a near block, a
// far block and sky, reduced and read back, against the bounds worked out
// by hand and against the exact values the depth buffer holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RenderFixture.h"
#include "platform/gpu/CommonStates.h"
#include "render/TileDepthBounds.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t DepthWidth = 200;
constexpr uint32_t DepthHeight = 130;

// A rectangle of pixels (left, top, right, bottom) at one depth.
const char* const DepthQuadVertexShader = R"(#version 330 core
layout(std140) uniform Quad_b0
{
    vec4 rect;  // clip-space left, top, right, bottom
    vec4 depth; // x
};
void main()
{
    float x = (gl_VertexID & 1) != 0 ? rect.z : rect.x;
    float y = (gl_VertexID & 2) != 0 ? rect.w : rect.y;
    gl_Position = vec4(x, y, depth.x, 1.0);
}
)";

const char* const NoColourPixelShader = R"(#version 330 core
void main()
{
}
)";

class TileDepthBoundsTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        ScreenWidth = DepthWidth;
        ScreenHeight = DepthHeight;
        GetCommonStates() = CreateCommonStates(Device);
        depth = MakeDepth(DepthWidth, DepthHeight);
        depthView = device->CreateDepthStencilView(depth.get());
        gpu::ShaderResourceViewDesc desc;
        desc.format = gpu::Format::R24_UNORM_X8_TYPELESS;
        depthResource = device->CreateShaderResourceView(depth.get(), &desc);
        constants = ConstantBuffer(32);
        bounds.Initialize();
        bounds.CreateWindowSizeResources();
    }

    void TearDown() override
    {
        bounds.Release();
        RenderFixture::TearDown();
    }

    void DrawDepth(int left, int top, int right, int bottom, float value)
    {
        const float data[8] = {2.0f * left / DepthWidth - 1.0f,
                               1.0f - 2.0f * top / DepthHeight,
                               2.0f * right / DepthWidth - 1.0f,
                               1.0f - 2.0f * bottom / DepthHeight,
                               value,
                               0.0f,
                               0.0f,
                               0.0f};
        WriteConstants(constants.get(), data, sizeof(data));
        static auto vertex = VertexShader(DepthQuadVertexShader);
        static auto pixel = PixelShader(NoColourPixelShader);
        gpu::DepthStencilDesc always;
        always.depthFunc = gpu::ComparisonFunc::Always;
        auto state = device->CreateDepthStencilState(always);
        context->OMSetRenderTargets(0, nullptr, depthView.get());
        context->OMSetDepthStencilState(state.get(), 0);
        context->RSSetState(GetCommonStates()->CullNone());
        context->VSSetShader(vertex.get());
        context->PSSetShader(pixel.get());
        context->IASetInputLayout(nullptr);
        context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleStrip);
        gpu::Buffer* buffer = constants.get();
        context->VSSetConstantBuffers(0, 1, &buffer);
        context->Draw(4, 0);
    }

    std::shared_ptr<gpu::Texture2D> depth;
    std::shared_ptr<gpu::DepthStencilView> depthView;
    std::shared_ptr<gpu::ShaderResourceView> depthResource;
    std::shared_ptr<gpu::Buffer> constants;
    TileDepthBounds bounds;
};

TEST_F(TileDepthBoundsTest, EachRegionGetsTheNearestAndFarthestDrawnDepthAndSkyAloneIsEmpty)
{
    SetViewport(DepthWidth, DepthHeight);
    context->ClearDepthStencilView(depthView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
    DrawDepth(0, 0, 100, 130, 0.25f);  // the left half, all rows
    DrawDepth(100, 0, 150, 70, 0.75f); // a far block beside it, the top rows
    bounds.Reduce(depthResource.get());
    const std::span<const LightGrid::DepthRange> read = bounds.Read();
    ASSERT_EQ(bounds.Columns(), 4); // 3 x 64 + 8
    ASSERT_EQ(bounds.Rows(), 3);    // 2 x 64 + 2
    ASSERT_EQ(read.size(), 12u);

    // By hand: column 0 holds only the near block; column 1 both; column 2
    // the far block in its first two rows and sky below; column 3 sky.
    const float near = 0.25f, far = 0.75f, none = -1.0f;
    const float expected[3][4][2] = {{{near, near}, {near, far}, {far, far}, {none, none}},
                                     {{near, near}, {near, far}, {far, far}, {none, none}},
                                     {{near, near}, {near, near}, {none, none}, {none, none}}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) {
            const LightGrid::DepthRange& range = read[row * 4 + column];
            if (expected[row][column][0] < 0.0f) {
                EXPECT_GT(range.nearest, range.farthest) << row << ", " << column;
                continue;
            }
            EXPECT_NEAR(range.nearest, expected[row][column][0], 1e-6f) << row << ", " << column;
            EXPECT_NEAR(range.farthest, expected[row][column][1], 1e-6f) << row << ", " << column;
        }

    // Exactly the stored values, so no shown point falls outside its range.
    const std::vector<float> stored = context->ReadDepth(depth.get());
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column) {
            float nearest = 1.0f, farthest = 0.0f;
            for (uint32_t y = row * 64; y < std::min<uint32_t>(DepthHeight, row * 64 + 64); ++y)
                for (uint32_t x = column * 64; x < std::min<uint32_t>(DepthWidth, column * 64 + 64); ++x) {
                    const float value = stored[y * DepthWidth + x];
                    nearest = std::min(nearest, value);
                    if (value < 1.0f)
                        farthest = std::max(farthest, value);
                }
            EXPECT_EQ(read[row * 4 + column].nearest, nearest) << row << ", " << column;
            EXPECT_EQ(read[row * 4 + column].farthest, farthest) << row << ", " << column;
        }
}

} // namespace
} // namespace mirefell::testing
