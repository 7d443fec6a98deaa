// Context: Direct3D-style bindings recorded here, turned into OpenGL state
// lazily at the next draw (programs, vertex attributes, state objects,
// framebuffers) or at once where OpenGL has an equivalent binding point
// (uniform buffers, texture units).
#include "platform/gpu/Context.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

#include "platform/gpu/Device.h"
#include "platform/gpu/DeviceState.h"
#include "platform/gpu/GlFormat.h"
#include "platform/gpu/GpuError.h"

namespace mirefell::gpu
{

using namespace detail;

namespace
{

constexpr uint32_t PixelStageBindingBase = 16;

// Reads a trailing "_<tag><digits>" off `name`; on success shortens `name` to
// what stands before it.
bool TakeSlotSuffix(std::string& name, char tag, uint32_t& slot)
{
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    if (digits == name.size() || digits < 2 || name[digits - 1] != tag || name[digits - 2] != '_')
        return false;
    slot = static_cast<uint32_t>(std::stoul(name.substr(digits)));
    name.resize(digits - 2);
    return true;
}

bool IsSamplerType(GLenum type)
{
    switch (type) {
    case GL_SAMPLER_2D:
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_2D_ARRAY:
    case GL_SAMPLER_2D_SHADOW:
    case GL_INT_SAMPLER_2D:
    case GL_UNSIGNED_INT_SAMPLER_2D:
        return true;
    default:
        return false;
    }
}

std::string ProgramLog(GLuint program)
{
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.c_str();
}

// Links a shader pair with the vertex shader's own attribute locations, then
// binds its blocks and samplers to the slots their names carry.
LinkedProgram LinkProgram(VertexShader& vertexShader, const std::vector<VertexAttribute>& attributes,
                          uint32_t vertexName, PixelShader* pixelShader, uint32_t pixelName)
{
    LinkedProgram linked;
    linked.vertexShader = vertexShader.Id();
    linked.pixelShader = pixelShader ? pixelShader->Id() : 0;
    const GLuint program = glCreateProgram();
    linked.program = program;
    glAttachShader(program, vertexName);
    if (pixelShader != nullptr)
        glAttachShader(program, pixelName);
    for (const VertexAttribute& attribute : attributes)
        glBindAttribLocation(program, attribute.location, attribute.name.c_str());
    glLinkProgram(program);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    auto fail = [program](const std::string& why) {
        glDeleteProgram(program);
        throw GpuError("LinkProgram", why);
    };
    if (ok != GL_TRUE)
        fail(ProgramLog(program));

    GLint blocks = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_BLOCKS, &blocks);
    for (GLint block = 0; block < blocks; ++block) {
        char buffer[128] = {};
        glGetActiveUniformBlockName(program, static_cast<GLuint>(block), sizeof buffer, nullptr, buffer);
        std::string name = buffer;
        uint32_t slot = 0;
        if (!TakeSlotSuffix(name, 'b', slot) || slot >= ConstantBufferSlots)
            fail(std::string("uniform block ") + buffer + " does not end in _b<slot>");
        GLint byVertex = 0;
        GLint byPixel = 0;
        glGetActiveUniformBlockiv(program, static_cast<GLuint>(block), GL_UNIFORM_BLOCK_REFERENCED_BY_VERTEX_SHADER,
                                  &byVertex);
        glGetActiveUniformBlockiv(program, static_cast<GLuint>(block), GL_UNIFORM_BLOCK_REFERENCED_BY_FRAGMENT_SHADER,
                                  &byPixel);
        if (byVertex && byPixel)
            fail(std::string("uniform block ") + buffer + " is used by both stages; give each stage its own name");
        glUniformBlockBinding(program, static_cast<GLuint>(block), byPixel ? PixelStageBindingBase + slot : slot);
    }

    GLint uniforms = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &uniforms);
    glUseProgram(program);
    for (GLint uniform = 0; uniform < uniforms; ++uniform) {
        const GLuint index = static_cast<GLuint>(uniform);
        GLint blockIndex = -1;
        glGetActiveUniformsiv(program, 1, &index, GL_UNIFORM_BLOCK_INDEX, &blockIndex);
        if (blockIndex >= 0)
            continue;
        char buffer[128] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, index, sizeof buffer, nullptr, &size, &type, buffer);
        if (!IsSamplerType(type) || size != 1)
            fail(std::string("uniform ") + buffer + " stands outside a constant block");
        std::string name = buffer;
        uint32_t samplerSlot = 0;
        uint32_t textureSlot = 0;
        const bool hasSampler = TakeSlotSuffix(name, 's', samplerSlot);
        if (!TakeSlotSuffix(name, 't', textureSlot) || textureSlot >= ShaderResourceSlots ||
            (hasSampler && samplerSlot >= SamplerSlots))
            fail(std::string("sampler ") + buffer + " does not end in _t<slot> or _t<slot>_s<slot>");
        glUniform1i(glGetUniformLocation(program, buffer), static_cast<GLint>(textureSlot));
        linked.sampledUnits.push_back({textureSlot, samplerSlot});
    }
    return linked;
}

} // namespace

