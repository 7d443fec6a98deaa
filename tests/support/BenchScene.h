// BenchScene: what a benchmark needs around a level it builds without a
// GPU: a scratch working folder of its own, entered for the scene's life
// (the player's level start saves the game there), and the scene nodes,
// particle store and camera that World::Create takes. Header-only, for the
// benchmarks, which link no test support library.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"

namespace mirefell::testing
{

struct BenchScene
{
    // The folder is "<temp>/mirefell-<name>-<process id>".
    explicit BenchScene(const std::string& name)
        : folder(std::filesystem::temp_directory_path() / ("mirefell-" + name + "-" + std::to_string(::getpid()))),
          previous(std::filesystem::current_path())
    {
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    ~BenchScene()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    BenchScene(const BenchScene&) = delete;
    BenchScene& operator=(const BenchScene&) = delete;

    std::filesystem::path folder;
    std::filesystem::path previous;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
};

} // namespace mirefell::testing
