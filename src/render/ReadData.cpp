// ReadData: working folder first, then the executable's folder.
#include "render/ReadData.h"

#include <algorithm>
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
        throw GameError("ReadData", "the file " + relative.string() +
                                        " is missing; looked in the working folder and beside the program");
    const std::streamoff size = file.tellg();
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<std::streamoff>(size, 0)));
    file.seekg(0, std::ios::beg);
    if (size < 0 || !file || (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)))
        throw GameError("ReadData", "the file " + relative.string() + " cannot be read");
    return bytes;
}

} // namespace mirefell
