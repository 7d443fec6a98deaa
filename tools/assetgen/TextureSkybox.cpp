// The sky box: a cube of six 128 x 128 faces over a mire at dusk - a low,
// greenish haze at the horizon, bruised violet cloud above, sparse stars at
// the zenith and dark peat below - written as an uncompressed DDS cube.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "TextureRecipes.h"

namespace mirefell::assetgen
{

namespace
{

constexpr int Face = 128;

// Direction through texel (u, v) of a face, u and v in -1..1, v down: the
// cube-map face layout shared by Direct3D and OpenGL.
void Direction(int face, float u, float v, float out[3])
{
    switch (face) {
    case 0:
        out[0] = 1, out[1] = -v, out[2] = -u;
        break;
    case 1:
        out[0] = -1, out[1] = -v, out[2] = u;
        break;
    case 2:
        out[0] = u, out[1] = 1, out[2] = v;
        break;
    case 3:
        out[0] = u, out[1] = -1, out[2] = -v;
        break;
    case 4:
        out[0] = u, out[1] = -v, out[2] = 1;
        break;
    default:
        out[0] = -u, out[1] = -v, out[2] = -1;
        break;
    }
    const float length = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    for (int i = 0; i < 3; ++i)
        out[i] /= length;
}

// Noise on the sphere from three planar samples, so faces meet seamlessly.
float SkyNoise(const float d[3], float scale, uint32_t seed)
{
    return (Fractal(d[0] * scale + 11, d[1] * scale + 7, seed, 5) +
            Fractal(d[1] * scale + 3, d[2] * scale + 5, seed + 1, 5) +
            Fractal(d[2] * scale + 13, d[0] * scale + 17, seed + 2, 5)) /
           3;
}

Rgba SkyColour(const float d[3])
{
    const float up = d[1];
    const Rgba peat{0.04f, 0.05f, 0.03f, 1}, haze{0.32f, 0.38f, 0.28f, 1}, dusk{0.22f, 0.15f, 0.24f, 1},
        zenith{0.03f, 0.03f, 0.08f, 1};
    Rgba colour;
    if (up < 0)
        colour = Mix(haze, peat, std::clamp(-up * 4, 0.0f, 1.0f));
    else if (up < 0.35f)
        colour = Mix(haze, dusk, up / 0.35f);
    else
        colour = Mix(dusk, zenith, std::clamp((up - 0.35f) / 0.65f, 0.0f, 1.0f));
    if (up > -0.05f) {
        const float cloud = SkyNoise(d, 3.0f, 901);
        const float amount = std::clamp((cloud - 0.45f) * 3, 0.0f, 1.0f) * std::clamp(1.2f - up, 0.0f, 1.0f);
        colour = Mix(colour, Rgba{0.36f, 0.26f, 0.34f, 1}, amount * 0.7f);
        if (up > 0.3f && amount < 0.1f) {
            const float star = ValueNoise(d[0] * 90 + 300, d[2] * 90 + d[1] * 40, 902);
            if (star > 0.93f)
                colour = Mix(colour, Rgba{0.9f, 0.92f, 1, 1}, (star - 0.93f) * 14);
        }
    }
    return colour;
}

} // namespace

std::vector<uint8_t> BuildSkyboxDds()
{
    std::vector<uint8_t> file(128, 0);
    auto put = [&file](size_t at, uint32_t value) { std::memcpy(&file[at], &value, 4); };
    put(0, 0x20534444); // "DDS "
    put(4, 124);
    put(8, 0x1 | 0x2 | 0x4 | 0x1000 | 0x8); // caps, height, width, pixel format, pitch
    put(12, Face);
    put(16, Face);
    put(20, Face * 4);
    put(28, 1);
    put(76, 32);
    put(80, 0x40 | 0x1); // RGB with alpha
    put(88, 32);
    put(92, 0x000000ff);
    put(96, 0x0000ff00);
    put(100, 0x00ff0000);
    put(104, 0xff000000);
    put(108, 0x1000 | 0x8);   // texture, complex
    put(112, 0x200 | 0xfc00); // cube map with all six faces
    for (int face = 0; face < 6; ++face)
        for (int y = 0; y < Face; ++y)
            for (int x = 0; x < Face; ++x) {
                float d[3];
                Direction(face, (x + 0.5f) / Face * 2 - 1, (y + 0.5f) / Face * 2 - 1, d);
                const Rgba colour = SkyColour(d);
                for (float channel : {colour.r, colour.g, colour.b, 1.0f})
                    file.push_back(static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255)));
            }
    return file;
}

} // namespace mirefell::assetgen
