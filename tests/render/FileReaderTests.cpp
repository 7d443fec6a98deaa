// ReadData's two places to look, and the DDS reader on hand-built files:
// uncompressed cubes with mips, the DX10 header, BC1 and BC3 blocks, and the
// truncated or foreign files it must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "RenderFixture.h"
#include "platform/GameError.h"
#include "render/DdsReader.h"
#include "render/ReadData.h"
#include "support/TempDir.h"

namespace mirefell::testing
{
namespace
{

std::filesystem::path ExecutableFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

TEST(ReadData, WorkingFolderFirstThenBesideTheExecutable)
{
    TempDir folder;
    WorkingFolder inside(folder.Path());
    const std::string name = "readdata-test-" + std::to_string(::getpid()) + ".bin";
    const std::filesystem::path besideExe = ExecutableFolder() / name;
    {
        std::ofstream(besideExe, std::ios::binary) << "beside";
    }
    EXPECT_EQ(ReadData(std::wstring(name.begin(), name.end())), (std::vector<uint8_t>{'b', 'e', 's', 'i', 'd', 'e'}));
    folder.Write(name, "here");
    EXPECT_EQ(ReadData(std::wstring(name.begin(), name.end())), (std::vector<uint8_t>{'h', 'e', 'r', 'e'}));
    std::filesystem::remove(besideExe);

    folder.Write("empty.bin", "");
    EXPECT_TRUE(ReadData(L"empty.bin").empty());
    try {
        ReadData(L"shaders/NoSuchShader.glsl");
        FAIL() << "a missing file was read";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "ReadData");
        EXPECT_EQ(error.Detail(),
                  "the file shaders/NoSuchShader.glsl is missing; looked in the working folder and beside the program");
    }
}

// A DDS header for a square picture.
std::vector<uint8_t> Header(uint32_t side, uint32_t mips, uint32_t formatFlags, uint32_t fourCC, uint32_t caps2)
{
    std::vector<uint8_t> file(128, 0);
    auto put = [&file](size_t at, uint32_t value) { std::memcpy(&file[at], &value, 4); };
    put(0, 0x20534444);
    put(4, 124);
    put(12, side);
    put(16, side);
    put(28, mips);
    put(76, 32);
    put(80, formatFlags);
    put(84, fourCC);
    put(88, 32);
    put(92, 0x000000ff);
    put(112, caps2);
    return file;
}

TEST(DdsReader, ReadsUncompressedCubesWithTheirMips)
{
    std::vector<uint8_t> file = Header(2, 2, 0x41, 0, 0x200 | 0xfc00);
    for (uint8_t face = 0; face < 6; ++face) {
        for (int texel = 0; texel < 4; ++texel)
            file.insert(file.end(), {uint8_t(face * 10), uint8_t(texel), 7, 255});
        file.insert(file.end(), {uint8_t(face * 10 + 1), 99, 7, 255}); // the 1 x 1 mip
    }
    const DdsImage image = ReadDds(file.data(), file.size());
    EXPECT_TRUE(image.cube);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.mipLevels, 2u);
    ASSERT_EQ(image.subresources.size(), 12u);
    EXPECT_EQ(image.subresources[2][0], 10); // face 1, mip 0
    EXPECT_EQ(image.subresources[2][5], 1);  // its second texel
    EXPECT_EQ(image.subresources[3], (std::vector<uint8_t>{11, 99, 7, 255}));

    file.pop_back(); // one byte short
    EXPECT_THROW(ReadDds(file.data(), file.size()), GameError);
    // A cube that lacks faces, a foreign file, and a header cut short.
    std::vector<uint8_t> partial = Header(2, 1, 0x41, 0, 0x200 | 0x0400);
    EXPECT_THROW(ReadDds(partial.data(), partial.size()), GameError);
    const uint8_t png[] = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
    EXPECT_THROW(ReadDds(png, sizeof png), GameError);
    EXPECT_THROW(ReadDds(file.data(), 60), GameError);
    // Sizes that would overflow or claim more mips than exist.
    std::vector<uint8_t> huge = Header(0x40000000, 1, 0x41, 0, 0);
    EXPECT_THROW(ReadDds(huge.data(), huge.size()), GameError);
    std::vector<uint8_t> deep = Header(4, 9, 0x41, 0, 0);
    EXPECT_THROW(ReadDds(deep.data(), deep.size() + 0), GameError);
}