Context::Context(Device& device_) : device(device_)
{
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    // Direct3D's sampler when none is bound: trilinear, clamped.
    glGenSamplers(1, &defaultSampler);
    glSamplerParameteri(defaultSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(defaultSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(defaultSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(defaultSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(defaultSampler, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    sampledUnits.reserve(ShaderResourceSlots);
}

Context::~Context()
{
    ClearState();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteSamplers(1, &defaultSampler);
}

template <class T> std::shared_ptr<T> Context::Keep(T* object)
{
    return object ? std::static_pointer_cast<T>(object->shared_from_this()) : nullptr;
}

// ---- shaders and resources ----

void Context::VSSetShader(VertexShader* shader)
{
    if (shader == vertexShader.get())
        return;
    vertexShader = Keep(shader);
    programDirty = true;
    inputDirty = true;
}

void Context::PSSetShader(PixelShader* shader)
{
    if (shader == pixelShader.get())
        return;
    pixelShader = Keep(shader);
    programDirty = true;
}

void Context::VSSetConstantBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers)
{
    assert(startSlot + count <= ConstantBufferSlots);
    for (uint32_t i = 0; i < count; ++i) {
        vsConstantBuffers[startSlot + i] = Keep(buffers[i]);
        glBindBufferBase(GL_UNIFORM_BUFFER, startSlot + i, buffers[i] ? buffers[i]->name : 0);
    }
}

void Context::PSSetConstantBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers)
{
    assert(startSlot + count <= ConstantBufferSlots);
    for (uint32_t i = 0; i < count; ++i) {
        psConstantBuffers[startSlot + i] = Keep(buffers[i]);
        glBindBufferBase(GL_UNIFORM_BUFFER, PixelStageBindingBase + startSlot + i, buffers[i] ? buffers[i]->name : 0);
    }
}

// Sets the levels OpenGL samples; the texture must be bound on the active
// unit.
void Context::SetLevelRange(Texture2D& texture, uint32_t base, uint32_t max)
{
    if (texture.baseLevel == base && texture.maxLevel == max)
        return;
    glTexParameteri(texture.target, GL_TEXTURE_BASE_LEVEL, static_cast<GLint>(base));
    glTexParameteri(texture.target, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(max));
    texture.baseLevel = base;
    texture.maxLevel = max;
}

void Context::BindTextureUnit(uint32_t unit, ShaderResourceView* view)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    const uint32_t target = view ? view->texture->target : 0;
    if (unitTargets[unit] != 0 && unitTargets[unit] != target)
        glBindTexture(unitTargets[unit], 0);
    if (view != nullptr) {
        glBindTexture(target, view->texture->name);
        SetLevelRange(*view->texture, view->desc.mostDetailedMip,
                      view->desc.mostDetailedMip + view->desc.mipLevels - 1);
    } else if (unitTargets[unit] != 0) {
        glBindTexture(unitTargets[unit], 0);
    }
    unitTargets[unit] = target;
}

void Context::PSSetShaderResources(uint32_t startSlot, uint32_t count, ShaderResourceView* const* views)
{
    assert(startSlot + count <= ShaderResourceSlots);
    // OpenGL samples one level range per texture: refuse a view whose range
    // differs from another view of its texture that stays bound.
    for (uint32_t i = 0; i < count; ++i) {
        const ShaderResourceView* view = views[i];
        if (view == nullptr)
            continue;
        for (uint32_t slot = 0; slot < ShaderResourceSlots; ++slot) {
            const bool replaced = slot >= startSlot && slot < startSlot + count;
            const ShaderResourceView* other = replaced ? views[slot - startSlot] : shaderResources[slot].get();
            if (other != nullptr && other->texture == view->texture &&
                (other->desc.mostDetailedMip != view->desc.mostDetailedMip ||
                 other->desc.mipLevels != view->desc.mipLevels))
                throw GpuError("PSSetShaderResources", "two views of one texture with different mip ranges");
        }
    }
    for (uint32_t i = 0; i < count; ++i) {
        ShaderResourceView* view = views[i];
        // Direct3D refuses to read a resource that is bound for writing.
        if (view != nullptr && OverlapsBoundTarget(*view))
            view = nullptr;
        shaderResources[startSlot + i] = Keep(view);
        BindTextureUnit(startSlot + i, view);
    }
}

void Context::PSSetSamplers(uint32_t startSlot, uint32_t count, SamplerState* const* states)
{
    assert(startSlot + count <= SamplerSlots);
    for (uint32_t i = 0; i < count; ++i)
        samplers[startSlot + i] = Keep(states[i]);
}

// ---- input assembly ----

void Context::IASetInputLayout(InputLayout* layout)
{
    if (layout == inputLayout.get())
        return;
    inputLayout = Keep(layout);
    inputDirty = true;
}

void Context::IASetVertexBuffers(uint32_t startSlot, uint32_t count, Buffer* const* buffers, const uint32_t* strides_,
                                 const uint32_t* offsets_)
{
    assert(startSlot + count <= VertexBufferSlots);
    for (uint32_t i = 0; i < count; ++i) {
        vertexBuffers[startSlot + i] = Keep(buffers[i]);
        strides[startSlot + i] = strides_[i];
        offsets[startSlot + i] = offsets_[i];
    }
    inputDirty = true;
}

void Context::IASetIndexBuffer(Buffer* buffer, Format format, uint32_t offset)
{
    assert(format == Format::R16_UINT || format == Format::R32_UINT);
    indexBuffer = Keep(buffer);
    indexFormat = format;
    indexOffset = offset;
    inputDirty = true;
}

void Context::IASetPrimitiveTopology(PrimitiveTopology topology_)
{
    topology = topology_;
}

// ---- output merger and rasterizer ----

namespace
{

bool IncludesLevel(const ShaderResourceViewDesc& desc, uint32_t mip)
{
    return mip == AllMipLevels || (mip >= desc.mostDetailedMip && mip < desc.mostDetailedMip + desc.mipLevels);
}

} // namespace

bool Context::OverlapsBoundTarget(const ShaderResourceView& view) const
{
    const uint64_t id = view.texture->Id();
    for (const auto& target : renderTargets)
        if (target && target->texture->Id() == id && IncludesLevel(view.desc, target->desc.mipSlice))
            return true;
    return depthStencil && depthStencil->texture->Id() == id;
}

void Context::UnbindShaderResourcesOf(const Texture2D* texture, uint32_t mip)
{
    for (uint32_t slot = 0; slot < ShaderResourceSlots; ++slot) {
        const ShaderResourceView* view = shaderResources[slot].get();
        if (view && view->texture->Id() == texture->Id() && IncludesLevel(view->desc, mip)) {
            shaderResources[slot].reset();
            BindTextureUnit(slot, nullptr);
        }
    }
}

void Context::OMSetRenderTargets(uint32_t count, RenderTargetView* const* views, DepthStencilView* depth)
{
    assert(count <= RenderTargetSlots);
    for (uint32_t slot = 0; slot < RenderTargetSlots; ++slot) {
        renderTargets[slot] = slot < count ? Keep(views[slot]) : nullptr;
        if (renderTargets[slot])
            UnbindShaderResourcesOf(renderTargets[slot]->texture.get(), renderTargets[slot]->desc.mipSlice);
    }
    depthStencil = Keep(depth);
    if (depthStencil)
        UnbindShaderResourcesOf(depthStencil->texture.get(), AllMipLevels);
    // A target whose texture no view reads any more gets its whole level
    // range back, so a level outside the last view's range stays attachable.
    for (const auto& target : renderTargets) {
        if (!target)
            continue;
        Texture2D& texture = *target->texture;
        const bool read = std::any_of(shaderResources.begin(), shaderResources.end(),
                                      [&](const auto& view) { return view && view->texture.get() == &texture; });
        if (!read && (texture.baseLevel != 0 || texture.maxLevel != texture.desc.mipLevels - 1)) {
            glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
            glBindTexture(texture.target, texture.name);
            SetLevelRange(texture, 0, texture.desc.mipLevels - 1);
            glBindTexture(texture.target, 0);
        }
    }
    framebufferDirty = true;
}

void Context::OMSetBlendState(BlendState* state, const float factor[4], uint32_t sampleMask_)
{
    blendState = Keep(state);
    const float opaqueFactor[4] = {1, 1, 1, 1};
    std::memcpy(blendFactor, factor ? factor : opaqueFactor, sizeof blendFactor);
    sampleMask = sampleMask_;
    statesDirty = true;
}

void Context::OMSetDepthStencilState(DepthStencilState* state, uint32_t stencilRef_)
{
    depthStencilState = Keep(state);
    stencilRef = stencilRef_;
    statesDirty = true;
}

BlendState* Context::OMGetBlendState(float factor[4], uint32_t* mask) const
{
    if (factor != nullptr)
        std::memcpy(factor, blendFactor, sizeof blendFactor);
    if (mask != nullptr)
        *mask = sampleMask;
    return blendState.get();
}

DepthStencilState* Context::OMGetDepthStencilState(uint32_t* reference) const
{
    if (reference != nullptr)
        *reference = stencilRef;
    return depthStencilState.get();
}

void Context::RSSetState(RasterizerState* state)
{
    rasterizerState = Keep(state);
    statesDirty = true;
}

// Rows of our targets are stored top first, and the vertex shaders' y flip
// maps the top of the viewport to the viewport's first row, so a Direct3D
// viewport or scissor rectangle keeps its numbers in OpenGL.
void Context::RSSetViewports(uint32_t count, const Viewport* viewports)
{
    if (count == 0)
        return;
    viewport = viewports[0];
    statesDirty = true;
}

void Context::RSSetScissorRects(uint32_t count, const Rect* rects)
{
    if (count == 0)
        return;
    scissor = rects[0];
    statesDirty = true;
}

// ---- clears ----

void Context::ClearRenderTargetView(RenderTargetView* view, const float color[4])
{
    std::array<uint64_t, 9> ids{};
    std::array<uint32_t, 9> subresources{};
    ids[0] = view->texture->Id();
    subresources[0] = view->desc.mipSlice + view->desc.arraySlice * view->texture->desc.mipLevels;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, FramebufferFor(ids, subresources, &view, 1, nullptr));
    glDisable(GL_SCISSOR_TEST);
    glColorMaski(0, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearBufferfv(GL_COLOR, 0, color);
    framebufferDirty = true;
    statesDirty = true;
}

void Context::ClearDepthStencilView(DepthStencilView* view, uint32_t clearFlags, float depth, uint8_t stencil)
{
    std::array<uint64_t, 9> ids{};
    ids[8] = view->texture->Id();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, FramebufferFor(ids, {}, nullptr, 0, view->texture.get()));
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glStencilMask(0xff);
    const GLint stencilValue = stencil;
    if ((clearFlags & ClearDepth) && (clearFlags & ClearStencil))
        glClearBufferfi(GL_DEPTH_STENCIL, 0, depth, stencilValue);
    else if (clearFlags & ClearDepth)
        glClearBufferfv(GL_DEPTH, 0, &depth);
    else if (clearFlags & ClearStencil)
        glClearBufferiv(GL_STENCIL, 0, &stencilValue);
    framebufferDirty = true;
    statesDirty = true;
}

// ---- buffers and textures ----

void* Context::Map(Buffer* buffer, MapType)
{
    if (buffer == nullptr || buffer->desc.usage != Usage::Dynamic)
        throw GpuError("Map", "only dynamic buffers can be mapped");
    return buffer->staging.data();
}

void Context::Unmap(Buffer* buffer)
{
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->name);
    // A fresh store each time: OpenGL may keep drawing from the old one.
    glBufferData(GL_COPY_WRITE_BUFFER, buffer->desc.byteWidth, buffer->staging.data(), GL_STREAM_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}

void Context::UpdateSubresource(Buffer* buffer, const void* data)
{
    assert(buffer->desc.usage == Usage::Default);
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->name);
    glBufferSubData(GL_COPY_WRITE_BUFFER, 0, buffer->desc.byteWidth, data);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}

