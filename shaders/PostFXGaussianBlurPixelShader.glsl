#version 330 core
// Gaussian blur of the bloom's glow at quarter size: the thirteen taps of
// the constants (slot 0; a direction with fewer gives the rest no weight)
// around the sprite's texture coordinate, one direction a pass, bilinear
// reads through the batch's sampler. A fixed count lets the compiler unroll
// the loop and read the constants once, not per pixel. The source (slot 0) covers the window like the
// target, so one texture coordinate serves both whatever their sizes: the
// horizontal pass reads the half-size extract, the vertical one the
// horizontal pass's quarter-size result. Both write opaquely.

layout(std140) uniform BlurConstants_b0
{
    vec4 sampleOffsets[15]; // 0: (k dx, k dy, 0, 0)
    vec4 sampleWeights[15]; // 240: (w, 0, 0, 0)
};

uniform sampler2D source_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

void main()
{
    vec3 sum = texture(source_t0, spriteTexCoord).rgb * sampleWeights[0].x;
    for (int i = 1; i < 13; ++i)
        sum += texture(source_t0, spriteTexCoord + sampleOffsets[i].xy).rgb * sampleWeights[i].x;
    Target0 = vec4(sum, 1.0);
}
