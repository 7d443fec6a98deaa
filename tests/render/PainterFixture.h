// PainterFixture: a render fixture with a screen-sized RGBA8 target bound
// with its viewport, ScreenWidth and ScreenHeight set to it, the "white"
// texture and the shared CommonStates loaded, and an initialised Painter
// with its layout computed. Pixels are read once per Capture.
#pragma once

#include <memory>
#include <vector>

#include "RenderFixture.h"
#include "render/Painter.h"
#include "support/Screenshot.h"

namespace mirefell::testing
{

class PainterFixture : public RenderFixture
{
protected:
    // Called from SetUp; a test can start over at another size.
    void StartScreen(uint32_t width, uint32_t height, const Color& background = Color(0.0f, 0.0f, 0.0f, 1.0f))
    {
        screenWidth = width;
        screenHeight = height;
        target = MakeTarget(gpu::Format::R8G8B8A8_UNORM, width, height);
        view = device->CreateRenderTargetView(target.get());
        gpu::RenderTargetView* views[] = {view.get()};
        context->OMSetRenderTargets(1, views, nullptr);
        SetViewport(width, height);
        const float clear[4] = {background.r, background.g, background.b, background.a};
        context->ClearRenderTargetView(view.get(), clear);
        ScreenWidth = static_cast<int32_t>(width);
        ScreenHeight = static_cast<int32_t>(height);
        if (!painter) {
            TextureRegistry::GetInstance().Load(L"assets/textures/white.png", "white", false);
            GetCommonStates() = CreateCommonStates(device.get());
            painter = std::make_unique<Painter>();
            painter->Initialize();
        }
        painter->UpdateScales();
    }

    void SetUp() override
    {
        RenderFixture::SetUp();
        StartScreen(320, 180);
    }

    void TearDown() override
    {
        painter.reset();
        RenderFixture::TearDown();
    }

    // Reads the target back (after drawing, before sampling pixels).
    void Capture() { pixels = context->ReadPixelsRGBA8(target.get()); }
    Rgba8 At(int x, int y) const
    {
        const size_t at = (static_cast<size_t>(y) * screenWidth + x) * 4;
        return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
    }
    void Save(const std::string& name) { SaveScreenshot(*context, target.get(), name); }

    uint32_t screenWidth = 0;
    uint32_t screenHeight = 0;
    std::shared_ptr<gpu::Texture2D> target;
    std::shared_ptr<gpu::RenderTargetView> view;
    std::unique_ptr<Painter> painter;
    std::vector<uint8_t> pixels;
};

} // namespace mirefell::testing
