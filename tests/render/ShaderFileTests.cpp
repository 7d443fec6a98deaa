// Every GLSL file of the game validates with glslangValidator and compiles in
// the GPU layer as the stage its name says; a failing one says why and where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "RenderFixture.h"
#include "platform/GameError.h"
#include "platform/gpu/GpuError.h"
#include "render/ASSAODX11.h"
#include "render/EffectResources.h"
#include "support/GpuTest.h"
#include "support/TempDir.h"

namespace mirefell::testing
{
namespace
{

// The effect shaders, one stage each. The SSAO source is validated entry
// point by entry point below.
std::vector<std::filesystem::path> ShaderFiles()
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path source = MIREFELL_SOURCE_DIR;
    for (const auto& folder : {source / "shaders", source / "assets" / "shaders"}) {
        if (!std::filesystem::exists(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".glsl" && entry.path().filename() != "ASSAO.glsl")
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
         {"DeferredPixelShader", "PointLightVertexShader", "PostFXBloomExtractPixelShader",
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

TEST(ShaderFiles, TheSsaoSourceValidatesForEveryEntryPointAsTheGameCompilesIt)
{
    const std::filesystem::path file = std::filesystem::path(MIREFELL_SOURCE_DIR) / "assets" / "shaders" / "ASSAO.glsl";
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in.is_open()) << file;
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TempDir folder;
    std::vector<std::pair<const char*, const char*>> entries = {{ASSAODX11::VertexShaderEntry, "vert"}};
    for (const char* entry : ASSAODX11::PixelShaderEntries)
        entries.emplace_back(entry, "frag");
    for (const auto& [entry, stage] : entries) {
        folder.Write(entry, ASSAODX11::AssembleSource(source.data(), source.size(), entry));
        const std::string command = std::string("glslangValidator -S ") + stage + " '" + folder.File(entry) + "' > '" +
                                    folder.File("log") + "' 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << entry << "\n" << folder.Read("log");
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

// The program entry's one handler prints GameError::Describe(): a shader that
// does not compile must say which file and what the compiler found, and a
// texture the GPU cannot hold must say the size asked for.
TEST_F(GpuTest, GpuFailuresReachTheGamesErrorWithTheirDetail)
{
    TempDir folder;
    WorkingFolder inside(folder.Path());
    std::filesystem::create_directory(folder.Path() / "shaders");
    std::filesystem::copy_file(std::filesystem::path(MIREFELL_SOURCE_DIR) / "shaders" / "ColorVertexShader.glsl",
                               folder.Path() / "shaders" / "ColorVertexShader.glsl");
    folder.Write("shaders/Broken.glsl", "#version 330 core\nout vec4 Target0;\n"
                                        "void main() { Target0 = undeclaredColour; }\n");
    try {
        EffectResources(*device, L"shaders/ColorVertexShader.glsl", L"shaders/Broken.glsl", nullptr, 0, 16);
        FAIL() << "a broken shader compiled";
    } catch (const GameError& error) {
        const std::string said = error.Describe();
        EXPECT_EQ(said.rfind("CreatePixelShader (shaders/Broken.glsl: ", 0), 0u) << said;
        EXPECT_NE(said.find("undeclaredColour"), std::string::npos) << said;
    }

    gpu::Texture2DDesc huge;
    huge.width = huge.height = 20000;
    huge.bindFlags = gpu::BindRenderTarget;
    try {
        device->CreateTexture2D(huge);
        FAIL() << "a 20000 x 20000 texture was made";
    } catch (const GameError& error) {
        EXPECT_NE(error.Describe().find("CreateTexture2D (20000x20000: "), std::string::npos) << error.Describe();
    }
}

} // namespace
} // namespace mirefell::testing
