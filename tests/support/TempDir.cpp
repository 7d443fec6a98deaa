#include "support/TempDir.h"

#include <random>
#include <sstream>
#include <stdexcept>

namespace mirefell::testing
{

TempDir::TempDir()
{
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = std::filesystem::temp_directory_path() / ("mirefell-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(path))
            return;
    }
    throw std::runtime_error("could not create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::filesystem::create_directories((path / name).parent_path());
    std::ofstream file(path / name, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string TempDir::Read(const std::string& name) const
{
    std::ifstream file(path / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> TemporaryCopiesOf(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string start = file.filename().string() + ".tmp";
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error))
        if (entry.path().filename().string().compare(0, start.size(), start) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

} // namespace mirefell::testing
