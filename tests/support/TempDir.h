// A fresh temporary folder per test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace mirefell::testing
{

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::string File(const std::string& name) const { return (path / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path;
};

// The names beside `path` that start with its name and ".tmp": the temporary
// copies a write of it leaves behind, which a failed write must not.
std::vector<std::string> TemporaryCopiesOf(const std::string& path);

} // namespace mirefell::testing
