#version 330 core
// Gaussian blur of a half-size bloom target (slot 0) at the offsets and
// weights of the constants (slot 0), one direction a pass.
//
// The centre tap lies on its texel and is read as that one texel (on the
// software rasteriser a bilinear read of an sRGB target costs as much as the
// rest of the pass); the other fourteen lie between two texels and are
// bilinear reads of both.
//
// The horizontal pass writes target B opaquely. The vertical pass is the last
// one: the renderer adds its output onto the extracted bloom in target A with
// (source alpha, one) blending, and target A is then laid over the frame
// premultiplied, frame' = A.rgb + frame * (1 - A.a). So the vertical pass
// writes its colour divided by its largest channel m, with m as alpha: the
// blend adds exactly the blurred colour, A's alpha grows by only m^2, and the
// frame keeps (1 - m^2) of itself under bright bloom and all of it elsewhere.

layout(std140) uniform BlurConstants_b0
{
    vec4 sampleOffsets[15]; // 0: (k dx, k dy, 0, 0)
    vec4 sampleWeights[15]; // 240: (w, 0, 0, 0)
};

uniform sampler2D source_t0;

layout(location = 0) out vec4 Target0;

void main()
{
    vec2 uv = gl_FragCoord.xy / vec2(textureSize(source_t0, 0));
    vec3 sum = texelFetch(source_t0, ivec2(gl_FragCoord.xy), 0).rgb * sampleWeights[0].x;
    for (int i = 1; i < 15; ++i)
        sum += textureLod(source_t0, uv + sampleOffsets[i].xy, 0.0).rgb * sampleWeights[i].x;
    bool vertical = sampleOffsets[1].y != 0.0;
    if (!vertical) {
        Target0 = vec4(sum, 1.0);
        return;
    }
    float m = max(max(sum.r, sum.g), sum.b);
    Target0 = m > 1e-5 ? vec4(sum / m, min(m, 1.0)) : vec4(0.0);
}
