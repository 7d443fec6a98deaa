// Device: object creation over the current OpenGL context, and the shader
// preamble that carries Direct3D's clip-space conventions.
#include "platform/gpu/Device.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/gpu/Context.h"
#include "platform/gpu/DeviceState.h"
#include "platform/gpu/GlFormat.h"
#include "platform/gpu/GpuError.h"

namespace mirefell::gpu
{

using namespace detail;

namespace
{

// A compiler log can run to hundreds of lines for one typo; the first few say
// what went wrong.
constexpr int ShownLogLines = 8;

std::string FirstLines(std::string text, int count)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    size_t end = 0;
    for (int line = 0; line < count; ++line) {
        end = text.find('\n', end);
        if (end == std::string::npos)
            return text;
        ++end;
    }
    const auto rest = std::count(text.begin() + static_cast<long>(end), text.end(), '\n');
    return text.substr(0, end) + "... (" + std::to_string(rest + 1) + " more lines)";
}

std::string SizeText(const Texture2DDesc& desc)
{
    return std::to_string(desc.width) + "x" + std::to_string(desc.height) + ": ";
}

} // namespace

// ---- DeviceChild and the destructors of objects that own GL names ----

DeviceChild::DeviceChild(std::shared_ptr<DeviceState> state_) : state(std::move(state_)), id(state->nextId++)
{
    ++state->liveObjects;
}

DeviceChild::~DeviceChild()
{
    --state->liveObjects;
}

bool DeviceChild::DeviceAlive() const
{
    return state->alive;
}

Buffer::~Buffer()
{
    if (DeviceAlive() && name != 0)
        glDeleteBuffers(1, &name);
}

Texture2D::~Texture2D()
{
    if (!DeviceAlive())
        return;
    state->ForgetTexture(id);
    if (name != 0)
        glDeleteTextures(1, &name);
}

VertexShader::~VertexShader()
{
    if (!DeviceAlive())
        return;
    state->ForgetShader(id);
    if (name != 0)
        glDeleteShader(name);
}

PixelShader::~PixelShader()
{
    if (!DeviceAlive())
        return;
    state->ForgetShader(id);
    if (name != 0)
        glDeleteShader(name);
}

SamplerState::~SamplerState()
{
    if (DeviceAlive() && name != 0)
        glDeleteSamplers(1, &name);
}

void DeviceState::ForgetShader(uint64_t shaderId)
{
    std::erase_if(programs, [shaderId](const LinkedProgram& linked) {
        if (linked.vertexShader != shaderId && linked.pixelShader != shaderId)
            return false;
        glDeleteProgram(linked.program);
        return true;
    });
}

void DeviceState::ForgetTexture(uint64_t textureId)
{
    std::erase_if(framebuffers, [textureId](const CachedFramebuffer& cached) {
        if (std::find(cached.attachments.begin(), cached.attachments.end(), textureId) == cached.attachments.end())
            return false;
        glDeleteFramebuffers(1, &cached.framebuffer);
        return true;
    });
}

// ---- Device ----

namespace
{

void ClearGlErrors()
{
    while (glGetError() != GL_NO_ERROR) {
    }
}

uint32_t FullMipCount(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    for (uint32_t side = std::max(width, height); side > 1; side /= 2)
        ++levels;
    return levels;
}

// Whether the driver can draw into RGBA8_SNORM; a bare 3.3 need not.
bool ProbeSnormRendering()
{
    GLuint texture = 0;
    GLuint framebuffer = 0;
    glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8_SNORM, 4, 4, 0, GL_RGBA, GL_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
    glGetError();
    return complete;
}

} // namespace

