// PNG decoding of hostile files: a header that asks for a gigabyte, a chunk
// longer than the file, and bytes of another format are refused before the
// decoder allocates anything for them; a picture at the size limit decodes.
#include <string>

#include <gtest/gtest.h>

#include "platform/GameError.h"
#include "platform/Image.h"

namespace mirefell
{
namespace
{

const std::string Signature = "\x89PNG\r\n\x1A\n";

std::string BigEndian32(uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// A chunk with a zero CRC (the decoder does not check CRCs).
std::string Chunk(const char* type, const std::string& data)
{
    return BigEndian32(static_cast<uint32_t>(data.size())) + type + data + std::string(4, '\0');
}

// 8-bit RGBA of the given size.
std::string Header(uint32_t width, uint32_t height)
{
    return Chunk("IHDR", BigEndian32(width) + BigEndian32(height) + std::string("\x08\x06\x00\x00\x00", 5));
}

std::string Refusal(const std::string& bytes)
{
    try {
        DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        return "decoded";
    } catch (const GameError& error) {
        return error.Detail();
    }
}

TEST(DecodeImage, HostileFilesAreRefusedFromTheirFraming)
{
    // 16384 x 16384 RGBA is a gigabyte of pixels, asked for by 58 bytes.
    const std::string forged = Signature + Header(16384, 16384) + Chunk("IDAT", "x") + Chunk("IEND", "");
    EXPECT_EQ(forged.size(), 58u);
    EXPECT_EQ(Refusal(forged), "16384x16384 is larger than the 2048x2048 the game reads");
    EXPECT_EQ(Refusal(Signature + Header(2049, 1) + Chunk("IEND", "")),
              "2049x1 is larger than the 2048x2048 the game reads");

    // An IDAT that claims a gigabyte in a file of a few bytes.
    EXPECT_EQ(Refusal(Signature + Header(2, 2) + BigEndian32(1u << 30) + "IDAT" + std::string(8, 'x')),
              "a chunk is longer than the file");
    EXPECT_EQ(Refusal(Signature + Header(2, 2) + std::string(2, '\0')), "truncated chunk");
    // Found by fuzzing: an empty first IDAT makes the decoder copy from null.
    EXPECT_EQ(Refusal(Signature + Header(2, 2) + Chunk("IDAT", "") + Chunk("IEND", "")), "an empty image data chunk");

    // Another format the decoder could read is no texture of ours.
    EXPECT_EQ(Refusal("BM" + std::string(60, '\0')), "not a PNG file");
}

TEST(DecodeImage, APictureAtTheSizeLimitDecodes)
{
    Image wide(MaxImageSide, 2);
    wide.rgba[4 * (MaxImageSide - 1)] = 200; // the last pixel of the top row
    const std::vector<uint8_t> png = EncodePng(wide);
    const Image back = DecodeImage(png.data(), png.size());
    EXPECT_EQ(back.width, MaxImageSide);
    EXPECT_EQ(back.height, 2u);
    EXPECT_EQ(back.rgba[4 * (MaxImageSide - 1)], 200);
}

} // namespace
} // namespace mirefell