void Context::UpdateSubresource(Texture2D* texture, uint32_t subresource, const void* data, uint32_t rowPitch)
{
    const Texture2DDesc& desc = texture->desc;
    const uint32_t mip = subresource % desc.mipLevels;
    const uint32_t slice = subresource / desc.mipLevels;
    const GlTextureFormat format = TextureFormatOf(desc.format, "UpdateSubresource");
    const uint32_t pixelSize = FormatSize(desc.format);
    glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
    glBindTexture(texture->target, texture->name);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rowPitch && pixelSize ? static_cast<GLint>(rowPitch / pixelSize) : 0);
    const GLsizei width = static_cast<GLsizei>(std::max(1u, desc.width >> mip));
    const GLsizei height = static_cast<GLsizei>(std::max(1u, desc.height >> mip));
    if (texture->target == GL_TEXTURE_2D_ARRAY) {
        glTexSubImage3D(GL_TEXTURE_2D_ARRAY, static_cast<GLint>(mip), 0, 0, static_cast<GLint>(slice), width, height, 1,
                        format.format, format.type, data);
    } else {
        const GLenum target =
            texture->target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + slice : GL_TEXTURE_2D;
        glTexSubImage2D(target, static_cast<GLint>(mip), 0, 0, width, height, format.format, format.type, data);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glBindTexture(texture->target, 0);
}

