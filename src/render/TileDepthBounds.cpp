// TileDepthBounds: the reducing passes and their read-back.
#include "render/TileDepthBounds.h"

#include <algorithm>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/CommonStatesHolder.h"
#include "render/GraphicsDevice.h"
#include "render/PassResources.h"
#include "render/SpriteBatch.h"

namespace mirefell
{

TileDepthBounds::TileDepthBounds() = default;

TileDepthBounds::~TileDepthBounds() = default;

void TileDepthBounds::Initialize()
{
    firstShader = LoadPixelShader(L"shaders/DepthBoundsPixelShader.glsl");
    reduceShader = LoadPixelShader(L"shaders/DepthBoundsPixelShader.glsl", "#define REDUCE 1\n");
    spriteBatch = std::make_unique<SpriteBatch>(Device, DeviceContext);
}

TileDepthBounds::Target TileDepthBounds::MakeTarget(int32_t width, int32_t height)
{
    gpu::Texture2DDesc desc;
    desc.width = static_cast<uint32_t>(width);
    desc.height = static_cast<uint32_t>(height);
    desc.format = gpu::Format::R32G32_FLOAT;
    desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
    Target made;
    made.texture = Device->CreateTexture2D(desc);
    made.target = Device->CreateRenderTargetView(made.texture.get());
    made.view = Device->CreateShaderResourceView(made.texture.get());
    return made;
}

void TileDepthBounds::CreateWindowSizeResources()
{
    const int32_t width = std::max(ScreenWidth, 1);
    const int32_t height = std::max(ScreenHeight, 1);
    blockColumns = (width + Step - 1) / Step;
    blockRows = (height + Step - 1) / Step;
    columns = (blockColumns + Step - 1) / Step;
    rows = (blockRows + Step - 1) / Step;
    blocks = MakeTarget(blockColumns, blockRows);
    regions = MakeTarget(columns, rows);
    readBack.assign(static_cast<size_t>(columns * rows) * 2, 0.0f);
    bounds.assign(static_cast<size_t>(columns * rows), {});
}

void TileDepthBounds::Release()
{
    spriteBatch.reset();
    firstShader.reset();
    reduceShader.reset();
    blocks = {};
    regions = {};
}

void TileDepthBounds::Reduce(gpu::ShaderResourceView* depth)
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    auto pass = [&](const Target& into, gpu::ShaderResourceView* from, int32_t width, int32_t height,
                    gpu::PixelShader* shader) {
        gpu::RenderTargetView* target = into.target.get();
        context.OMSetRenderTargets(1, &target, nullptr);
        spriteBatch->Begin(SpriteSortMode::Immediate, states.Opaque(), states.PointClamp(), nullptr, nullptr,
                           [shader] { DeviceContext->PSSetShader(shader); });
        spriteBatch->Draw(from, gpu::Rect{0, 0, width, height}, SpriteBatch::White);
        spriteBatch->End();
    };
    pass(blocks, depth, blockColumns, blockRows, firstShader.get());
    pass(regions, blocks.view.get(), columns, rows, reduceShader.get());
    gpu::ShaderResourceView* none = nullptr;
    context.PSSetShaderResources(0, 1, &none);
}

std::span<const LightGrid::DepthRange> TileDepthBounds::Read()
{
    if (!regions.texture)
        return {};
    DeviceContext->ReadRedGreen(regions.texture.get(), readBack);
    for (size_t region = 0; region < bounds.size(); ++region)
        bounds[region] = {readBack[region * 2], readBack[region * 2 + 1]};
    return bounds;
}

} // namespace mirefell
