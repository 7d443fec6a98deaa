// SpriteBatch: corner maths at Draw, sorting and buffer fills at End.
#include "render/SpriteBatch.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"

namespace mirefell
{

namespace
{

constexpr uint32_t VerticesPerSprite = 4;
constexpr uint32_t IndicesPerSprite = 6;
// The vertex buffer starts small and doubles up to MaxBatchSize, so a batch
// of a few sprites does not upload a buffer sized for thousands.
constexpr uint32_t InitialCapacity = 128;
constexpr float Epsilon = 1.192092896e-7f;

// Unit-square corners in the order top-left, top-right, bottom-left,
// bottom-right; two clockwise triangles (0, 1, 2) and (1, 3, 2).
constexpr float CornerOffsets[VerticesPerSprite][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

std::shared_ptr<gpu::Buffer> MakeIndexBuffer(gpu::Device& device)
{
    static_assert(SpriteBatch::MaxBatchSize * VerticesPerSprite <= 0x10000, "16-bit indices");
    std::vector<uint16_t> indices;
    indices.reserve(SpriteBatch::MaxBatchSize * IndicesPerSprite);
    for (uint32_t sprite = 0; sprite < SpriteBatch::MaxBatchSize; ++sprite) {
        const auto base = static_cast<uint16_t>(sprite * VerticesPerSprite);
        for (uint16_t corner : {0, 1, 2, 1, 3, 2})
            indices.push_back(static_cast<uint16_t>(base + corner));
    }
    gpu::BufferDesc desc;
    desc.byteWidth = static_cast<uint32_t>(indices.size() * sizeof(uint16_t));
    desc.usage = gpu::Usage::Immutable;
    desc.bindFlags = gpu::BindIndexBuffer;
    return device.CreateBuffer(desc, indices.data());
}

// Pixels of the viewport to clip space: x from -1 at the left edge to 1 at
// the right, y from 1 at the top to -1 at the bottom.
Matrix ViewportTransform(const gpu::Viewport& viewport)
{
    if (viewport.width <= 0.0f || viewport.height <= 0.0f)
        throw std::logic_error("Viewport not set.");
    Matrix m;
    m.m[0][0] = 2.0f / viewport.width;
    m.m[1][1] = -2.0f / viewport.height;
    m.m[3][0] = -1.0f;
    m.m[3][1] = 1.0f;
    return m;
}

// The source region in texels (x, y, width, height): the rectangle, or the
// whole texture when there is none.
void SourceRegion(gpu::ShaderResourceView* texture, const gpu::Rect* rectangle, float source[4])
{
    if (texture == nullptr)
        throw std::invalid_argument("SpriteBatch::Draw: null texture");
    if (rectangle == nullptr) {
        const gpu::Texture2DDesc& size = texture->GetTexture()->Desc();
        source[0] = source[1] = 0.0f;
        source[2] = static_cast<float>(size.width);
        source[3] = static_cast<float>(size.height);
        return;
    }
    source[0] = static_cast<float>(rectangle->left);
    source[1] = static_cast<float>(rectangle->top);
    source[2] = static_cast<float>(rectangle->right - rectangle->left);
    source[3] = static_cast<float>(rectangle->bottom - rectangle->top);
}

} // namespace

SpriteBatch::SpriteBatch(gpu::Device* device_, gpu::Context* context_)
    : device(device_), context(context_),
      resources(*device_, L"shaders/SpriteVertexShader.glsl", L"shaders/SpritePixelShader.glsl",
                VertexPositionColorTexture::InputElements, VertexPositionColorTexture::InputElementCount,
                sizeof(Matrix)),
      states(*device_), indexBuffer(MakeIndexBuffer(*device_))
{
    EnsureCapacity(InitialCapacity);
    queue.reserve(InitialCapacity);
    sorted.reserve(InitialCapacity);
}

SpriteBatch::~SpriteBatch() = default;

void SpriteBatch::EnsureCapacity(uint32_t sprites)
{
    sprites = std::min(sprites, MaxBatchSize);
    if (vertexCapacity >= sprites)
        return;
    uint32_t capacity = std::max(vertexCapacity, InitialCapacity);
    while (capacity < sprites)
        capacity *= 2;
    capacity = std::min(capacity, MaxBatchSize);
    gpu::BufferDesc desc;
    desc.byteWidth = capacity * VerticesPerSprite * sizeof(VertexPositionColorTexture);
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindVertexBuffer;
    desc.cpuWrite = true;
    vertexBuffer = device->CreateBuffer(desc);
    vertexCapacity = capacity;
}

void SpriteBatch::Begin(SpriteSortMode sortMode_, gpu::BlendState* blendState_, gpu::SamplerState* samplerState_,
                        gpu::DepthStencilState* depthStencilState_, gpu::RasterizerState* rasterizerState_,
                        std::function<void()> setCustomShaders_, const Matrix& transformMatrix)
{
    if (begun)
        throw std::logic_error("Cannot nest Begin calls on a single SpriteBatch");
    sortMode = sortMode_;
    blendState = blendState_ ? blendState_ : states.AlphaBlend();
    samplerState = samplerState_ ? samplerState_ : states.LinearClamp();
    depthStencilState = depthStencilState_ ? depthStencilState_ : states.DepthNone();
    rasterizerState = rasterizerState_ ? rasterizerState_ : states.CullCounterClockwise();
    setCustomShaders = std::move(setCustomShaders_);
    transform = transformMatrix;
    queue.clear();
    if (sortMode == SpriteSortMode::Immediate)
        PrepareForRendering();
    begun = true;
}

void SpriteBatch::End()
{
    if (!begun)
        throw std::logic_error("Begin must be called before End");
    begun = false;
    if (sortMode != SpriteSortMode::Immediate) {
        EnsureCapacity(static_cast<uint32_t>(std::min<size_t>(queue.size(), MaxBatchSize)));
        PrepareForRendering();
        Flush();
    }
    queue.clear();
    setCustomShaders = nullptr;
}

void SpriteBatch::PrepareForRendering()
{
    context->OMSetBlendState(blendState, nullptr, 0xFFFFFFFF);
    context->OMSetDepthStencilState(depthStencilState, 0);
    context->RSSetState(rasterizerState);
    context->PSSetSamplers(0, 1, &samplerState);

    resources.Bind(context);
    gpu::Buffer* vertexBuffers[] = {vertexBuffer.get()};
    const uint32_t stride = sizeof(VertexPositionColorTexture);
    const uint32_t offset = 0;
    context->IASetVertexBuffers(0, 1, vertexBuffers, &stride, &offset);
    context->IASetIndexBuffer(indexBuffer.get(), gpu::Format::R16_UINT, 0);
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);

