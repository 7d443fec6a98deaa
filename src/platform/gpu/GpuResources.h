// The typed handles of the GPU layer: buffers, 2D textures, the three kinds of
// view, shaders, input layouts and state objects. Each is made by a Device and
// held through std::shared_ptr: whoever keeps a shared_ptr keeps the object,
// a view keeps its texture, and the immediate context keeps what is bound to
// it, as Direct3D's reference counts do. Destroying the last reference frees
// the OpenGL object, provided the device that made it still lives; objects
// that outlive their device (after a device loss) just let go.
//
// They are grouped in one header because they are small records with no
// behaviour of their own: Device fills them and Context reads them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/GpuTypes.h"

namespace mirefell::gpu
{

namespace detail
{
struct DeviceState;
}

// What every object of a device shares: the device's state and an identity
// that is never reused, so the context can compare bindings without holding
// pointers that may dangle.
class DeviceChild : public std::enable_shared_from_this<DeviceChild>
{
public:
    DeviceChild(const DeviceChild&) = delete;
    DeviceChild& operator=(const DeviceChild&) = delete;
    virtual ~DeviceChild();

    uint64_t Id() const { return id; }

protected:
    explicit DeviceChild(std::shared_ptr<detail::DeviceState> state_);
    // True while the device that made the object lives (its GL names mean
    // something).
    bool DeviceAlive() const;

    std::shared_ptr<detail::DeviceState> state;
    uint64_t id;
};

class Buffer final : public DeviceChild
{
public:
    explicit Buffer(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    ~Buffer() override;
    const BufferDesc& Desc() const { return desc; }

private:
    friend class Device;
    friend class Context;
    BufferDesc desc;
    uint32_t name = 0;
    // Dynamic buffers are written here between Map and Unmap and uploaded
    // whole on Unmap (write-discard: the old contents are never read back).
    std::vector<uint8_t> staging;
};

class Texture2D final : public DeviceChild
{
public:
    explicit Texture2D(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    ~Texture2D() override;
    // The description with mipLevels resolved (never 0).
    const Texture2DDesc& Desc() const { return desc; }

private:
    friend class Device;
    friend class Context;
    friend class SwapChain;
    Texture2DDesc desc;
    uint32_t name = 0;
    uint32_t target = 0; // GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP or GL_TEXTURE_2D_ARRAY
    // The level range OpenGL samples, as the last bound view set it.
    uint32_t baseLevel = 0;
    uint32_t maxLevel = 0;
};

class ShaderResourceView final : public DeviceChild
{
public:
    explicit ShaderResourceView(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    Texture2D* GetTexture() const { return texture.get(); }
    // The description with format, dimension and mip count resolved.
    const ShaderResourceViewDesc& Desc() const { return desc; }

private:
    friend class Device;
    friend class Context;
    std::shared_ptr<Texture2D> texture;
    ShaderResourceViewDesc desc;
};

class RenderTargetView final : public DeviceChild
{
public:
    explicit RenderTargetView(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    Texture2D* GetTexture() const { return texture.get(); }
    const RenderTargetViewDesc& Desc() const { return desc; }

private:
    friend class Device;
    friend class Context;
    std::shared_ptr<Texture2D> texture;
    RenderTargetViewDesc desc;
};

class DepthStencilView final : public DeviceChild
{
public:
    explicit DepthStencilView(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    Texture2D* GetTexture() const { return texture.get(); }

private:
    friend class Device;
    friend class Context;
    std::shared_ptr<Texture2D> texture;
};

// One vertex-shader input as the shader declares it, with the attribute
// location the layer gave it (inputs sorted by name, matrices taking four).
struct VertexAttribute
{
    std::string name;
    uint32_t location = 0;
    uint32_t slots = 1;
};

class VertexShader final : public DeviceChild
{
public:
    explicit VertexShader(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    ~VertexShader() override;
    const std::vector<VertexAttribute>& Attributes() const { return attributes; }

private:
    friend class Device;
    friend class Context;
    uint32_t name = 0;
    std::vector<VertexAttribute> attributes;
    std::string signature; // the attribute names, sorted, joined
};

class PixelShader final : public DeviceChild
{
public:
    explicit PixelShader(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    ~PixelShader() override;

private:
    friend class Device;
    friend class Context;
    uint32_t name = 0;
};

class InputLayout final : public DeviceChild
{
public:
    explicit InputLayout(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}

    // One element with its offset resolved and the attribute it feeds.
    struct Element
    {
        uint32_t location = 0;
        uint32_t slot = 0;
        uint32_t offset = 0;
        Format format = Format::Unknown;
        bool perInstance = false;
        uint32_t stepRate = 0;
    };
    const std::vector<Element>& Elements() const { return elements; }

private:
    friend class Device;
    friend class Context;
    std::vector<Element> elements;
    // The attribute names of the vertex shader it was made against; the
    // context checks at a draw that the bound shader has the same inputs.
    std::string signature;
};

class BlendState final : public DeviceChild
{
public:
    explicit BlendState(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    const BlendDesc& Desc() const { return desc; }

private:
    friend class Device;
    BlendDesc desc;
};

class DepthStencilState final : public DeviceChild
{
public:
    explicit DepthStencilState(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    const DepthStencilDesc& Desc() const { return desc; }

private:
    friend class Device;
    DepthStencilDesc desc;
};

class RasterizerState final : public DeviceChild
{
public:
    explicit RasterizerState(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    const RasterizerDesc& Desc() const { return desc; }

private:
    friend class Device;
    RasterizerDesc desc;
};

class SamplerState final : public DeviceChild
{
public:
    explicit SamplerState(std::shared_ptr<detail::DeviceState> state_) : DeviceChild(std::move(state_)) {}
    ~SamplerState() override;
    const SamplerDesc& Desc() const { return desc; }

private:
    friend class Device;
    friend class Context;
    SamplerDesc desc;
    uint32_t name = 0;
};

} // namespace mirefell::gpu
