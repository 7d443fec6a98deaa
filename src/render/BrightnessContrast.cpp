// BrightnessContrast: the frame copy and its quad.
#include "render/BrightnessContrast.h"

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"
#include "render/PassResources.h"
#include "render/SpriteBatch.h"

namespace mirefell
{

BrightnessContrast::BrightnessContrast() = default;
BrightnessContrast::~BrightnessContrast() = default;

void BrightnessContrast::LoadShader()
{
    spriteBatch = std::make_unique<SpriteBatch>(Device, DeviceContext);
    pixelShader.reset();
    pixelShader = LoadPixelShader(L"shaders/BrightnessContrastPixelShader.glsl");
    defaultsShader.reset();
    defaultsShader = LoadPixelShader(L"shaders/BrightnessContrastPixelShader.glsl", "#define AT_DEFAULTS 1\n");
    constantBuffer.reset();
    constantBuffer = CreateDynamicConstants(ConstantBytes);
}

void BrightnessContrast::CreateTarget(gpu::Texture2D* backBuffer_)
{
    backBuffer = backBuffer_;
    frameCopyView.reset();
    frameCopy.reset();
    frameCopy = CreateFrameCopy();
    frameCopyView = Device->CreateShaderResourceView(frameCopy.get());
    fullRectangle = {0, 0, ScreenWidth, ScreenHeight};
}

void BrightnessContrast::Release()
{
    frameCopyView.reset();
    frameCopy.reset();
    spriteBatch.reset();
    pixelShader.reset();
    defaultsShader.reset();
    constantBuffer.reset();
    backBuffer = nullptr;
}

void BrightnessContrast::Apply(float brightness, float contrast)
{
    gpu::Context& context = *DeviceContext;
    auto* values = static_cast<float*>(context.Map(constantBuffer.get(), gpu::MapType::WriteDiscard));
    values[0] = brightness;
    values[1] = contrast;
    context.Unmap(constantBuffer.get());
    gpu::Buffer* buffer = constantBuffer.get();
    context.PSSetConstantBuffers(0, 1, &buffer);

    context.CopyResource(frameCopy.get(), backBuffer);
    ++copiesMade;
    // At the defaults every level stays as it is: the variant that only
    // reads the copy back gives that without the general formula's powers.
    gpu::PixelShader* shader = brightness == 0.0f && contrast == 1.0f ? defaultsShader.get() : pixelShader.get();
    spriteBatch->Begin(SpriteSortMode::Immediate, nullptr, nullptr, nullptr, nullptr,
                       [shader] { DeviceContext->PSSetShader(shader); });
    spriteBatch->Draw(frameCopyView.get(), fullRectangle, Color(1.0f, 1.0f, 1.0f, 1.0f));
    spriteBatch->End();
}

} // namespace mirefell
