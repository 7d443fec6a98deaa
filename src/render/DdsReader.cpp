// DdsReader: header parsing and BC1-3 decoding.
#include "render/DdsReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

constexpr uint32_t Magic = 0x20534444; // "DDS "
constexpr uint32_t FlagFourCC = 0x4;   // pixel format flags
constexpr uint32_t FlagRgb = 0x40;
constexpr uint32_t Caps2Cube = 0x200;
constexpr uint32_t Caps2AllFaces = 0xfc00;
constexpr uint32_t Dx10MiscCube = 0x4;
constexpr uint32_t MaxSide = 16384;

constexpr uint32_t FourCC(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

[[noreturn]] void Fail(const std::string& why)
{
    throw GameError("DDS file cannot be read", why);
}

enum class Encoding
{
    Rgba,
    Bgra,
    Bc1,
    Bc2,
    Bc3,
};

class Reader
{
public:
    Reader(const uint8_t* bytes_, size_t size_) : bytes(bytes_), size(size_) {}
    uint32_t U32(size_t at) const
    {
        if (at + 4 > size)
            Fail("truncated header");
        uint32_t value;
        std::memcpy(&value, bytes + at, 4);
        return value;
    }
    // The header sets `position` past the fixed header, which a short file
    // may not even hold: nothing remains then, rather than a wrapped count.
    size_t Remaining() const { return position < size ? size - position : 0; }
    const uint8_t* Take(size_t count)
    {
        if (count > Remaining())
            Fail("truncated pixel data");
        const uint8_t* at = bytes + position;
        position += count;
        return at;
    }
    size_t position = 0;

private:
    const uint8_t* bytes;
    size_t size;
};

// One 4x4 colour block of BC1 (also the colour half of BC2 and BC3).
void DecodeColourBlock(const uint8_t* block, uint8_t out[16][4], bool bc1)
{
    uint16_t c0, c1;
    std::memcpy(&c0, block, 2);
    std::memcpy(&c1, block + 2, 2);
    uint8_t palette[4][4];
    auto expand = [](uint16_t c, uint8_t* rgba) {
        rgba[0] = uint8_t(((c >> 11) & 31) * 255 / 31);
        rgba[1] = uint8_t(((c >> 5) & 63) * 255 / 63);
        rgba[2] = uint8_t((c & 31) * 255 / 31);
        rgba[3] = 255;
    };
    expand(c0, palette[0]);
    expand(c1, palette[1]);
    for (int ch = 0; ch < 3; ++ch) {
        if (!bc1 || c0 > c1) {
            palette[2][ch] = uint8_t((2 * palette[0][ch] + palette[1][ch]) / 3);
            palette[3][ch] = uint8_t((palette[0][ch] + 2 * palette[1][ch]) / 3);
        } else {
            palette[2][ch] = uint8_t((palette[0][ch] + palette[1][ch]) / 2);
            palette[3][ch] = 0;
        }
    }
    palette[2][3] = 255;
    palette[3][3] = (!bc1 || c0 > c1) ? 255 : 0;
    uint32_t indices;
    std::memcpy(&indices, block + 4, 4);
    for (int i = 0; i < 16; ++i)
        std::memcpy(out[i], palette[(indices >> (2 * i)) & 3], 4);
}

void DecodeBlock(Encoding encoding, const uint8_t* block, uint8_t out[16][4])
{
    if (encoding == Encoding::Bc1) {
        DecodeColourBlock(block, out, true);
        return;
    }
    DecodeColourBlock(block + 8, out, false);
    if (encoding == Encoding::Bc2) {
        for (int i = 0; i < 16; ++i) {
            const uint8_t nibble = (block[i / 2] >> ((i % 2) * 4)) & 15;
            out[i][3] = uint8_t(nibble * 17);
        }
        return;
    }
    const uint8_t a0 = block[0];
    const uint8_t a1 = block[1];
    uint8_t alpha[8] = {a0, a1};
    for (int i = 2; i < 8; ++i) {
        if (a0 > a1)
            alpha[i] = uint8_t(((8 - i) * a0 + (i - 1) * a1) / 7);
        else if (i < 6)
            alpha[i] = uint8_t(((6 - i) * a0 + (i - 1) * a1) / 5);
        else
            alpha[i] = i == 6 ? 0 : 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i][3] = alpha[(bits >> (3 * i)) & 7];
}

std::vector<uint8_t> DecodeLevel(Reader& reader, Encoding encoding, uint32_t width, uint32_t height)
{
    // Check the file holds the level before allocating for it, so a header
    // that claims a huge picture costs nothing.
    const bool compressed = encoding != Encoding::Rgba && encoding != Encoding::Bgra;
    const size_t stored = compressed
                              ? size_t((width + 3) / 4) * ((height + 3) / 4) * (encoding == Encoding::Bc1 ? 8 : 16)
                              : size_t(width) * height * 4;
    if (stored > reader.Remaining())
        Fail("truncated pixel data");
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    if (encoding == Encoding::Rgba || encoding == Encoding::Bgra) {
        const uint8_t* source = reader.Take(rgba.size());
        std::memcpy(rgba.data(), source, rgba.size());
        if (encoding == Encoding::Bgra)
            for (size_t i = 0; i < rgba.size(); i += 4)
                std::swap(rgba[i], rgba[i + 2]);
        return rgba;
    }
    const size_t blockBytes = encoding == Encoding::Bc1 ? 8 : 16;
    for (uint32_t by = 0; by < (height + 3) / 4; ++by) {
        for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
            uint8_t texels[16][4];
            DecodeBlock(encoding, reader.Take(blockBytes), texels);
            for (uint32_t i = 0; i < 16; ++i) {
                const uint32_t x = bx * 4 + i % 4;
                const uint32_t y = by * 4 + i / 4;
                if (x < width && y < height)
                    std::memcpy(&rgba[(size_t(y) * width + x) * 4], texels[i], 4);
            }
        }
    }
    return rgba;
}

} // namespace

