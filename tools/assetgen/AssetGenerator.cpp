// Entry of the asset generator: `mirefell_assetgen <run folder>` runs every
// registered generator and reports the first failure with a non-zero exit.
#include "AssetGenerator.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <stdexcept>

namespace mirefell::assetgen
{

namespace
{
std::map<std::string, GeneratorFunction>& Registry()
{
    static std::map<std::string, GeneratorFunction> registry;
    return registry;
}
} // namespace

AssetGenerator::AssetGenerator(std::string name, GeneratorFunction function)
{
    Registry().emplace(std::move(name), std::move(function));
}

void WriteFileBytes(const std::filesystem::path& path, const void* data, size_t size)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file)
        throw std::runtime_error("can't write " + path.string());
}

} // namespace mirefell::assetgen

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mirefell_assetgen <run folder>\n");
        return 2;
    }
    const std::filesystem::path runDir = argv[1];
    for (const auto& [name, generate] : mirefell::assetgen::Registry()) {
        try {
            generate(runDir);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "mirefell_assetgen: %s: %s\n", name.c_str(), error.what());
            return 1;
        }
    }
    return 0;
}
