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
// the sRGB extract (its reads come back linear), all thirteen taps; the
// vertical one, built with VERTICAL defined, reads the encoded glow,
// squaring each tap, and only the seven taps its block fills (the software
// rasteriser would pay for the six of no weight all the same).

layout(std140) uniform BlurConstants_b0
{
    vec4 sampleOffsets[15]; // 0: (k dx, k dy, 0, 0)
    vec4 sampleWeights[15]; // 240: (w, 0, 0, 0)
};

uniform sampler2D source_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

#ifdef VERTICAL
const int Taps = 7;
vec3 Read(vec2 uv)
{
    vec3 c = texture(source_t0, uv).rgb;
    return c * c;
}
#else
const int Taps = 13;
vec3 Read(vec2 uv)
{
    return texture(source_t0, uv).rgb;
}
#endif

void main()
{
    vec3 sum = Read(spriteTexCoord) * sampleWeights[0].x;
    for (int i = 1; i < Taps; ++i)
        sum += Read(spriteTexCoord + sampleOffsets[i].xy) * sampleWeights[i].x;
    Target0 = vec4(sqrt(sum), 1.0);
}
