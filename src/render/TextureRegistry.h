// TextureRegistry: every texture of the game, loaded once per device from the
// fixed table (TextureTable.h) and handed out by name. Core loads it first
// among the device resources (the colour effect needs "normal") and clears it
// first on device loss; views handed out before a Clear are stale after it.
//
// Loading one entry: the entry is found or inserted empty, its old view is
// released, then the file is loaded into it. A file that cannot be read or
// decoded throws GameError("texture cannot be loaded", <path>) and stops the
// load at that row: earlier rows stay, the failing row keeps an empty view
// (GetTexture returns null for it), later rows are not loaded.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"

namespace mirefell
{

class TextureRegistry
{
public:
    using Map = std::map<std::string, std::shared_ptr<gpu::ShaderResourceView>>;

    static TextureRegistry& GetInstance();

    // The 69 rows in order, on the process-wide Device and context.
    void LoadAll();
    // One PNG as sRGB, with a generated mip chain or as a single level.
    void Load(const std::wstring& path, const std::string& name, bool generateMips);
    // One DDS (the sky box) as sRGB, with the levels the file holds.
    void LoadDDS(const std::wstring& path, const std::string& name);
    // The view under the name, still owned by the registry; names compare
    // exactly. Throws "invalid map<K, T> key" for a name without an entry.
    gpu::ShaderResourceView* GetTexture(std::string name) const;
    // Releases every view and removes every entry.
    void Clear();

    const Map& Entries() const { return entries; }

private:
    enum class Kind
    {
        Srgb,
        Linear,
    };
    void LoadPng(const std::wstring& path, const std::string& name, Kind kind, bool generateMips);
    std::shared_ptr<gpu::ShaderResourceView>& EmptyEntry(const std::string& name);

    Map entries;
};

} // namespace mirefell
