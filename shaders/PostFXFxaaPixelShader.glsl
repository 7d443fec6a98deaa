#version 330 core
// FXAA over the scene copy (slot 0, window-sized): finds luma edges in the
// 3x3 neighbourhood, estimates their direction and blends along them. A flat
// area (no luma contrast above the thresholds) is returned untouched. The
// copy has one level, so every read asks for level 0 (no level to choose).

layout(std140) uniform FxaaConstants_b1
{
    vec2 screenSize; // 0
    vec2 unused;     // 8
};

uniform sampler2D scene_t0;

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

void main()
{
    ivec2 p = ivec2(gl_FragCoord.xy);
    vec3 centre = texelFetch(scene_t0, p, 0).rgb;
    float lumaM = Luma(centre);
    float lumaNW = LumaAt(p, ivec2(-1, -1));
    float lumaNE = LumaAt(p, ivec2(1, -1));
    float lumaSW = LumaAt(p, ivec2(-1, 1));
    float lumaSE = LumaAt(p, ivec2(1, 1));
    float lumaMin = min(lumaM, min(min(lumaNW, lumaNE), min(lumaSW, lumaSE)));
    float lumaMax = max(lumaM, max(max(lumaNW, lumaNE), max(lumaSW, lumaSE)));
    bool edge = lumaMax - lumaMin >= max(EdgeThresholdMin, lumaMax * EdgeThreshold);

    vec2 direction = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    float reduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * 0.25 * ReduceMul, ReduceMin);
    float scale = 1.0 / (min(abs(direction.x), abs(direction.y)) + reduce);
    vec2 texel = 1.0 / screenSize;
    direction = clamp(direction * scale, vec2(-SpanMax), vec2(SpanMax)) * texel;

    // The four reads along the edge, in a loop that a block of flat pixels
    // leaves after its first turn.
    vec2 uv = gl_FragCoord.xy * texel;
    vec3 inner = vec3(0.0);
    vec3 outer = vec3(0.0);
    int reads = edge ? 4 : 1;
    for (int i = 0; i < reads; ++i) {
        float along = i == 0 ? 1.0 / 3.0 - 0.5 : (i == 1 ? 2.0 / 3.0 - 0.5 : (i == 2 ? -0.5 : 0.5));
        vec3 s = textureLod(scene_t0, uv + direction * along, 0.0).rgb;
        if (i < 2)
            inner += s;
        else
            outer += s;
    }
    vec3 a = 0.5 * inner;
    vec3 b = a * 0.5 + 0.25 * outer;
    float lumaB = Luma(b);
    vec3 blended = (lumaB < lumaMin || lumaB > lumaMax) ? a : b;
    Target0 = vec4(edge ? blended : centre, 1.0);
}
