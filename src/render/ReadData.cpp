// ReadData: working folder first, then the executable's folder.
#include "render/ReadData.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

} // namespace

std::vector<uint8_t> ReadData(const std::wstring& name)
{
    const std::filesystem::path relative(name);
    std::ifstream file(relative, std::ios::binary | std::ios::ate);
    if (!file.is_open()) {
        const std::filesystem::path folder = ExecutableFolder();
        if (!folder.empty())
            file.open(folder / relative, std::ios::binary | std::ios::ate);
    }
    if (!file.is_open())
        throw GameError("ReadData", relative.string());
    const std::streamoff size = file.tellg();
    if (size < 0)
        throw GameError("ReadData", relative.string());
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.seekg(0, std::ios::beg);
    if (!file || (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)))
        throw GameError("ReadData", relative.string());
    return bytes;
}

} // namespace mirefell
