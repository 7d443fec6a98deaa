// Mesh: scene-graph walk, GPU buffers and the instanced draw.
#include "render/Mesh.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/Lookup.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/Camera.h"
#include "render/Frustum.h"
#include "render/GraphicsDevice.h"
#include "render/IEffect.h"
#include "render/MeshVertices.h"
#include "render/TextureRegistry.h"

namespace mirefell
{

namespace
{

constexpr uint32_t InstanceStride = sizeof(InstanceRecord);

Matrix ScaleRotateTranslate(const Vector3& scale, const Vector3& rotation, const Vector3& position)
{
    return Matrix::CreateScale(scale) * Matrix::CreateFromYawPitchRoll(rotation) * Matrix::CreateTranslation(position);
}

} // namespace

Mesh::Mesh(EffectId effectId_, MeshVertexFormat vertexFormat_) : vertexFormat(vertexFormat_), effectId(effectId_)
{
    UpdateTransform();
}

Mesh::~Mesh() = default;

void Mesh::UpdateTransform()
{
    world = ScaleRotateTranslate(scale, rotation, position);
}

Mesh* Mesh::AddChild(std::unique_ptr<Mesh> child)
{
    child->parent = this;
    children.push_back(std::move(child));
    return children.back().get();
}

void Mesh::RemoveChild(Mesh* child)
{
    const auto found =
        std::find_if(children.begin(), children.end(), [child](const auto& owned) { return owned.get() == child; });
    if (found != children.end())
        children.erase(found);
}

void Mesh::Update()
{
    if (effectId != EffectIdNone) {
        effect = MapAt(EffectRegistry::GetInstance(), effectId).get();
        RefreshTexture();
        BuildVertices();
        CreateVertexBuffer();
        if (IsInstanced())
            CreateInstanceBuffer();
    }
    for (const auto& child : children)
        child->Update();
}

void Mesh::ReleaseBuffers()
{
    vertexBuffer.reset();
    instanceBuffer.reset();
    for (const auto& child : children)
        child->ReleaseBuffers();
}

void Mesh::RefreshTexture()
{
    if (vertexFormat != MeshVertexFormatTexture)
        return;
    texture = textureName.empty() ? nullptr : TextureRegistry::GetInstance().GetTexture(textureName);
}

void Mesh::BuildVertices()
{
    if (vertexFormat == MeshVertexFormatColor)
        colorVertices = BuildColorVertices(geometry);
    else if (vertexFormat == MeshVertexFormatTexture)
        textureVertices = BuildTextureVertices(geometry);
}

void Mesh::CreateVertexBuffer()
{
    if (geometry.positions.empty())
        return;
    vertexBuffer.reset();

    const uint32_t stride = effect->GetVertexStride();
    const void* data = nullptr;
    uint32_t formatStride = stride;
    if (vertexFormat == MeshVertexFormatColor) {
        data = colorVertices.data();
        formatStride = sizeof(VertexPositionNormalTangentColorTexture);
    } else if (vertexFormat == MeshVertexFormatTexture) {
        data = textureVertices.data();
        formatStride = sizeof(VertexPositionNormalTexture);
    }
    // The buffer is sized by the effect's stride; vertices of another size
    // would be read past their end.
    if (formatStride != stride)
        throw std::logic_error("mesh vertex format does not match its effect: " + name);

    gpu::BufferDesc desc;
    desc.byteWidth = stride * static_cast<uint32_t>(geometry.positions.size());
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindVertexBuffer;
    vertexBuffer = Device->CreateBuffer(desc, data);
}

void Mesh::CreateInstanceBuffer()
{
    const uint32_t count = BuildInstanceRecords(nullptr, false, false);
    instanceBuffer.reset();
    // A node without instances would ask for a buffer of zero bytes, which
    // the device refuses; it draws nothing until it is updated with some.
    if (instances.empty())
        return;
    // The buffer is made from a full-size block: records for removed
    // instances are missing, and the tail must not be read past the records.
    instanceRecords.resize(instances.size());
    std::fill(instanceRecords.begin() + count, instanceRecords.end(), InstanceRecord{});

    gpu::BufferDesc desc;
    desc.byteWidth = static_cast<uint32_t>(instances.size()) * InstanceStride;
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindVertexBuffer;
    desc.cpuWrite = true;
    instanceBuffer = Device->CreateBuffer(desc, instanceRecords.data());
    instanceRecords.resize(count);
}

uint32_t Mesh::InstanceCapacity() const
{
    return instanceBuffer ? instanceBuffer->Desc().byteWidth / InstanceStride : 0;
}

uint32_t Mesh::BuildInstanceRecords(const Camera* camera, bool testContainment, bool wantInside)
{
    instanceRecords.clear();
    instanceRecords.reserve(instances.size());
    for (const MeshInstance& instance : instances) {
        // Removed first: the owner of a removed instance may have let its
        // box go.
        if (instance.removed)
            continue;
        if (camera) {
            if (!instance.shown)
                continue;
            if (instance.bounds && !IsBoxInFrustum(camera->planes, instance.bounds))
                continue;
            if (testContainment) {
                const bool inside = instance.bounds && IsPointInBox(camera->position, instance.bounds);
                if (inside != wantInside)
                    continue;
            }
        }
        const Matrix instanceWorld = ScaleRotateTranslate(instance.scale, instance.rotation, instance.position);
        instanceRecords.push_back({instanceWorld, instanceWorld.Inverted(), instance.colour});
    }
    return static_cast<uint32_t>(instanceRecords.size());
}

void Mesh::Draw(const Camera& camera, const MeshFilter& filter, bool testContainment, bool wantInside)
{
    if (!visible)
        return;
    if (!IsInstanced() && bounds && !IsBoxInFrustum(camera.planes, bounds))
        return;
    if (!filter || filter(this))
        DrawSelf(camera, testContainment, wantInside);
    for (const auto& child : children)
        child->Draw(camera, filter, testContainment, wantInside);
}

void Mesh::DrawSelf(const Camera& camera, bool testContainment, bool wantInside)
{
    if (effectId == EffectIdNone || geometry.positions.empty())
        return;
    // Not updated yet (or released): there is nothing to draw from.
    if (!effect || !vertexBuffer)
        return;
    uint32_t count = 0;
    if (IsInstanced()) {
        if (!instanceBuffer)
            return;
        count = FillInstanceBuffer(camera, testContainment, wantInside);
        if (count == 0)
            return;
    }

    effect->SetMatrices(world, camera.view, camera.projection);
    if (!textureName.empty())
        effect->SetTexture(texture);
    effect->Bind(DeviceContext);
    DeviceContext->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);