void Context::CopyResource(Texture2D* destination, Texture2D* source)
{
    const Texture2DDesc& from = source->desc;
    const Texture2DDesc& to = destination->desc;
    if (from.width != to.width || from.height != to.height || from.mipLevels != to.mipLevels ||
        source->target != GL_TEXTURE_2D || destination->target != GL_TEXTURE_2D ||
        IsDepthFormat(from.format) != IsDepthFormat(to.format))
        throw GpuError("CopyResource", "textures differ in size, levels or kind");
    const bool depth = IsDepthFormat(from.format);
    const GLenum attachment = depth ? GL_DEPTH_STENCIL_ATTACHMENT : GL_COLOR_ATTACHMENT0;
    GLuint framebuffers[2] = {};
    glGenFramebuffers(2, framebuffers);
    // A raw copy: no sRGB decoding or encoding on the way.
    glDisable(GL_FRAMEBUFFER_SRGB);
    glDisable(GL_SCISSOR_TEST);
    for (uint32_t mip = 0; mip < from.mipLevels; ++mip) {
        const GLint width = static_cast<GLint>(std::max(1u, from.width >> mip));
        const GLint height = static_cast<GLint>(std::max(1u, from.height >> mip));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[0]);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, attachment, GL_TEXTURE_2D, source->name, static_cast<GLint>(mip));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[1]);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, attachment, GL_TEXTURE_2D, destination->name,
                               static_cast<GLint>(mip));
        glBlitFramebuffer(0, 0, width, height, 0, 0, width, height,
                          depth ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    glEnable(GL_FRAMEBUFFER_SRGB);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDeleteFramebuffers(2, framebuffers);
    framebufferDirty = true;
    statesDirty = true;
}

