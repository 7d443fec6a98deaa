#version 330 core
// Depth bounds, reduced 8 x 8 texels at a time into red (nearest) and green
// (farthest), an empty range being (1, 0). The first step reads the scene's
// depth (slot 0), where the cleared depth 1 is the sky, which no light
// reaches; built with REDUCE defined, the shader is the second step, which
// combines 8 x 8 bounds of the first (slot 0), so each texel covers 64 x 64
// pixels of the window. Texels at the right and bottom edges read their
// last texels again, which changes neither bound.

uniform sampler2D source_t0;

layout(location = 0) out vec4 Target0;

const int Block = 8;

void main()
{
    ivec2 first = ivec2(gl_FragCoord.xy) * Block;
    ivec2 last = textureSize(source_t0, 0) - 1;
    vec2 bounds = vec2(1.0, 0.0);
    for (int y = 0; y < Block; ++y)
        for (int x = 0; x < Block; ++x) {
#ifdef REDUCE
            vec2 block = texelFetch(source_t0, min(first + ivec2(x, y), last), 0).rg;
#else
            float depth = texelFetch(source_t0, min(first + ivec2(x, y), last), 0).r;
            vec2 block = vec2(depth, depth < 1.0 ? depth : 0.0);
#endif
            bounds = vec2(min(bounds.x, block.x), max(bounds.y, block.y));
        }
    Target0 = vec4(bounds, 0.0, 1.0);
}