Device::Device(const DeviceOptions& options) : state(std::make_shared<DeviceState>())
{
    if (SDL_GL_GetCurrentContext() == nullptr)
        throw GpuError("CreateDevice", "no current OpenGL context");
    const int version = epoxy_gl_version();
    if (version < 33)
        throw GpuError("CreateDevice", "OpenGL 3.3 or later is needed, the context offers " +
                                           std::to_string(version / 10) + "." + std::to_string(version % 10));
    featureLevel = version >= 43 ? FeatureLevel::Level11_0 : FeatureLevel::Level10_0;
    anisotropy = version >= 46 || epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") ||
                 epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");
    const bool hasClipControl = version >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    clipControl = hasClipControl && !options.forceDepthFixup;
    if (hasClipControl)
        glClipControl(GL_LOWER_LEFT, clipControl ? GL_ZERO_TO_ONE : GL_NEGATIVE_ONE_TO_ONE);

    // Direct3D writes sRGB targets encoded, filters cube maps across faces and
    // reads rows as tightly packed as the caller says.
    glEnable(GL_FRAMEBUFFER_SRGB);
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    snormRenderable = ProbeSnormRendering();
    context = std::make_unique<Context>(*this);
}

Device::~Device()
{
    context.reset();
    for (const LinkedProgram& linked : state->programs)
        glDeleteProgram(linked.program);
    for (const CachedFramebuffer& cached : state->framebuffers)
        glDeleteFramebuffers(1, &cached.framebuffer);
    state->programs.clear();
    state->framebuffers.clear();
    if (clipControl)
        glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    state->alive = false;
}

uint64_t Device::LiveObjectCount() const
{
    return state->liveObjects;
}

std::shared_ptr<Buffer> Device::CreateBuffer(const BufferDesc& desc, const void* initialData)
{
    if (desc.byteWidth == 0)
        throw GpuError("CreateBuffer", "zero bytes");
    if (desc.usage == Usage::Immutable && initialData == nullptr)
        throw GpuError("CreateBuffer", "an immutable buffer needs its contents");
    if ((desc.bindFlags & BindConstantBuffer) != 0 && desc.byteWidth % 16 != 0)
        throw GpuError("CreateBuffer", "constant buffers are whole multiples of 16 bytes");
    if (desc.usage == Usage::Dynamic && !desc.cpuWrite)
        throw GpuError("CreateBuffer", "a dynamic buffer needs CPU write access");

    ClearGlErrors();
    auto buffer = std::make_shared<Buffer>(state);
    buffer->desc = desc;
    glGenBuffers(1, &buffer->name);
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->name);
    const GLenum hint = desc.usage == Usage::Dynamic ? GL_STREAM_DRAW : GL_STATIC_DRAW;
    if (desc.usage == Usage::Dynamic) {
        buffer->staging.assign(desc.byteWidth, 0);
        if (initialData != nullptr)
            std::memcpy(buffer->staging.data(), initialData, desc.byteWidth);
        glBufferData(GL_COPY_WRITE_BUFFER, desc.byteWidth, buffer->staging.data(), hint);
    } else {
        glBufferData(GL_COPY_WRITE_BUFFER, desc.byteWidth, initialData, hint);
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    if (glGetError() != GL_NO_ERROR)
        throw GpuError("CreateBuffer", "the driver refused the buffer");
    return buffer;
}

