#version 330 core
// Gaussian blur of the bloom's glow at quarter size: the thirteen taps of
// the constants (slot 0; a direction with fewer gives the rest no weight)
// around the sprite's texture coordinate, one direction a pass, bilinear
// reads through the batch's sampler. A fixed count lets the compiler unroll
// the loop and read the constants once, not per pixel. The source (slot 0) covers the window like the
// target, so one texture coordinate serves both whatever their sizes: the
// horizontal pass reads the half-size extract, the vertical one the
// horizontal pass's quarter-size result. Both write opaquely.
//
// The glow targets are plain 8-bit: they hold the square root of the light,
// which keeps the faint tail of the glow as finely as sRGB storage would at
// a fraction of the cost of reading sRGB texels. The horizontal pass reads
// the sRGB extract (its reads come back linear), the vertical one the
// encoded glow (the first offset's z is 1), squaring each tap.

layout(std140) uniform BlurConstants_b0
{
    vec4 sampleOffsets[15]; // 0: (k dx, k dy, 0, 0)
    vec4 sampleWeights[15]; // 240: (w, 0, 0, 0)
};

uniform sampler2D source_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

vec3 Read(vec2 uv, bool encoded)
{
    vec3 c = texture(source_t0, uv).rgb;
    return encoded ? c * c : c;
}

void main()
{
    bool encoded = sampleOffsets[0].z != 0.0;
    vec3 sum = Read(spriteTexCoord, encoded) * sampleWeights[0].x;
    for (int i = 1; i < 13; ++i)
        sum += Read(spriteTexCoord + sampleOffsets[i].xy, encoded) * sampleWeights[i].x;
    Target0 = vec4(sqrt(sum), 1.0);
}
