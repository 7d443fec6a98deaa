// SpriteBatch: textured, tinted quads in screen pixels, queued between Begin
// and End and drawn in as few indexed draws as their textures allow. It is the
// 2D primitive under the painter, the sprite fonts and every full-screen pass.
//
// What it owns: its shaders ("shaders/SpriteVertexShader.glsl" and
// "shaders/SpritePixelShader.glsl"), the input layout, a 64-byte transform
// constant buffer (vertex slot 0), a static index buffer, a dynamic vertex
// buffer and a set of default states. It does not own the textures it draws:
// a texture passed to Draw must stay alive until the sprite is drawn (at End,
// or at once in immediate mode).
//
// Coordinates: pixels of the bound viewport, (0, 0) its top-left corner, y
// growing downwards. A vertex is transformed by the Begin transform, then by
// the viewport transform read from the context when the sprites are drawn.
//
// States of a batch, set when it draws (at End; at Begin in immediate mode):
// the blend state (default premultiplied alpha, ONE / INV_SRC_ALPHA), the
// sampler at pixel slot 0 (default linear clamp), the depth-stencil state
// (default none), the rasterizer state (default counter-clockwise culling:
// sprites are clockwise on screen unless mirrored by a negative scale), the
// shaders, buffers and layout, triangle lists; then the set-up callback runs,
// which may replace the pixel shader and bind more textures (slots 1 and up),
// samplers and pixel-stage constant buffers. Each run of sprites binds its
// texture at pixel slot 0. Nothing is restored afterwards.
//
// A replacement pixel shader reads the vertex stage's outputs `in vec4
// spriteColor; in vec2 spriteTexCoord;` (and gl_FragCoord) and samples the
// sprite texture as `uniform sampler2D <name>_t0;` (see shaders/README.md).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/GpuResources.h"
#include "platform/gpu/GpuTypes.h"
#include "platform/math/Color.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"
#include "render/EffectResources.h"
#include "render/VertexTypes.h"

namespace mirefell
{

// The order in which queued sprites reach the GPU.
enum class SpriteSortMode : uint8_t
{
    Deferred,    // drawing order, at End
    Immediate,   // each Draw draws at once; states are set at Begin
    Texture,     // grouped by texture (drawing order within a texture), at End
    BackToFront, // layer depth from 1 down to 0 (ties in drawing order), at End
    FrontToBack, // layer depth from 0 up to 1 (ties in drawing order), at End
};

// Mirroring of the source rectangle on the sprite.
enum class SpriteEffects : uint8_t
{
    None = 0,
    FlipHorizontally = 1,
    FlipVertically = 2,
    FlipBoth = 3,
};

class SpriteBatch
{
public:
    // Sprites one vertex-buffer fill holds; a larger batch is drawn in parts.
    static constexpr uint32_t MaxBatchSize = 2048;

    // Makes the GPU objects on the device; draws through the context. Throws
    // what ReadData and the GPU layer throw.
    SpriteBatch(gpu::Device* device, gpu::Context* context);
    ~SpriteBatch();
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;

    // Null states take the defaults above; setCustomShaders may be empty.
    // Throws std::logic_error when the batch is already begun.
    void Begin(SpriteSortMode sortMode = SpriteSortMode::Deferred, gpu::BlendState* blendState = nullptr,
               gpu::SamplerState* samplerState = nullptr, gpu::DepthStencilState* depthStencilState = nullptr,
               gpu::RasterizerState* rasterizerState = nullptr, std::function<void()> setCustomShaders = nullptr,
               const Matrix& transformMatrix = Matrix::Identity());
    // Draws what is queued. Throws std::logic_error when not begun, and when
    // the bound viewport is empty.
    void End();
    bool IsBegun() const { return begun; }

    // At a position: the source rectangle (texels; null for the whole texture)
    // is scaled, placed with its origin (texels of the source) at the
    // position and rotated about it (radians, clockwise on screen).
    void Draw(gpu::ShaderResourceView* texture, const Vector2& position, const Color& color = White);
    void Draw(gpu::ShaderResourceView* texture, const Vector2& position, const gpu::Rect* sourceRectangle,
              const Color& color = White, float rotation = 0.0f, const Vector2& origin = {}, float scale = 1.0f,
              SpriteEffects effects = SpriteEffects::None, float layerDepth = 0.0f);
    void Draw(gpu::ShaderResourceView* texture, const Vector2& position, const gpu::Rect* sourceRectangle,
              const Color& color, float rotation, const Vector2& origin, const Vector2& scale,
              SpriteEffects effects = SpriteEffects::None, float layerDepth = 0.0f);
    // Over a destination rectangle in pixels; the origin (texels of the
    // source) is the point of the source that lands on the rectangle's
    // top-left corner and about which it rotates.
    void Draw(gpu::ShaderResourceView* texture, const gpu::Rect& destinationRectangle, const Color& color = White);
    void Draw(gpu::ShaderResourceView* texture, const gpu::Rect& destinationRectangle, const gpu::Rect* sourceRectangle,
              const Color& color = White, float rotation = 0.0f, const Vector2& origin = {},
              SpriteEffects effects = SpriteEffects::None, float layerDepth = 0.0f);

    // Indexed draws issued since construction (tests and benchmarks).
    uint64_t DrawCallCount() const { return drawCalls; }

    static constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

private:
    struct QueuedSprite
    {
        VertexPositionColorTexture vertices[4];
        gpu::ShaderResourceView* texture = nullptr;
        float depth = 0.0f;
    };

    // One sprite's corners: destination top-left (x, y) and size in pixels,
    // source in texels (x, y, width, height).
    void Queue(gpu::ShaderResourceView* texture, float destinationX, float destinationY, float destinationWidth,
               float destinationHeight, const float source[4], const Color& color, float rotation,
               const Vector2& origin, SpriteEffects effects, float layerDepth);
    void DrawScaled(gpu::ShaderResourceView* texture, const Vector2& position, const gpu::Rect* sourceRectangle,
                    const Color& color, float rotation, const Vector2& origin, const Vector2& scale,
                    SpriteEffects effects, float layerDepth);
    void PrepareForRendering();
    void SortQueue();
    void Flush();
    // Writes count sprites to the vertex buffer and draws them by texture.
    void RenderSprites(const QueuedSprite* const* sprites, uint32_t count);
    void EnsureCapacity(uint32_t sprites);

    gpu::Device* device;
    gpu::Context* context;
    EffectResources resources;
    gpu::CommonStates states;
    std::shared_ptr<gpu::Buffer> indexBuffer;
    std::shared_ptr<gpu::Buffer> vertexBuffer;
    uint32_t vertexCapacity = 0; // sprites the vertex buffer holds

    bool begun = false;
    SpriteSortMode sortMode = SpriteSortMode::Deferred;
    gpu::BlendState* blendState = nullptr;
    gpu::SamplerState* samplerState = nullptr;
    gpu::DepthStencilState* depthStencilState = nullptr;
    gpu::RasterizerState* rasterizerState = nullptr;
    std::function<void()> setCustomShaders;
    Matrix transform;

    std::vector<QueuedSprite> queue;
    std::vector<const QueuedSprite*> sorted;
    uint64_t drawCalls = 0;
};

} // namespace mirefell