void Context::GenerateMips(ShaderResourceView* view)
{
    Texture2D* texture = view->texture.get();
    glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
    glBindTexture(texture->target, texture->name);
    // The chain is built from level 0 through every level, whatever range a
    // view last set; the next bind of a view sets its range again.
    SetLevelRange(*texture, 0, texture->desc.mipLevels - 1);
    glGenerateMipmap(texture->target);
    glBindTexture(texture->target, 0);
}

// ---- drawing ----

uint32_t Context::FramebufferFor(const std::array<uint64_t, 9>& ids, const std::array<uint32_t, 9>& subresources,
                                 RenderTargetView* const* colour, uint32_t colourCount, Texture2D* depth)
{
    auto& cache = device.state->framebuffers;
    for (const CachedFramebuffer& cached : cache)
        if (cached.attachments == ids && cached.subresources == subresources)
            return cached.framebuffer;
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    GLenum drawBuffers[RenderTargetSlots] = {};
    GLsizei drawCount = 0;
    for (uint32_t slot = 0; slot < colourCount; ++slot) {
        drawBuffers[slot] = GL_NONE;
        if (colour[slot] == nullptr)
            continue;
        const Texture2D& texture = *colour[slot]->texture;
        const GLint mip = static_cast<GLint>(colour[slot]->desc.mipSlice);
        if (texture.target == GL_TEXTURE_2D_ARRAY)
            glFramebufferTextureLayer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + slot, texture.name, mip,
                                      static_cast<GLint>(colour[slot]->desc.arraySlice));
        else
            glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + slot, GL_TEXTURE_2D, texture.name, mip);
        drawBuffers[slot] = GL_COLOR_ATTACHMENT0 + slot;
        drawCount = static_cast<GLsizei>(slot + 1);
    }
    if (depth != nullptr)
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, depth->name, 0);
    if (drawCount > 0)
        glDrawBuffers(drawCount, drawBuffers);
    else
        glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const GLenum status = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &framebuffer);
        throw GpuError("OMSetRenderTargets", "targets of different sizes or an unrenderable format");
    }
    cache.push_back({ids, subresources, framebuffer});
    return framebuffer;
}

void Context::ApplyFramebuffer()
{
    std::array<uint64_t, 9> ids{};
    std::array<uint32_t, 9> subresources{};
    RenderTargetView* colour[RenderTargetSlots] = {};
    uint32_t colourCount = 0;
    for (uint32_t slot = 0; slot < RenderTargetSlots; ++slot) {
        if (!renderTargets[slot])
            continue;
        colour[slot] = renderTargets[slot].get();
        const Texture2D& texture = *colour[slot]->texture;
        ids[slot] = texture.Id();
        subresources[slot] = colour[slot]->desc.mipSlice + colour[slot]->desc.arraySlice * texture.desc.mipLevels;
        colourCount = slot + 1;
    }
    Texture2D* depth = depthStencil ? depthStencil->texture.get() : nullptr;
    if (depth)
        ids[8] = depth->Id();
    currentFramebuffer =
        colourCount == 0 && depth == nullptr ? 0 : FramebufferFor(ids, subresources, colour, colourCount, depth);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, currentFramebuffer);
    framebufferDirty = false;
}

