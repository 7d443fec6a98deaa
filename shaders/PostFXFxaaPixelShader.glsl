#version 330 core
// The frame's finishing pass over the composed frame (slot 0, window-sized):
// FXAA when asked, then the bloom when asked. The result replaces the frame
// (alpha 1).
//
// FXAA finds luma edges in the 3x3 neighbourhood, estimates their direction
// and blends along them; a flat area (no luma contrast above the thresholds)
// is returned untouched.
//
// Bloom: the sharp extract (slot 1, half size, sRGB) plus the blurred glow
// (slot 2, quarter size, the square root of its light in plain 8 bits),
// both covering the window and read bilinearly, are added to
// the frame, which keeps 1 - m^2 of itself where the glow's brightest
// channel is m: a bright glow washes the picture out, a faint one only adds.
// The sum of extract and glow saturates at 1, as a stored bloom would.

layout(std140) uniform FxaaConstants_b1
{
    vec2 screenSize; // 0
    float fxaa;      // 8: 1 to anti-alias
    float bloom;     // 12: 1 to lay the bloom over
};

uniform sampler2D scene_t0;
uniform sampler2D bloomExtract_t1;
uniform sampler2D bloomGlow_t2;

layout(location = 0) out vec4 Target0;

const float EdgeThreshold = 0.125;
const float EdgeThresholdMin = 0.0312;
const float SpanMax = 8.0;
const float ReduceMul = 1.0 / 8.0;
const float ReduceMin = 1.0 / 128.0;

float Luma(vec3 c)
{
    return sqrt(dot(c, vec3(0.299, 0.587, 0.114))); // perceptual enough for edges
}

// A neighbour's luma, the edge texel standing in beyond the picture.
float LumaAt(ivec2 p, ivec2 offset)
{
    ivec2 last = textureSize(scene_t0, 0) - 1;
    return Luma(texelFetch(scene_t0, clamp(p + offset, ivec2(0), last), 0).rgb);
}

vec3 Fxaa(ivec2 p, vec3 centre)
{
    float lumaM = Luma(centre);
    float lumaNW = LumaAt(p, ivec2(-1, -1));
    float lumaNE = LumaAt(p, ivec2(1, -1));
    float lumaSW = LumaAt(p, ivec2(-1, 1));
    float lumaSE = LumaAt(p, ivec2(1, 1));
    float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));
    if (lumaMax - lumaMin < max(EdgeThresholdMin, lumaMax * EdgeThreshold))
        return centre;

    vec2 direction = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    float reduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * 0.25 * ReduceMul, ReduceMin);
    float scale = 1.0 / (min(abs(direction.x), abs(direction.y)) + reduce);
    vec2 texel = 1.0 / screenSize;
    direction = clamp(direction * scale, vec2(-SpanMax), vec2(SpanMax)) * texel;

    vec2 uv = gl_FragCoord.xy * texel;
    vec3 a = 0.5 * (texture(scene_t0, uv + direction * (1.0 / 3.0 - 0.5)).rgb +
                    texture(scene_t0, uv + direction * (2.0 / 3.0 - 0.5)).rgb);
    vec3 b = a * 0.5 + 0.25 * (texture(scene_t0, uv - direction * 0.5).rgb + texture(scene_t0, uv + direction * 0.5).rgb);
    float lumaB = Luma(b);
    return (lumaB < lumaMin || lumaB > lumaMax) ? a : b;
}

void main()
{
    ivec2 p = ivec2(gl_FragCoord.xy);
    vec3 colour = texelFetch(scene_t0, p, 0).rgb;
    if (fxaa != 0.0)
        colour = Fxaa(p, colour);
    if (bloom != 0.0) {
        vec2 uv = gl_FragCoord.xy / screenSize;
        vec3 glow = texture(bloomGlow_t2, uv).rgb;
        glow *= glow;
        vec3 added = min(texture(bloomExtract_t1, uv).rgb + glow, vec3(1.0));
        float m = min(max(glow.r, max(glow.g, glow.b)), 1.0);
        colour = added + colour * (1.0 - m * m);
    }
    Target0 = vec4(colour, 1.0);
}