    if (IsInstanced()) {
        DrawInstanced(count);
        return;
    }
    gpu::Buffer* buffers[] = {vertexBuffer.get()};
    const uint32_t strides[] = {effect->GetVertexStride()};
    const uint32_t offsets[] = {0};
    DeviceContext->IASetVertexBuffers(0, 1, buffers, strides, offsets);
    DeviceContext->Draw(static_cast<uint32_t>(geometry.positions.size()), 0);
    ++drawCalls;
}

uint32_t Mesh::FillInstanceBuffer(const Camera& camera, bool testContainment, bool wantInside)
{
    const uint32_t built = BuildInstanceRecords(&camera, testContainment, wantInside);
    // Instances added since the last Update have no room in the buffer;
    // the draw shows as many as it holds.
    const uint32_t count = std::min(built, InstanceCapacity());
    if (count == 0)
        return 0;
    void* mapped = DeviceContext->Map(instanceBuffer.get(), gpu::MapType::WriteDiscard);
    std::memcpy(mapped, instanceRecords.data(), size_t{count} * InstanceStride);
    DeviceContext->Unmap(instanceBuffer.get());
    return count;
}

void Mesh::DrawInstanced(uint32_t count)
{
    gpu::Buffer* buffers[] = {vertexBuffer.get(), instanceBuffer.get()};
    const uint32_t strides[] = {effect->GetVertexStride(), InstanceStride};
    const uint32_t offsets[] = {0, 0};
    DeviceContext->IASetVertexBuffers(0, 2, buffers, strides, offsets);
    DeviceContext->DrawInstanced(static_cast<uint32_t>(geometry.positions.size()), count, 0, 0);
    ++drawCalls;
    drawnInstances += count;
}

} // namespace mirefell
