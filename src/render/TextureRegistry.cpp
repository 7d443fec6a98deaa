// TextureRegistry: PNG and DDS files to GPU textures.
#include "render/TextureRegistry.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/GameError.h"
#include "platform/Image.h"
#include "platform/Lookup.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/DdsReader.h"
#include "render/GraphicsDevice.h"
#include "render/TextureTable.h"

namespace mirefell
{

namespace
{

constexpr const char* LoadFailure = "texture cannot be loaded";

std::vector<uint8_t> ReadWholeFile(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file)
        throw GameError(LoadFailure, std::filesystem::path(path).string());
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TextureRegistry& TextureRegistry::GetInstance()
{
    static TextureRegistry registry;
    return registry;
}

std::shared_ptr<gpu::ShaderResourceView>& TextureRegistry::EmptyEntry(const std::string& name)
{
    std::shared_ptr<gpu::ShaderResourceView>& entry = entries[name];
    entry.reset();
    return entry;
}

void TextureRegistry::LoadAll()
{
    for (const TextureTableRow& row : GetTextureTable()) {
        switch (row.mode) {
        case TextureLoadMode::MippedSrgb:
            Load(row.path, row.name, true);
            break;
        case TextureLoadMode::SingleSrgb:
            Load(row.path, row.name, false);
            break;
        case TextureLoadMode::NormalMap:
            LoadPng(row.path, row.name, Kind::Linear, true);
            break;
        case TextureLoadMode::DdsSrgb:
            LoadDDS(row.path, row.name);
            break;
        }
    }
}

void TextureRegistry::Load(const std::wstring& path, const std::string& name, bool generateMips)
{
    LoadPng(path, name, Kind::Srgb, generateMips);
}

void TextureRegistry::LoadPng(const std::wstring& path, const std::string& name, Kind kind, bool generateMips)
{
    std::shared_ptr<gpu::ShaderResourceView>& entry = EmptyEntry(name);
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    Image image;
    try {
        image = DecodeImage(bytes.data(), bytes.size());
    } catch (const GameError& error) {
        throw GameError(LoadFailure, std::filesystem::path(path).string() + ": " + error.Detail());
    }
    gpu::Texture2DDesc desc;
    desc.width = image.width;
    desc.height = image.height;
    desc.format = kind == Kind::Srgb ? gpu::Format::R8G8B8A8_UNORM_SRGB : gpu::Format::R8G8B8A8_UNORM;
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindShaderResource;
    if (generateMips) {
        desc.mipLevels = 0;
        desc.bindFlags |= gpu::BindRenderTarget;
        desc.miscFlags = gpu::TextureGenerateMips;
        auto texture = Device->CreateTexture2D(desc);
        DeviceContext->UpdateSubresource(texture.get(), 0, image.rgba.data(), image.width * 4);
        auto view = Device->CreateShaderResourceView(texture.get());
        DeviceContext->GenerateMips(view.get());
        entry = std::move(view);
    } else {
        desc.mipLevels = 1;
        const gpu::SubresourceData data{image.rgba.data(), image.width * 4};
        auto texture = Device->CreateTexture2D(desc, &data);
        entry = Device->CreateShaderResourceView(texture.get());
    }
}

void TextureRegistry::LoadDDS(const std::wstring& path, const std::string& name)
{
    std::shared_ptr<gpu::ShaderResourceView>& entry = EmptyEntry(name);
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    DdsImage image;
    try {
        image = ReadDds(bytes.data(), bytes.size());
    } catch (const GameError& error) {
        throw GameError(LoadFailure, std::filesystem::path(path).string() + ": " + error.Detail());
    }
    gpu::Texture2DDesc desc;
    desc.width = image.width;
    desc.height = image.height;
    desc.mipLevels = image.mipLevels;
    desc.arraySize = image.cube ? 6 : 1;
    desc.format = gpu::Format::R8G8B8A8_UNORM_SRGB;
    desc.usage = gpu::Usage::Immutable;
    desc.bindFlags = gpu::BindShaderResource;
    desc.miscFlags = image.cube ? uint32_t{gpu::TextureCube} : 0u;
    std::vector<gpu::SubresourceData> data;
    data.reserve(image.subresources.size());
    for (size_t i = 0; i < image.subresources.size(); ++i) {
        const uint32_t mip = static_cast<uint32_t>(i % image.mipLevels);
        data.push_back({image.subresources[i].data(), std::max(1u, image.width >> mip) * 4});
    }
    auto texture = Device->CreateTexture2D(desc, data.data());
    entry = Device->CreateShaderResourceView(texture.get());
}

gpu::ShaderResourceView* TextureRegistry::GetTexture(std::string name) const
{
    return MapAt(entries, name).get();
}

void TextureRegistry::Clear()
{
    for (auto& [name, view] : entries)
        view.reset();
    entries.clear();
}

} // namespace mirefell
