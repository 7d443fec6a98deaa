#version 330 core
// Depth bounds, second step: the bounds of 8 x 8 blocks of the first step's
// (slot 0: nearest in red, farthest in green) combined into one, so each
// texel covers 64 x 64 pixels of the window. Edge blocks read their last
// texels again, which changes neither bound.

uniform sampler2D bounds_t0;

layout(location = 0) out vec4 Target0;

const int Block = 8;

void main()
{
    ivec2 first = ivec2(gl_FragCoord.xy) * Block;
    ivec2 last = textureSize(bounds_t0, 0) - 1;
    vec2 bounds = vec2(1.0, 0.0);
    for (int y = 0; y < Block; ++y)
        for (int x = 0; x < Block; ++x) {
            vec2 block = texelFetch(bounds_t0, min(first + ivec2(x, y), last), 0).rg;
            bounds = vec2(min(bounds.x, block.x), max(bounds.y, block.y));
        }
    Target0 = vec4(bounds, 0.0, 1.0);
}
