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

} // namespace mirefell::testing