std::shared_ptr<Texture2D> Device::CreateTexture2D(const Texture2DDesc& descIn, const SubresourceData* initialData)
{
    Texture2DDesc desc = descIn;
    if (desc.width == 0 || desc.height == 0)
        throw GpuError("CreateTexture2D", SizeText(desc) + "zero-sized texture");
    const bool cube = (desc.miscFlags & TextureCube) != 0;
    const bool array = !cube && desc.arraySize > 1;
    if (cube ? desc.arraySize != 6 : desc.arraySize == 0)
        throw GpuError("CreateTexture2D", "a cube has six faces, any other texture at least one slice");
    if (desc.mipLevels == 0)
        desc.mipLevels = FullMipCount(desc.width, desc.height);
    if (desc.usage == Usage::Immutable && initialData == nullptr)
        throw GpuError("CreateTexture2D", "an immutable texture needs its contents");
    const bool depth = IsDepthFormat(desc.format);
    if (depth && initialData != nullptr)
        throw GpuError("CreateTexture2D", "depth textures start cleared");
    if (depth && array)
        throw GpuError("CreateTexture2D", "depth textures cannot be arrays");

    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (desc.width > static_cast<uint32_t>(largest) || desc.height > static_cast<uint32_t>(largest))
        throw GpuError("CreateTexture2D",
                       SizeText(desc) + "larger than the GPU's limit of " + std::to_string(largest) + " pixels a side");

    GlTextureFormat format = TextureFormatOf(desc.format, "CreateTexture2D");
    if (desc.format == Format::R8G8B8A8_SNORM && (desc.bindFlags & BindRenderTarget) != 0 && !snormRenderable)
        format = {GL_RGBA16F, GL_RGBA, GL_HALF_FLOAT};

    ClearGlErrors();
    auto texture = std::make_shared<Texture2D>(state);
    texture->desc = desc;
    texture->target = cube ? GL_TEXTURE_CUBE_MAP : array ? GL_TEXTURE_2D_ARRAY : GL_TEXTURE_2D;
    texture->baseLevel = 0;
    texture->maxLevel = desc.mipLevels - 1;
    glActiveTexture(GL_TEXTURE0 + ScratchTextureUnit);
    glGenTextures(1, &texture->name);
    glBindTexture(texture->target, texture->name);
    // Every level below mipLevels exists, so a mipmapping sampler never sees
    // an incomplete texture.
    glTexParameteri(texture->target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(texture->target, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(desc.mipLevels - 1));
    const uint32_t pixelSize = FormatSize(desc.format);
    if (array) {
        for (uint32_t mip = 0; mip < desc.mipLevels; ++mip)
            glTexImage3D(GL_TEXTURE_2D_ARRAY, static_cast<GLint>(mip), static_cast<GLint>(format.internalFormat),
                         static_cast<GLsizei>(std::max(1u, desc.width >> mip)),
                         static_cast<GLsizei>(std::max(1u, desc.height >> mip)), static_cast<GLsizei>(desc.arraySize),
                         0, format.format, format.type, nullptr);
    }
    for (uint32_t slice = 0; slice < desc.arraySize; ++slice) {
        const GLenum faceTarget = cube ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + slice : GL_TEXTURE_2D;
        for (uint32_t mip = 0; mip < desc.mipLevels; ++mip) {
            const GLsizei width = static_cast<GLsizei>(std::max(1u, desc.width >> mip));
            const GLsizei height = static_cast<GLsizei>(std::max(1u, desc.height >> mip));
            const SubresourceData* data = initialData ? &initialData[slice * desc.mipLevels + mip] : nullptr;
            const bool hasPitch = data && data->rowPitch != 0 && pixelSize != 0;
            glPixelStorei(GL_UNPACK_ROW_LENGTH, hasPitch ? static_cast<GLint>(data->rowPitch / pixelSize) : 0);
            if (!array)
                glTexImage2D(faceTarget, static_cast<GLint>(mip), static_cast<GLint>(format.internalFormat), width,
                             height, 0, format.format, format.type, data ? data->data : nullptr);
            else if (data != nullptr)
                glTexSubImage3D(GL_TEXTURE_2D_ARRAY, static_cast<GLint>(mip), 0, 0, static_cast<GLint>(slice), width,
                                height, 1, format.format, format.type, data->data);
        }
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (glGetError() != GL_NO_ERROR)
        throw GpuError("CreateTexture2D", SizeText(desc) + "the driver refused the texture");
    return texture;
}

std::shared_ptr<ShaderResourceView> Device::CreateShaderResourceView(Texture2D* texture,
                                                                     const ShaderResourceViewDesc* desc)
{
    if (texture == nullptr || (texture->desc.bindFlags & BindShaderResource) == 0)
        throw GpuError("CreateShaderResourceView", "texture not made for shader reads");
    auto view = std::make_shared<ShaderResourceView>(state);
    view->texture = std::static_pointer_cast<Texture2D>(texture->shared_from_this());
    if (desc != nullptr)
        view->desc = *desc;
    if (view->desc.format == Format::Unknown)
        view->desc.format = texture->desc.format;
    view->desc.dimension = texture->target == GL_TEXTURE_CUBE_MAP   ? ViewDimension::TextureCube
                           : texture->target == GL_TEXTURE_2D_ARRAY ? ViewDimension::Texture2DArray
                                                                    : ViewDimension::Texture2D;
    const uint32_t levels = texture->desc.mipLevels;
    ShaderResourceViewDesc& range = view->desc;
    if (range.mostDetailedMip >= levels)
        throw GpuError("CreateShaderResourceView", "the first mip level is beyond the texture's");
    if (range.mipLevels == AllMipLevels)
        range.mipLevels = levels - range.mostDetailedMip;
    if (range.mipLevels == 0 || range.mipLevels > levels - range.mostDetailedMip)
        throw GpuError("CreateShaderResourceView", "the mip range runs beyond the texture's levels");
    return view;
}

std::shared_ptr<RenderTargetView> Device::CreateRenderTargetView(Texture2D* texture, const RenderTargetViewDesc* desc)
{
    if (texture == nullptr || (texture->desc.bindFlags & BindRenderTarget) == 0 ||
        (texture->desc.miscFlags & TextureCube) != 0)
        throw GpuError("CreateRenderTargetView", "texture not made as a render target");
    auto view = std::make_shared<RenderTargetView>(state);
    if (desc != nullptr)
        view->desc = *desc;
    if (view->desc.mipSlice >= texture->desc.mipLevels || view->desc.arraySlice >= texture->desc.arraySize)
        throw GpuError("CreateRenderTargetView", "mip level or slice beyond the texture's");
    view->texture = std::static_pointer_cast<Texture2D>(texture->shared_from_this());
    return view;
}

std::shared_ptr<DepthStencilView> Device::CreateDepthStencilView(Texture2D* texture)
{
    if (texture == nullptr || (texture->desc.bindFlags & BindDepthStencil) == 0 || !IsDepthFormat(texture->desc.format))
        throw GpuError("CreateDepthStencilView", "texture not made as a depth target");
    auto view = std::make_shared<DepthStencilView>(state);
    view->texture = std::static_pointer_cast<Texture2D>(texture->shared_from_this());
    return view;
}

// Compiles one stage. Vertex shaders get the clip-space mapping appended: the
// file's main is renamed and called from ours, which then flips y (row 0 at
// the top) and, without clip control, maps depth 0..1 onto OpenGL's -1..1.
uint32_t Device::CompileStage(uint32_t stage, const void* source, size_t size, const char* call) const
{
    const std::string text(static_cast<const char*>(source), size);
    std::string assembled;
    if (stage == GL_VERTEX_SHADER) {
        size_t versionEnd = 0;
        size_t line = 1;
        const size_t version = text.find("#version");
        if (version == std::string::npos)
            throw GpuError(call, "shader source has no #version line");
        versionEnd = text.find('\n', version);
        if (versionEnd == std::string::npos)
            throw GpuError(call, "shader source ends after its #version line");
        line += static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(versionEnd), '\n'));
        assembled = text.substr(0, versionEnd + 1) + "#define main MirefellShaderMain\n#line " +
                    std::to_string(line + 1) + "\n" + text.substr(versionEnd + 1) +
                    "\n#undef main\nvoid main()\n{\n    MirefellShaderMain();\n"
                    "    gl_Position.y = -gl_Position.y;\n";
        if (!clipControl)
            assembled += "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n";
        assembled += "}\n";
    } else {
        assembled = text;
    }
    const GLuint shader = glCreateShader(stage);
    const char* sources[] = {assembled.c_str()};
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<size_t>(std::max(length, 1)), '\0');
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        glDeleteShader(shader);
        throw GpuError(call, FirstLines(log.c_str(), ShownLogLines));
    }
    return shader;
}

