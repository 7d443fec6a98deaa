// The asset generator's registry. Each kind of asset (sounds, textures, meshes,
// fonts) lives in its own source file and registers one generator function
// through a static AssetGenerator object; main runs them in name order so the
// output never depends on link order. Generators must be deterministic: the
// same build writes the same bytes.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace mirefell::assetgen
{

using GeneratorFunction = std::function<void(const std::filesystem::path& runDir)>;

struct AssetGenerator
{
    AssetGenerator(std::string name, GeneratorFunction function);
};

// Writes bytes to a file under the run folder, creating its folders; throws
// with the file name when it cannot.
void WriteFileBytes(const std::filesystem::path& path, const void* data, size_t size);

} // namespace mirefell::assetgen