void Context::ApplyProgram()
{
    auto& programs = device.state->programs;
    const uint64_t pixelId = pixelShader ? pixelShader->Id() : 0;
    const LinkedProgram* found = nullptr;
    for (const LinkedProgram& linked : programs)
        if (linked.vertexShader == vertexShader->Id() && linked.pixelShader == pixelId)
            found = &linked;
    if (found == nullptr) {
        programs.push_back(LinkProgram(*vertexShader, vertexShader->attributes, vertexShader->name, pixelShader.get(),
                                       pixelShader ? pixelShader->name : 0));
        found = &programs.back();
    }
    currentProgram = found->program;
    glUseProgram(currentProgram);
    sampledUnits.clear();
    for (const LinkedProgram::SampledUnit& unit : found->sampledUnits)
        sampledUnits.emplace_back(unit.unit, unit.samplerSlot);
    programDirty = false;
}

void Context::ApplyVertexInput(uint32_t startInstance)
{
    if (!inputLayout) {
        for (uint32_t location = 0; location < 32; ++location)
            if (enabledAttributes & (1u << location))
                glDisableVertexAttribArray(location);
        enabledAttributes = 0;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer ? indexBuffer->name : 0);
        appliedStartInstance = startInstance;
        inputDirty = false;
        return;
    }
    if (inputLayout->signature != vertexShader->signature)
        throw GpuError("Draw", "the input layout was made for a vertex shader with other inputs");
    uint32_t used = 0;
    for (const InputLayout::Element& element : inputLayout->elements) {
        const GlVertexFormat format = VertexFormatOf(element.format, "Draw");
        const Buffer* buffer = vertexBuffers[element.slot].get();
        if (buffer == nullptr) {
            // Direct3D reads zeros from an empty slot.
            glDisableVertexAttribArray(element.location);
            glVertexAttrib4f(element.location, 0, 0, 0, 0);
            continue;
        }
        size_t offset = offsets[element.slot] + element.offset;
        if (element.perInstance && element.stepRate > 0)
            offset += static_cast<size_t>(startInstance / element.stepRate) * strides[element.slot];
        glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
        const auto pointer = reinterpret_cast<const void*>(offset);
        const GLsizei stride = static_cast<GLsizei>(strides[element.slot]);
        if (format.integer)
            glVertexAttribIPointer(element.location, format.components, format.type, stride, pointer);
        else
            glVertexAttribPointer(element.location, format.components, format.type,
                                  format.normalized ? GL_TRUE : GL_FALSE, stride, pointer);
        glVertexAttribDivisor(element.location, element.perInstance ? std::max(1u, element.stepRate) : 0);
        glEnableVertexAttribArray(element.location);
        used |= 1u << element.location;
    }
    for (uint32_t location = 0; location < 32; ++location)
        if ((enabledAttributes & (1u << location)) && !(used & (1u << location)))
            glDisableVertexAttribArray(location);
    enabledAttributes = used;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer ? indexBuffer->name : 0);
    appliedStartInstance = startInstance;
    inputDirty = false;
}

void Context::ApplyStates()
{
    // Blending: OpenGL 3.3 keeps one equation for every target.
    const BlendDesc blend = blendState ? blendState->Desc() : BlendDesc{};
    const RenderTargetBlendDesc& first = blend.renderTarget[0];
    for (GLuint slot = 0; slot < RenderTargetSlots; ++slot) {
        const RenderTargetBlendDesc& target = blend.independentBlend ? blend.renderTarget[slot] : first;
        if (target.blendEnable)
            glEnablei(GL_BLEND, slot);
        else
            glDisablei(GL_BLEND, slot);
        const uint8_t mask = target.renderTargetWriteMask;
        glColorMaski(slot, (mask & ColorWriteRed) != 0, (mask & ColorWriteGreen) != 0, (mask & ColorWriteBlue) != 0,
                     (mask & ColorWriteAlpha) != 0);
    }
    glBlendFuncSeparate(GlBlend(first.srcBlend), GlBlend(first.destBlend), GlBlend(first.srcBlendAlpha),
                        GlBlend(first.destBlendAlpha));
    glBlendEquationSeparate(GlBlendOp(first.blendOp), GlBlendOp(first.blendOpAlpha));
    glBlendColor(blendFactor[0], blendFactor[1], blendFactor[2], blendFactor[3]);

    const DepthStencilDesc depth = depthStencilState ? depthStencilState->Desc() : DepthStencilDesc{};
    if (depth.depthEnable)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(depth.depthWrite ? GL_TRUE : GL_FALSE);
    glDepthFunc(GlCompare(depth.depthFunc));
    if (depth.stencilEnable)
        glEnable(GL_STENCIL_TEST);
    else
        glDisable(GL_STENCIL_TEST);
    glStencilMask(depth.stencilWriteMask);
    const StencilFaceDesc* faces[2] = {&depth.frontFace, &depth.backFace};
    const GLenum glFaces[2] = {GL_FRONT, GL_BACK};
    for (int face = 0; face < 2; ++face) {
        glStencilFuncSeparate(glFaces[face], GlCompare(faces[face]->func), static_cast<GLint>(stencilRef),
                              depth.stencilReadMask);
        glStencilOpSeparate(glFaces[face], GlStencilOp(faces[face]->failOp), GlStencilOp(faces[face]->depthFailOp),
                            GlStencilOp(faces[face]->passOp));
    }

    const RasterizerDesc raster = rasterizerState ? rasterizerState->Desc() : RasterizerDesc{};
    // The y flip in every vertex shader mirrors the picture, so a triangle
    // clockwise on screen is counter-clockwise to OpenGL.
    glFrontFace(raster.frontCounterClockwise ? GL_CW : GL_CCW);
    if (raster.cullMode == CullMode::None) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(raster.cullMode == CullMode::Front ? GL_FRONT : GL_BACK);
    }
    glPolygonMode(GL_FRONT_AND_BACK, raster.fillMode == FillMode::Wireframe ? GL_LINE : GL_FILL);
    if (raster.depthClipEnable)
        glDisable(GL_DEPTH_CLAMP);
    else
        glEnable(GL_DEPTH_CLAMP);
    if (raster.scissorEnable)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
    glScissor(scissor.left, scissor.top, scissor.right - scissor.left, scissor.bottom - scissor.top);
    glViewport(static_cast<GLint>(viewport.topLeftX), static_cast<GLint>(viewport.topLeftY),
               static_cast<GLsizei>(viewport.width), static_cast<GLsizei>(viewport.height));
    glDepthRange(viewport.minDepth, viewport.maxDepth);
    statesDirty = false;
}