// The inputs a vertex shader declares ("in <type> <name>;" at file scope),
// sorted by name and given consecutive locations. Declared inputs are read
// from the text rather than asked of the driver, which drops inputs that only
// feed outputs when a shader is linked alone.
std::vector<VertexAttribute> Device::ReflectAttributes(const void* source, size_t size) const
{
    std::string text(static_cast<const char*>(source), size);
    // Drop comments and preprocessor lines.
    std::string code;
    code.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "//") == 0 || (text[i] == '#' && (i == 0 || text[i - 1] == '\n'))) {
            i = text.find('\n', i);
            if (i == std::string::npos)
                break;
            code += '\n';
        } else if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i + 2);
            if (i == std::string::npos)
                break;
            ++i;
            code += ' ';
        } else {
            code += text[i];
        }
    }
    // Walk the statements at brace depth 0.
    std::vector<VertexAttribute> attributes;
    int depth = 0;
    std::string statement;
    for (char c : code) {
        if (c == '{') {
            ++depth;
            statement.clear();
        } else if (c == '}') {
            --depth;
            statement.clear();
        } else if (depth == 0 && c == ';') {
            // Tokens of the statement, with a layout(...) qualifier removed.
            const size_t layout = statement.find("layout");
            if (layout != std::string::npos) {
                const size_t close = statement.find(')', layout);
                if (close != std::string::npos)
                    statement.erase(layout, close + 1 - layout);
            }
            std::vector<std::string> tokens;
            std::string token;
            for (char t : statement + " ") {
                if (std::isalnum(static_cast<unsigned char>(t)) || t == '_') {
                    token += t;
                } else if (!token.empty()) {
                    tokens.push_back(token);
                    token.clear();
                }
            }
            size_t at = 0;
            while (at < tokens.size() && (tokens[at] == "flat" || tokens[at] == "smooth" || tokens[at] == "highp" ||
                                          tokens[at] == "mediump" || tokens[at] == "lowp"))
                ++at;
            if (tokens.size() == at + 3 && tokens[at] == "in") {
                const std::string& type = tokens[at + 1];
                if (type.rfind("mat", 0) == 0 || type.rfind("dmat", 0) == 0)
                    throw GpuError("CreateVertexShader",
                                   "input " + tokens[at + 2] + " must be one vector per element (WORLD0..WORLD3)");
                attributes.push_back({tokens[at + 2], 0, 1});
            } else if (at < tokens.size() && tokens[at] == "in") {
                throw GpuError("CreateVertexShader", "declare one vertex input per statement: " + statement);
            }
            statement.clear();
        } else if (depth == 0) {
            statement += c;
        }
    }
    std::sort(attributes.begin(), attributes.end(),
              [](const VertexAttribute& a, const VertexAttribute& b) { return a.name < b.name; });
    uint32_t location = 0;
    for (VertexAttribute& attribute : attributes) {
        attribute.location = location;
        location += attribute.slots;
    }
    return attributes;
}

