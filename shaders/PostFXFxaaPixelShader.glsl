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
    if (lumaMax - lumaMin < max(EdgeThresholdMin, lumaMax * EdgeThreshold)) {
        Target0 = vec4(centre, 1.0);
        return;
    }

    vec2 direction = vec2(-((lumaNW + lumaNE) - (lumaSW + lumaSE)), (lumaNW + lumaSW) - (lumaNE + lumaSE));
    float reduce = max((lumaNW + lumaNE + lumaSW + lumaSE) * 0.25 * ReduceMul, ReduceMin);
    float scale = 1.0 / (min(abs(direction.x), abs(direction.y)) + reduce);
    vec2 texel = 1.0 / screenSize;
    direction = clamp(direction * scale, vec2(-SpanMax), vec2(SpanMax)) * texel;

    vec2 uv = (gl_FragCoord.xy) * texel;
    vec3 a = 0.5 * (texture(scene_t0, uv + direction * (1.0 / 3.0 - 0.5)).rgb +
                    texture(scene_t0, uv + direction * (2.0 / 3.0 - 0.5)).rgb);
    vec3 b = a * 0.5 + 0.25 * (textureLod(scene_t0, uv - direction * 0.5, 0.0).rgb + textureLod(scene_t0, uv + direction * 0.5, 0.0).rgb);
    float lumaB = Luma(b);
    Target0 = vec4((lumaB < lumaMin || lumaB > lumaMax) ? a : b, 1.0);
}
