// Every GLSL file of the game validates with glslangValidator and compiles in
// the GPU layer as the stage its name says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/gpu/GpuError.h"
#include "support/GpuTest.h"

namespace mirefell::testing
{
namespace
{

std::vector<std::filesystem::path> ShaderFiles()
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path source = MIREFELL_SOURCE_DIR;
    for (const auto& folder : {source / "shaders", source / "assets" / "shaders"}) {
        if (!std::filesystem::exists(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".glsl")
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool IsVertexStage(const std::filesystem::path& file)
{
    return file.filename().string().find("VertexShader") != std::string::npos;
}

TEST(ShaderFiles, EveryEffectShaderExists)
{
    for (const char* effect : {"Color", "Texture", "InstancedTexture", "Decal", "Particle"})
        for (const char* stage : {"VertexShader", "PixelShader"})
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(MIREFELL_SOURCE_DIR) / "shaders" /
                                                (std::string(effect) + stage + ".glsl")))
                << effect << stage;
    for (const char* pass :
         {"DeferredPixelShader", "PointLightVertexShader", "PointLightPixelShader", "PostFXBloomExtractPixelShader",
          "PostFXScreenEffectPixelShader", "PostFXFxaaPixelShader", "PostFXGaussianBlurPixelShader",
          "PostFXLuminancePixelShader", "PostFXInvulnerabilityPixelShader", "BrightnessContrastPixelShader"})
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(MIREFELL_SOURCE_DIR) / "shaders" /
                                            (std::string(pass) + ".glsl")))
            << pass;
}

TEST(ShaderFiles, ValidateWithGlslang)
{
    const auto files = ShaderFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const std::string command = std::string("glslangValidator -S ") + (IsVertexStage(file) ? "vert" : "frag") +
                                    " '" + file.string() + "' > /dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << file;
    }
}

TEST_F(GpuTest, EveryShaderFileCompilesInTheGpuLayer)
{
    for (const auto& file : ShaderFiles()) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        try {
            if (IsVertexStage(file))
                VertexShader(text.str());
            else
                PixelShader(text.str());
        } catch (const gpu::GpuError& error) {
            ADD_FAILURE() << file << ": " << error.Detail();
        }
    }
}

} // namespace
} // namespace mirefell::testing