std::shared_ptr<VertexShader> Device::CreateVertexShader(const void* source, size_t size)
{
    auto shader = std::make_shared<VertexShader>(state);
    shader->attributes = ReflectAttributes(source, size);
    shader->name = CompileStage(GL_VERTEX_SHADER, source, size, "CreateVertexShader");
    for (const VertexAttribute& attribute : shader->attributes)
        shader->signature += attribute.name + ";";
    return shader;
}

std::shared_ptr<PixelShader> Device::CreatePixelShader(const void* source, size_t size)
{
    auto shader = std::make_shared<PixelShader>(state);
    shader->name = CompileStage(GL_FRAGMENT_SHADER, source, size, "CreatePixelShader");
    return shader;
}

std::shared_ptr<InputLayout> Device::CreateInputLayout(const InputElement* elements, uint32_t count,
                                                       const void* vertexShaderSource, size_t size)
{
    // The locations are those the shader's own creation assigns; the text is
    // compiled too, so a layout is never made against a broken shader.
    const GLuint shader = CompileStage(GL_VERTEX_SHADER, vertexShaderSource, size, "CreateInputLayout");
    glDeleteShader(shader);
    std::vector<VertexAttribute> attributes;
    try {
        attributes = ReflectAttributes(vertexShaderSource, size);
    } catch (const GpuError& error) {
        throw GpuError("CreateInputLayout", error.Detail());
    }

    auto layout = std::make_shared<InputLayout>(state);
    std::vector<bool> supplied(attributes.size(), false);
    uint32_t nextOffset[VertexBufferSlots] = {};
    for (uint32_t i = 0; i < count; ++i) {
        const InputElement& element = elements[i];
        if (element.semanticName == nullptr || element.inputSlot >= VertexBufferSlots)
            throw GpuError("CreateInputLayout", "element without a name or beyond the vertex-buffer slots");
        VertexFormatOf(element.format, "CreateInputLayout");
        const uint32_t offset = element.alignedByteOffset == AppendAlignedElement ? nextOffset[element.inputSlot]
                                                                                  : element.alignedByteOffset;
        nextOffset[element.inputSlot] = offset + FormatSize(element.format);
        const std::string name = element.semanticName + std::to_string(element.semanticIndex);
        for (size_t a = 0; a < attributes.size(); ++a) {
            if (attributes[a].name != name)
                continue;
            supplied[a] = true;
            layout->elements.push_back({attributes[a].location, element.inputSlot, offset, element.format,
                                        element.perInstance, element.perInstance ? element.instanceStepRate : 0});
        }
    }
    // Direct3D's rule: every input the shader reads must come from an element.
    for (size_t a = 0; a < attributes.size(); ++a) {
        if (!supplied[a])
            throw GpuError("CreateInputLayout", "vertex shader input " + attributes[a].name + " has no element");
        layout->signature += attributes[a].name + ";";
    }
    return layout;
}