void Context::PrepareDraw()
{
    assert(vertexShader && "draw without a vertex shader");
    assert(inputLayout || vertexShader->attributes.empty());
    if (programDirty)
        ApplyProgram();
    for (const auto& [unit, slot] : sampledUnits)
        glBindSampler(unit, samplers[slot] ? samplers[slot]->name : defaultSampler);
    if (framebufferDirty)
        ApplyFramebuffer();
    if (statesDirty)
        ApplyStates();
}

void Context::Draw(uint32_t vertexCount, uint32_t startVertex)
{
    DrawInstanced(vertexCount, 1, startVertex, 0);
}

void Context::DrawInstanced(uint32_t vertexCountPerInstance, uint32_t instanceCount, uint32_t startVertex,
                            uint32_t startInstance)
{
    PrepareDraw();
    if (currentFramebuffer == 0 || vertexCountPerInstance == 0 || instanceCount == 0)
        return;
    if (inputDirty || startInstance != appliedStartInstance)
        ApplyVertexInput(startInstance);
    glDrawArraysInstanced(GlTopology(topology), static_cast<GLint>(startVertex),
                          static_cast<GLsizei>(vertexCountPerInstance), static_cast<GLsizei>(instanceCount));
}

void Context::DrawIndexed(uint32_t indexCount, uint32_t startIndex, int32_t baseVertex)
{
    DrawIndexedInstanced(indexCount, 1, startIndex, baseVertex, 0);
}

void Context::DrawIndexedInstanced(uint32_t indexCountPerInstance, uint32_t instanceCount, uint32_t startIndex,
                                   int32_t baseVertex, uint32_t startInstance)
{
    PrepareDraw();
    if (currentFramebuffer == 0 || indexCountPerInstance == 0 || instanceCount == 0)
        return;
    assert(indexBuffer && "indexed draw without an index buffer");
    if (inputDirty || startInstance != appliedStartInstance)
        ApplyVertexInput(startInstance);
    const uint32_t indexSize = indexFormat == Format::R32_UINT ? 4 : 2;
    const auto first = reinterpret_cast<const void*>(static_cast<size_t>(indexOffset + startIndex * indexSize));
    glDrawElementsInstancedBaseVertex(GlTopology(topology), static_cast<GLsizei>(indexCountPerInstance),
                                      indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, first,
                                      static_cast<GLsizei>(instanceCount), baseVertex);
}

void Context::ClearState()
{
    vertexShader.reset();
    pixelShader.reset();
    for (uint32_t slot = 0; slot < ConstantBufferSlots; ++slot) {
        vsConstantBuffers[slot].reset();
        psConstantBuffers[slot].reset();
        glBindBufferBase(GL_UNIFORM_BUFFER, slot, 0);
        glBindBufferBase(GL_UNIFORM_BUFFER, PixelStageBindingBase + slot, 0);
    }
    for (uint32_t slot = 0; slot < ShaderResourceSlots; ++slot) {
        shaderResources[slot].reset();
        BindTextureUnit(slot, nullptr);
        glBindSampler(slot, 0);
    }
    for (auto& sampler : samplers)
        sampler.reset();
    inputLayout.reset();
    for (auto& buffer : vertexBuffers)
        buffer.reset();
    indexBuffer.reset();
    for (auto& target : renderTargets)
        target.reset();
    depthStencil.reset();
    blendState.reset();
    sampleMask = 0xffffffffu;
    std::fill(std::begin(blendFactor), std::end(blendFactor), 1.0f);
    depthStencilState.reset();
    stencilRef = 0;
    rasterizerState.reset();
    viewport = {};
    scissor = {};
    topology = PrimitiveTopology::Undefined;
    programDirty = inputDirty = statesDirty = framebufferDirty = true;
}

