// RenderFixture: a GPU test whose device is also the renderer's process-wide
// Device and DeviceContext, run from the run folder (shaders and generated
// textures at hand). It empties the renderer's singletons before the device
// goes, so no test leaks GPU objects into the next.
#pragma once

#include <filesystem>
#include <string>

#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/TextureRegistry.h"
#include "support/GpuTest.h"

namespace mirefell::testing
{

class RenderFixture : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        Adopt();
        ScreenWidth = Width;
        ScreenHeight = Height;
    }

    void TearDown() override
    {
        DropRendererState();
        Device = nullptr;
        DeviceContext = nullptr;
        GpuTest::TearDown();
    }

    // Makes the fixture's device the process-wide one.
    void Adopt()
    {
        Device = device.get();
        DeviceContext = context;
    }

    static void DropRendererState()
    {
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::GetInstance().clear();
        GetCommonStates().reset();
    }
};

// Switches the working folder for a scope.
class WorkingFolder
{
public:
    explicit WorkingFolder(const std::filesystem::path& folder) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(previous); }

private:
    std::filesystem::path previous;
};

} // namespace mirefell::testing
