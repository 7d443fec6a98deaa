#version 330 core
// Depth bounds, first step: for each 8 x 8 block of the scene's depth
// (slot 0) the nearest and the farthest depth of the pixels where something
// was drawn, in red and green; a block of sky alone gives (1, 0), an empty
// range. Blocks at the right and bottom edges read their last texels again,
// which changes neither bound.

uniform sampler2D depth_t0;

layout(location = 0) out vec4 Target0;

const int Block = 8;

void main()
{
    ivec2 first = ivec2(gl_FragCoord.xy) * Block;
    ivec2 last = textureSize(depth_t0, 0) - 1;
    float nearest = 1.0;
    float farthest = 0.0;
    for (int y = 0; y < Block; ++y)
        for (int x = 0; x < Block; ++x) {
            float depth = texelFetch(depth_t0, min(first + ivec2(x, y), last), 0).r;
            nearest = min(nearest, depth);
            // The cleared depth 1 is the sky, which no light reaches.
            farthest = max(farthest, depth < 1.0 ? depth : 0.0);
        }
    Target0 = vec4(nearest, farthest, 0.0, 1.0);
}