void Context::Finish()
{
    glFinish();
}

// ---- read-back ----

void Context::ReadLevel(Texture2D* texture, uint32_t mip, uint32_t slice, uint32_t format, uint32_t type,
                        size_t bytesPerPixel, void* out)
{
    const Texture2DDesc& desc = texture->desc;
    if (mip >= desc.mipLevels || slice >= desc.arraySize || texture->target == GL_TEXTURE_CUBE_MAP)
        throw GpuError("ReadPixels", "no such level or slice");
    const size_t sliceBytes =
        static_cast<size_t>(std::max(1u, desc.width >> mip)) * std::max(1u, desc.height >> mip) * bytesPerPixel;
    glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
    glBindTexture(texture->target, texture->name);
    if (texture->target == GL_TEXTURE_2D_ARRAY) {
        // OpenGL 3.3 reads every slice of a level at once.
        std::vector<uint8_t> all(sliceBytes * desc.arraySize);
        glGetTexImage(GL_TEXTURE_2D_ARRAY, static_cast<GLint>(mip), format, type, all.data());
        std::memcpy(out, all.data() + sliceBytes * slice, sliceBytes);
    } else {
        glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(mip), format, type, out);
    }
    glBindTexture(texture->target, 0);
}

std::vector<uint8_t> Context::ReadPixelsRGBA8(Texture2D* texture, uint32_t mip, uint32_t slice)
{
    const Texture2DDesc& desc = texture->desc;
    if (FormatSize(desc.format) != 4 || IsDepthFormat(desc.format))
        throw GpuError("ReadPixels", "not a four-byte colour format");
    std::vector<uint8_t> pixels(static_cast<size_t>(std::max(1u, desc.width >> mip)) *
                                std::max(1u, desc.height >> mip) * 4);
    ReadLevel(texture, mip, slice, GL_RGBA, desc.format == Format::R8G8B8A8_SNORM ? GL_BYTE : GL_UNSIGNED_BYTE, 4,
              pixels.data());
    return pixels;
}

std::vector<float> Context::ReadPixelsFloat(Texture2D* texture, uint32_t mip, uint32_t slice)
{
    const Texture2DDesc& desc = texture->desc;
    std::vector<float> pixels(static_cast<size_t>(std::max(1u, desc.width >> mip)) * std::max(1u, desc.height >> mip) *
                              4);
    ReadLevel(texture, mip, slice, GL_RGBA, GL_FLOAT, 4 * sizeof(float), pixels.data());
    return pixels;
}

void Context::ReadRedGreen(Texture2D* texture, std::span<float> out)
{
    const Texture2DDesc& desc = texture->desc;
    if (texture->target != GL_TEXTURE_2D || out.size() != size_t{desc.width} * desc.height * 2)
        throw GpuError("ReadRedGreen", "not a 2D texture of the size given");
    ReadLevel(texture, 0, 0, GL_RG, GL_FLOAT, 2 * sizeof(float), out.data());
}

std::vector<uint8_t> Context::ReadStencil(Texture2D* texture)
{
    const Texture2DDesc& desc = texture->desc;
    if (desc.format != Format::D24_UNORM_S8_UINT)
        throw GpuError("ReadStencil", "not a depth-stencil texture");
    // OpenGL 3.3 reads the stencil only together with the depth: 24 bits of
    // depth above 8 of stencil.
    std::vector<uint32_t> packed(static_cast<size_t>(desc.width) * desc.height);
    ReadLevel(texture, 0, 0, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, sizeof(uint32_t), packed.data());
    std::vector<uint8_t> stencil(packed.size());
    for (size_t i = 0; i < packed.size(); ++i)
        stencil[i] = static_cast<uint8_t>(packed[i] & 0xff);
    return stencil;
}

std::vector<float> Context::ReadDepth(Texture2D* texture)
{
    const Texture2DDesc& desc = texture->desc;
    if (!IsDepthFormat(desc.format))
        throw GpuError("ReadDepth", "not a depth texture");
    std::vector<float> depth(static_cast<size_t>(desc.width) * desc.height);
    ReadLevel(texture, 0, 0, GL_DEPTH_COMPONENT, GL_FLOAT, sizeof(float), depth.data());
    return depth;
}

} // namespace mirefell::gpu