std::shared_ptr<BlendState> Device::CreateBlendState(const BlendDesc& desc)
{
    auto blend = std::make_shared<BlendState>(state);
    blend->desc = desc;
    return blend;
}

std::shared_ptr<DepthStencilState> Device::CreateDepthStencilState(const DepthStencilDesc& desc)
{
    auto depth = std::make_shared<DepthStencilState>(state);
    depth->desc = desc;
    return depth;
}

std::shared_ptr<RasterizerState> Device::CreateRasterizerState(const RasterizerDesc& desc)
{
    auto rasterizer = std::make_shared<RasterizerState>(state);
    rasterizer->desc = desc;
    return rasterizer;
}

std::shared_ptr<SamplerState> Device::CreateSamplerState(const SamplerDesc& desc)
{
    ClearGlErrors();
    auto sampler = std::make_shared<SamplerState>(state);
    sampler->desc = desc;
    glGenSamplers(1, &sampler->name);
    const GLuint name = sampler->name;
    GLenum minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLenum magFilter = GL_LINEAR;
    switch (desc.filter) {
    case Filter::MinMagMipPoint:
        minFilter = GL_NEAREST_MIPMAP_NEAREST;
        magFilter = GL_NEAREST;
        break;
    case Filter::MinMagPointMipLinear:
        minFilter = GL_NEAREST_MIPMAP_LINEAR;
        magFilter = GL_NEAREST;
        break;
    case Filter::MinMagLinearMipPoint:
        minFilter = GL_LINEAR_MIPMAP_NEAREST;
        break;
    case Filter::MinMagMipLinear:
    case Filter::Anisotropic:
        break;
    }
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, static_cast<GLint>(GlAddress(desc.addressU)));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, static_cast<GLint>(GlAddress(desc.addressV)));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, static_cast<GLint>(GlAddress(desc.addressW)));
    glSamplerParameterf(name, GL_TEXTURE_LOD_BIAS, desc.mipLodBias);
    glSamplerParameterf(name, GL_TEXTURE_MIN_LOD, std::max(desc.minLod, -1000.0f));
    glSamplerParameterf(name, GL_TEXTURE_MAX_LOD, std::min(desc.maxLod, 1000.0f));
    glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, desc.borderColor);
    if (desc.filter == Filter::Anisotropic && anisotropy)
        glSamplerParameterf(name, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                            static_cast<float>(std::clamp(desc.maxAnisotropy, 1u, 16u)));
    if (glGetError() != GL_NO_ERROR)
        throw GpuError("CreateSamplerState", "the driver refused the sampler");
    return sampler;
}

} // namespace mirefell::gpu
