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
#include "render/LightConstants.h"
#include "render/MeshPrimitives.h"
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

    auto set = std::make_unique<ShaderSet>();
    const std::vector<uint8_t> vertexBytes = ReadData(L"shaders/PointLightVertexShader.glsl");
    set->vertexShader = Device->CreateVertexShader(vertexBytes.data(), vertexBytes.size());
    set->pixelShader = LoadPixelShader(L"shaders/PointLightPixelShader.glsl");
    const gpu::InputElement position{"SV_Position", 0, gpu::Format::R32G32B32_FLOAT, 0, 0, false, 0};
    set->inputLayout = Device->CreateInputLayout(&position, 1, vertexBytes.data(), vertexBytes.size());
    set->vertexConstants = CreateDynamicConstants(LightConstantBytes);
    set->pixelConstants = CreateDynamicConstants(LightConstantBytes);
    set->fixedRadiusPixelShader = LoadPixelShader(L"shaders/PointLightPixelShader.glsl", "#define FIXED_RADIUS 1\n");
    shaders = std::move(set);

    const std::vector<Vector3> sphere = BuildUnitSphereVertices();
    sphereVertexCount = sphere.size();
    sphereVertices.reset();
    gpu::BufferDesc desc;
    desc.byteWidth = static_cast<uint32_t>(sizeof(Vector3) * sphere.size());
    desc.usage = gpu::Usage::Immutable;
    desc.bindFlags = gpu::BindVertexBuffer;
    sphereVertices = Device->CreateBuffer(desc, sphere.data());
}

void PointLights::Release()
{
    frameConstants.reset();
    shaders.reset();
    sphereVertices.reset();
}

void PointLights::Shutdown()
{
    sphereVertices.reset();
    shaders.reset();
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

void PointLights::Draw(const Camera& camera)
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    context.OMSetBlendState(states.Additive(), nullptr, 0xffffffff);
    context.OMSetDepthStencilState(states.DepthNone(), 0);
    gpu::Buffer* vertexBuffer = sphereVertices.get();
    const uint32_t stride = sizeof(Vector3);
    const uint32_t offset = 0;
    context.IASetVertexBuffers(0, 1, &vertexBuffer, &stride, &offset);
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    context.VSSetShader(shaders->vertexShader.get());
    context.PSSetShader(shaders->pixelShader.get());
    context.IASetInputLayout(shaders->inputLayout.get());

    drawnCount = 0;
    for (const bool first : {true, false})
        for (const PointLight& light : lights) {
            if (drawnCount == MaxLightsPerFrame)
                return;
            if (light.enabled && (light.drawFirst != 0) == first) {
                DrawLight(camera, light);
                ++drawnCount;
            }
        }
}

void PointLights::DrawLight(const Camera& camera, const PointLight& light)
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    const Vector3 toLight = light.position - camera.position;
    context.RSSetState(toLight.Dot(toLight) > light.range * light.range ? states.CullClockwise()
                                                                        : states.CullCounterClockwise());
    PointLightVertexConstants vertex;
    PointLightPixelConstants pixel;
    WritePointLightConstants(vertex, pixel, camera, light);
    Upload(shaders->vertexConstants.get(), vertex);
    gpu::Buffer* vertexBuffer = shaders->vertexConstants.get();
    context.VSSetConstantBuffers(0, 1, &vertexBuffer);
    Upload(shaders->pixelConstants.get(), pixel);
    gpu::Buffer* pixelBuffer = shaders->pixelConstants.get();
    context.PSSetConstantBuffers(1, 1, &pixelBuffer);
    // Each kind of light runs only its own falloff (the context keeps the
    // shader bound while the kind stays the same).
    context.PSSetShader(light.useFixedRadius ? shaders->fixedRadiusPixelShader.get() : shaders->pixelShader.get());
    context.Draw(static_cast<uint32_t>(sphereVertexCount), 0);
}

} // namespace mirefell