TEST(DdsReader, DecodesBlockCompressionAndTheDx10Header)
{
    // BC1: colour 0 pure red, colour 1 pure blue, texels 0, 1, 2, 3 in turn.
    std::vector<uint8_t> bc1 = Header(4, 1, 0x4, 0x31545844, 0); // "DXT1"
    const uint8_t block[8] = {0x00, 0xf8, 0x1f, 0x00, 0xe4, 0xe4, 0xe4, 0xe4};
    bc1.insert(bc1.end(), block, block + 8);
    const DdsImage image = ReadDds(bc1.data(), bc1.size());
    ASSERT_EQ(image.subresources.size(), 1u);
    const std::vector<uint8_t>& texels = image.subresources[0];
    EXPECT_EQ(std::vector<uint8_t>(texels.begin(), texels.begin() + 4), (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(std::vector<uint8_t>(texels.begin() + 4, texels.begin() + 8), (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(texels[8], 170);  // two thirds red
    EXPECT_EQ(texels[14], 170); // two thirds blue

    // DX10 header, BC3 with a constant alpha of 128 on every texel.
    std::vector<uint8_t> dx10 = Header(4, 1, 0x4, 0x30315844, 0); // "DX10"
    const uint32_t extension[5] = {77, 3, 0, 1, 0};
    dx10.insert(dx10.end(), reinterpret_cast<const uint8_t*>(extension),
                reinterpret_cast<const uint8_t*>(extension) + sizeof extension);
    const uint8_t bc3[16] = {128, 128, 0, 0, 0, 0, 0, 0, 0x00, 0xf8, 0x1f, 0x00, 0, 0, 0, 0};
    dx10.insert(dx10.end(), bc3, bc3 + 16);
    const DdsImage withAlpha = ReadDds(dx10.data(), dx10.size());
    EXPECT_FALSE(withAlpha.cube);
    EXPECT_EQ(withAlpha.subresources[0][0], 255);
    EXPECT_EQ(withAlpha.subresources[0][3], 128);

    // A DX10 header promised but the file ends inside it: an error, not a
    // read past the end.
    for (size_t length : {size_t(128), size_t(130), size_t(147)}) {
        std::vector<uint8_t> cut(dx10.begin(), dx10.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(ReadDds(cut.data(), cut.size()), GameError) << length << " bytes";
    }
}

using SkyboxTest = RenderFixture;

TEST_F(SkyboxTest, TheGeneratedSkyBoxIsASeamlessCube)
{
    std::ifstream in("assets/textures/skybox.dds", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const DdsImage sky = ReadDds(bytes.data(), bytes.size());
    ASSERT_TRUE(sky.cube);
    ASSERT_EQ(sky.subresources.size(), 6u);
    // +X's right edge meets -Z's left edge: neighbouring texels agree.
    const uint32_t side = sky.width;
    for (uint32_t row = 8; row < side - 8; row += 16) {
        const uint8_t* east = &sky.subresources[0][(row * side + side - 1) * 4];
        const uint8_t* north = &sky.subresources[5][(row * side) * 4];
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(east[channel], north[channel], 12) << row;
    }
    // The sky above is darker than the haze at the horizon.
    const auto brightness = [&](int face, uint32_t x, uint32_t y) {
        const uint8_t* texel = &sky.subresources[face][(y * side + x) * 4];
        return texel[0] + texel[1] + texel[2];
    };
    EXPECT_LT(brightness(2, side / 2, side / 2), brightness(4, side / 2, side / 2));
}

} // namespace
} // namespace mirefell::testing