    const Matrix final = transform * ViewportTransform(context->RSGetViewport());
    std::memcpy(context->Map(resources.constantBuffer.get(), gpu::MapType::WriteDiscard), &final, sizeof final);
    context->Unmap(resources.constantBuffer.get());
    gpu::Buffer* constants[] = {resources.constantBuffer.get()};
    context->VSSetConstantBuffers(0, 1, constants);

    if (setCustomShaders)
        setCustomShaders();
}

void SpriteBatch::Draw(gpu::ShaderResourceView* texture, const Vector2& position, const Color& color)
{
    DrawScaled(texture, position, nullptr, color, 0.0f, {}, {1.0f, 1.0f}, SpriteEffects::None, 0.0f);
}

void SpriteBatch::Draw(gpu::ShaderResourceView* texture, const Vector2& position, const gpu::Rect* sourceRectangle,
                       const Color& color, float rotation, const Vector2& origin, float scale, SpriteEffects effects,
                       float layerDepth)
{
    DrawScaled(texture, position, sourceRectangle, color, rotation, origin, {scale, scale}, effects, layerDepth);
}

void SpriteBatch::Draw(gpu::ShaderResourceView* texture, const Vector2& position, const gpu::Rect* sourceRectangle,
                       const Color& color, float rotation, const Vector2& origin, const Vector2& scale,
                       SpriteEffects effects, float layerDepth)
{
    DrawScaled(texture, position, sourceRectangle, color, rotation, origin, scale, effects, layerDepth);
}

void SpriteBatch::Draw(gpu::ShaderResourceView* texture, const gpu::Rect& destinationRectangle, const Color& color)
{
    Draw(texture, destinationRectangle, nullptr, color);
}

void SpriteBatch::Draw(gpu::ShaderResourceView* texture, const gpu::Rect& destination, const gpu::Rect* sourceRectangle,
                       const Color& color, float rotation, const Vector2& origin, SpriteEffects effects,
                       float layerDepth)
{
    float source[4];
    SourceRegion(texture, sourceRectangle, source);
    Queue(texture, static_cast<float>(destination.left), static_cast<float>(destination.top),
          static_cast<float>(destination.right - destination.left),
          static_cast<float>(destination.bottom - destination.top), source, color, rotation, origin, effects,
          layerDepth);
}

void SpriteBatch::DrawScaled(gpu::ShaderResourceView* texture, const Vector2& position,
                             const gpu::Rect* sourceRectangle, const Color& color, float rotation,
                             const Vector2& origin, const Vector2& scale, SpriteEffects effects, float layerDepth)
{
    float source[4];
    SourceRegion(texture, sourceRectangle, source);
    Queue(texture, position.x, position.y, source[2] * scale.x, source[3] * scale.y, source, color, rotation, origin,
          effects, layerDepth);
}

void SpriteBatch::Queue(gpu::ShaderResourceView* texture, float destinationX, float destinationY,
                        float destinationWidth, float destinationHeight, const float source[4], const Color& color,
                        float rotation, const Vector2& origin, SpriteEffects effects, float layerDepth)
{
    if (!begun)
        throw std::logic_error("Begin must be called before Draw");

    const gpu::Texture2DDesc& size = texture->GetTexture()->Desc();
    const float inverseWidth = 1.0f / static_cast<float>(size.width);
    const float inverseHeight = 1.0f / static_cast<float>(size.height);
    // The origin as a fraction of the source region (a zero-sized region
    // keeps the origin finite).
    const float originX = origin.x / (source[2] != 0.0f ? source[2] : Epsilon);
    const float originY = origin.y / (source[3] != 0.0f ? source[3] : Epsilon);
    const float cosine = rotation != 0.0f ? std::cos(rotation) : 1.0f;
    const float sine = rotation != 0.0f ? std::sin(rotation) : 0.0f;
    const auto mirror = static_cast<uint32_t>(effects) & 3u;

    QueuedSprite& sprite = queue.emplace_back();
    sprite.texture = texture;
    sprite.depth = layerDepth;
    for (uint32_t i = 0; i < VerticesPerSprite; ++i) {
        const float cornerX = (CornerOffsets[i][0] - originX) * destinationWidth;
        const float cornerY = (CornerOffsets[i][1] - originY) * destinationHeight;
        VertexPositionColorTexture& vertex = sprite.vertices[i];
        vertex.position = {destinationX + cornerX * cosine - cornerY * sine,
                           destinationY + cornerX * sine + cornerY * cosine, layerDepth};
        vertex.color = color.ToVector4();
        // Mirroring reads the texture coordinate of the opposite corner.
        const float* texel = CornerOffsets[i ^ mirror];
        vertex.textureCoordinate = {(source[0] + texel[0] * source[2]) * inverseWidth,
                                    (source[1] + texel[1] * source[3]) * inverseHeight};
    }

    if (sortMode == SpriteSortMode::Immediate) {
        const QueuedSprite* one = &sprite;
        RenderSprites(&one, 1);
        queue.clear();
    }
}

void SpriteBatch::SortQueue()
{
    sorted.clear();
    for (const QueuedSprite& sprite : queue)
        sorted.push_back(&sprite);
    // Ties keep drawing order (the queue's addresses rise with it), so the
    // result is the same on every run without a stable sort's buffer.
    switch (sortMode) {
    case SpriteSortMode::Texture:
        std::sort(sorted.begin(), sorted.end(), [](const QueuedSprite* a, const QueuedSprite* b) {
            return a->texture != b->texture ? std::less<>()(a->texture, b->texture) : a < b;
        });
        break;
    case SpriteSortMode::BackToFront:
        std::sort(sorted.begin(), sorted.end(), [](const QueuedSprite* a, const QueuedSprite* b) {
            return a->depth != b->depth ? a->depth > b->depth : a < b;
        });
        break;
    case SpriteSortMode::FrontToBack:
        std::sort(sorted.begin(), sorted.end(), [](const QueuedSprite* a, const QueuedSprite* b) {
            return a->depth != b->depth ? a->depth < b->depth : a < b;
        });
        break;
    default:
        break;
    }
}

void SpriteBatch::Flush()
{
    if (queue.empty())
        return;
    SortQueue();
    const auto total = static_cast<uint32_t>(sorted.size());
    for (uint32_t first = 0; first < total; first += vertexCapacity)
        RenderSprites(sorted.data() + first, std::min(vertexCapacity, total - first));
}

void SpriteBatch::RenderSprites(const QueuedSprite* const* sprites, uint32_t count)
{
    auto* vertices =
        static_cast<VertexPositionColorTexture*>(context->Map(vertexBuffer.get(), gpu::MapType::WriteDiscard));
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(vertices + i * VerticesPerSprite, sprites[i]->vertices, sizeof sprites[i]->vertices);
    context->Unmap(vertexBuffer.get());

    // One indexed draw per run of sprites that share a texture.
    uint32_t runStart = 0;
    while (runStart < count) {
        gpu::ShaderResourceView* texture = sprites[runStart]->texture;
        uint32_t runEnd = runStart + 1;
        while (runEnd < count && sprites[runEnd]->texture == texture)
            ++runEnd;
        context->PSSetShaderResources(0, 1, &texture);
        context->DrawIndexed((runEnd - runStart) * IndicesPerSprite, runStart * IndicesPerSprite, 0);
        ++drawCalls;
        runStart = runEnd;
    }
}

} // namespace mirefell
