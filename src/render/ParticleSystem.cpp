// ParticleSystem: the particle list, its instance lists and the two
// instanced draws.
#include "render/ParticleSystem.h"

#include <cstring>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/GraphicsDevice.h"
#include "render/MeshPrimitives.h"
#include "render/ParticleEffect.h"

namespace mirefell
{

namespace
{

constexpr uint32_t InstanceStride = sizeof(ParticleInstanceRecord);
constexpr float CubeEdgeScale = 0.5f; // the unit cube's corners are at +-1: an edge of 1

std::shared_ptr<gpu::Buffer> MakeVertexBuffer(const std::vector<Vector3>& positions)
{
    gpu::BufferDesc desc;
    desc.byteWidth = static_cast<uint32_t>(positions.size() * sizeof(VertexPosition));
    desc.usage = gpu::Usage::Immutable;
    desc.bindFlags = gpu::BindVertexBuffer;
    return Device->CreateBuffer(desc, positions.data());
}

std::shared_ptr<gpu::Buffer> MakeInstanceBuffer()
{
    gpu::BufferDesc desc;
    desc.byteWidth = ParticleSystem::InstanceBufferBytes;
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindVertexBuffer;
    desc.cpuWrite = true;
    const std::vector<uint8_t> zeros(ParticleSystem::InstanceBufferBytes, 0);
    return Device->CreateBuffer(desc, zeros.data());
}

ParticleInstanceRecord MakeRecord(const Particle& particle)
{
    const Matrix world = Matrix::CreateScale(particle.scale) * Matrix::CreateFromYawPitchRoll(particle.rotation) *
                         Matrix::CreateTranslation(particle.position);
    return {world.Transposed(), Vector4(particle.colour.r, particle.colour.g, particle.colour.b, particle.colour.a)};
}

} // namespace

ParticleSystem::ParticleSystem() : spare(ReservedParticles)
{
    cubeInstances.reserve(MaxInstancesPerShape);
    sphereInstances.reserve(MaxInstancesPerShape);
}

ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::Create()
{
    effect = std::make_unique<ParticleEffect>(Device);

    std::vector<Vector3> cube = BuildUnitCubeVertices();
    for (Vector3& position : cube)
        position *= CubeEdgeScale;
    cubeVertexBuffer = MakeVertexBuffer(cube);
    cubeVertexCount = static_cast<uint32_t>(cube.size());
    cubeInstanceBuffer = MakeInstanceBuffer();
    CreateSphereBuffers();
}

void ParticleSystem::CreateSphereBuffers()
{
    const std::vector<Vector3> sphere = BuildUnitSphereVertices();
    sphereVertexBuffer = MakeVertexBuffer(sphere);
    sphereVertexCount = static_cast<uint32_t>(sphere.size());
    sphereInstanceBuffer = MakeInstanceBuffer();
}

void ParticleSystem::Release()
{
    effect.reset();
    cubeVertexBuffer.reset();
    cubeInstanceBuffer.reset();
    sphereVertexBuffer.reset();
    sphereInstanceBuffer.reset();
}

Particle& ParticleSystem::AddParticle()
{
    if (spare.empty())
        return particles.emplace_back();
    particles.splice(particles.end(), spare, spare.begin());
    Particle& particle = particles.back();
    particle = Particle{};
    return particle;
}

void ParticleSystem::RemoveDead()
{
    for (auto it = particles.begin(); it != particles.end();) {
        const auto next = std::next(it);
        if (it->dead)
            spare.splice(spare.end(), particles, it);
        it = next;
    }
}

void ParticleSystem::Clear()
{
    spare.splice(spare.end(), particles);
}

void ParticleSystem::BuildInstances()
{
    cubeInstances.clear();
    sphereInstances.clear();
    for (const Particle& particle : particles) {
        if (!particle.visible)
            continue;
        std::vector<ParticleInstanceRecord>& list =
            particle.shape == ParticleShapeSphere ? sphereInstances : cubeInstances;
        if (list.size() < MaxInstancesPerShape)
            list.push_back(MakeRecord(particle));
    }
}

void ParticleSystem::Draw(const Camera& camera)
{
    RemoveDead();
    BuildInstances();
    if ((cubeInstances.empty() && sphereInstances.empty()) || !effect)
        return;

    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    effect->SetMatrices(Matrix::Identity(), camera.view, camera.projection);
    context.OMSetBlendState(states.Opaque(), nullptr, 0xFFFFFFFF);
    context.OMSetDepthStencilState(states.DepthDefault(), 0);
    context.RSSetState(states.CullClockwise());
    effect->Bind(&context);

    DrawShape(cubeVertexBuffer.get(), cubeInstanceBuffer.get(), cubeVertexCount, cubeInstances);
    DrawShape(sphereVertexBuffer.get(), sphereInstanceBuffer.get(), sphereVertexCount, sphereInstances);
}

void ParticleSystem::DrawShape(gpu::Buffer* vertices, gpu::Buffer* instanceBuffer, uint32_t vertexCount,
                               const std::vector<ParticleInstanceRecord>& instances)
{
    if (instances.empty())
        return;
    gpu::Context& context = *DeviceContext;
    void* mapped = context.Map(instanceBuffer, gpu::MapType::WriteDiscard);
    std::memcpy(mapped, instances.data(), instances.size() * InstanceStride);
    context.Unmap(instanceBuffer);

    gpu::Buffer* buffers[] = {vertices, instanceBuffer};
    const uint32_t strides[] = {effect->GetVertexStride(), InstanceStride};
    const uint32_t offsets[] = {0, 0};
    context.IASetVertexBuffers(0, 2, buffers, strides, offsets);
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    context.DrawInstanced(vertexCount, static_cast<uint32_t>(instances.size()), 0, 0);
}

} // namespace mirefell