DdsImage ReadDds(const uint8_t* bytes, size_t size)
{
    Reader reader(bytes, size);
    if (bytes == nullptr || reader.U32(0) != Magic)
        Fail("not a DDS file");
    if (reader.U32(4) != 124)
        Fail("bad header size");
    DdsImage image;
    image.height = reader.U32(12);
    image.width = reader.U32(16);
    image.mipLevels = std::max(1u, reader.U32(28));
    const uint32_t formatFlags = reader.U32(80);
    const uint32_t fourCC = reader.U32(84);
    const uint32_t bitCount = reader.U32(88);
    const uint32_t redMask = reader.U32(92);
    const uint32_t caps2 = reader.U32(112);
    reader.position = 128;

    Encoding encoding;
    if ((formatFlags & FlagFourCC) && fourCC == FourCC('D', 'X', '1', '0')) {
        const uint32_t dxgiFormat = reader.U32(128);
        const uint32_t dimension = reader.U32(132);
        const uint32_t misc = reader.U32(136);
        const uint32_t arraySize = reader.U32(140);
        reader.position = 148;
        switch (dxgiFormat) {
        case 28: // R8G8B8A8_UNORM
        case 29: // R8G8B8A8_UNORM_SRGB
            encoding = Encoding::Rgba;
            break;
        case 87: // B8G8R8A8_UNORM
        case 91: // B8G8R8A8_UNORM_SRGB
            encoding = Encoding::Bgra;
            break;
        case 71:
        case 72:
            encoding = Encoding::Bc1;
            break;
        case 74:
        case 75:
            encoding = Encoding::Bc2;
            break;
        case 77:
        case 78:
            encoding = Encoding::Bc3;
            break;
        default:
            Fail("unsupported DXGI format " + std::to_string(dxgiFormat));
        }
        if (dimension != 3 || arraySize != 1)
            Fail("only single 2D textures and cubes");
        image.cube = (misc & Dx10MiscCube) != 0;
    } else if (formatFlags & FlagFourCC) {
        if (fourCC == FourCC('D', 'X', 'T', '1'))
            encoding = Encoding::Bc1;
        else if (fourCC == FourCC('D', 'X', 'T', '3'))
            encoding = Encoding::Bc2;
        else if (fourCC == FourCC('D', 'X', 'T', '5'))
            encoding = Encoding::Bc3;
        else
            Fail("unsupported compression");
        image.cube = (caps2 & Caps2Cube) != 0;
    } else if ((formatFlags & FlagRgb) && bitCount == 32) {
        encoding = redMask == 0x000000ff ? Encoding::Rgba : Encoding::Bgra;
        if (redMask != 0x000000ff && redMask != 0x00ff0000)
            Fail("unsupported channel order");
        image.cube = (caps2 & Caps2Cube) != 0;
    } else {
        Fail("unsupported pixel format");
    }
    if (image.cube && !(formatFlags & FlagFourCC && fourCC == FourCC('D', 'X', '1', '0')) &&
        (caps2 & Caps2AllFaces) != Caps2AllFaces)
        Fail("cube maps need all six faces");
    if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide)
        Fail("bad size");
    if (image.cube && image.width != image.height)
        Fail("cube faces must be square");
    uint32_t fullChain = 1;
    for (uint32_t side = std::max(image.width, image.height); side > 1; side /= 2)
        ++fullChain;
    if (image.mipLevels > fullChain)
        Fail("more mip levels than the size allows");

    const uint32_t faces = image.cube ? 6 : 1;
    image.subresources.reserve(size_t(faces) * image.mipLevels);
    for (uint32_t face = 0; face < faces; ++face)
        for (uint32_t mip = 0; mip < image.mipLevels; ++mip)
            image.subresources.push_back(
                DecodeLevel(reader, encoding, std::max(1u, image.width >> mip), std::max(1u, image.height >> mip)));
    return image;
}

} // namespace mirefell
