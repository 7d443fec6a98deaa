// PointLights: the list of lights and the light pass.
#include "render/PointLights.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "platform/Random.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/GraphicsDevice.h"
#include "render/PassResources.h"
#include "render/ReadData.h"
#include "shell/Config.h"

namespace mirefell
{

namespace
{

template <class T> void Upload(gpu::Buffer* buffer, const T& record)
{
    std::memcpy(DeviceContext->Map(buffer, gpu::MapType::WriteDiscard), &record, sizeof(T));
    DeviceContext->Unmap(buffer);
}

} // namespace

PointLights& PointLights::GetInstance()
{
    static PointLights instance;
    return instance;
}

PointLights::~PointLights()
{
    Shutdown();
}

PointLight& PointLights::Add()
{
    if (spare.empty())
        return lights.emplace_back();
    // Splicing moves the node itself: no allocation, and the records already
    // in the list keep their addresses. The last erased goes first.
    lights.splice(lights.end(), spare, std::prev(spare.end()));
    lights.back() = PointLight{};
    return lights.back();
}

void PointLights::Clear()
{
    spare.splice(spare.end(), lights);
}

void PointLights::Reserve(size_t count)
{
    while (spare.size() < count)
        spare.emplace_back();
}

void PointLights::Update()
{
    for (auto it = lights.begin(); it != lights.end();) {
        auto next = std::next(it);
        if (it->remove != 0)
            spare.splice(spare.end(), lights, it);
        it = next;
    }
    // The phase only turns the sky, a whole turn about every axis is the
    // identity, so wrapping changes nothing on screen.
    lightPhase = std::fmod(lightPhase + PhaseStep, TwoPi);
}

void PointLights::Initialize()
{
    lowFeatureLevel = Device->GetFeatureLevel() < gpu::FeatureLevel::Level11_0;
    frameConstants.reset();
    frameConstants = CreateDynamicConstants(FrameConstantBytes);
    const std::vector<uint8_t> vertexBytes = ReadData(L"shaders/PointLightVertexShader.glsl");
    regionShader.reset();
    regionShader = Device->CreateVertexShader(vertexBytes.data(), vertexBytes.size());
    regionConstants.reset();
    regionConstants = CreateDynamicConstants(sizeof(RegionLightConstants));
}

void PointLights::Release()
{
    frameConstants.reset();
    regionShader.reset();
    regionConstants.reset();
}

void PointLights::Shutdown()
{
    regionConstants.reset();
    regionShader.reset();
    lights.clear();
    spare.clear();
    frameConstants.reset();
}

void PointLights::PrepareFrame(const Camera& camera, const Color& ambient, float noiseIntensity, bool inGame)
{
    FrameInputs inputs;
    inputs.ambient = ambient;
    inputs.noiseIntensity = noiseIntensity;
    inputs.ssaoEnabled = Config::GetInstance().settings.ssao >= 0 && !lowFeatureLevel && occlusionAvailable;
    occlusionShown = inputs.ssaoEnabled;
    inputs.inGame = inGame;
    inputs.noise = RandUnit();
    inputs.lightPhase = lightPhase;
    inputs.screenWidth = static_cast<float>(ScreenWidth);
    inputs.screenHeight = static_cast<float>(ScreenHeight);
    FrameConstants record;
    WriteFrameConstants(record, camera, inputs);
    Upload(frameConstants.get(), record);
    gpu::Buffer* buffer = frameConstants.get();
    DeviceContext->PSSetConstantBuffers(0, 1, &buffer);
}

void PointLights::ChooseLights()
{
    shadedCount = 0;
    for (const bool first : {true, false})
        for (const PointLight& light : lights) {
            if (shadedCount == MaxLightsPerFrame)
                return;
            if (light.enabled && (light.drawFirst != 0) == first) {
                WriteShadedLight(shaded[shadedCount], light);
                spheres[shadedCount] = {light.position, light.range};
                ++shadedCount;
            }
        }
}

void PointLights::Draw(const Camera& camera, std::span<const LightGrid::DepthRange> depths)
{
    ChooseLights();
    // The lists are made again only when the window size changes.
    if (grid.Width() != std::max(ScreenWidth, 1) || grid.Height() != std::max(ScreenHeight, 1))
        grid.Resize(ScreenWidth, ScreenHeight);
    if (depths.size() != grid.RegionCount())
        depths = {};
    grid.Build(camera.view, camera.projection, camera.nearPlane, {spheres.data(), shadedCount}, depths);

    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    context.OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
    context.RSSetState(states.CullNone());
    context.IASetInputLayout(nullptr);
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleStrip);
    context.VSSetShader(regionShader.get());
    gpu::Buffer* frame = frameConstants.get();
    context.PSSetConstantBuffers(0, 1, &frame);
    gpu::Buffer* region = regionConstants.get();
    context.VSSetConstantBuffers(0, 1, &region);
    context.PSSetConstantBuffers(1, 1, &region);
    drawnRegions = 0;
    for (uint32_t index = 0; index < grid.RegionCount(); ++index)
        if (depths.empty() || depths[index].nearest <= depths[index].farthest) {
            DrawRegion(index);
            ++drawnRegions;
        }
}

void PointLights::DrawRegion(uint32_t region)
{
    DrawRect(grid.RegionRect(region), grid.RegionLights(region));
}

void PointLights::DrawWindowUnlit()
{
    DrawRect(gpu::Rect{0, 0, std::max(ScreenWidth, 1), std::max(ScreenHeight, 1)}, {});
}

void PointLights::DrawRect(const gpu::Rect& rect, std::span<const uint8_t> list)
{
    gpu::Context& context = *DeviceContext;
    auto& constants =
        *static_cast<RegionLightConstants*>(context.Map(regionConstants.get(), gpu::MapType::WriteDiscard));
    const float width = static_cast<float>(std::max(ScreenWidth, 1));
    const float height = static_cast<float>(std::max(ScreenHeight, 1));
    constants.rect[0] = 2.0f * static_cast<float>(rect.left) / width - 1.0f;
    constants.rect[1] = 1.0f - 2.0f * static_cast<float>(rect.top) / height;
    constants.rect[2] = 2.0f * static_cast<float>(rect.right) / width - 1.0f;
    constants.rect[3] = 1.0f - 2.0f * static_cast<float>(rect.bottom) / height;
    constants.count = static_cast<int32_t>(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        constants.lights[i] = shaded[list[i]];
    context.Unmap(regionConstants.get());
    context.Draw(4, 0);
}

} // namespace mirefell
