#version 330 core
// Point light, pixel stage: one light's contribution to the light target,
// which the pass accumulates with (source alpha, one) blending, so the
// light's alpha scales what it adds.
//
// The surface point is rebuilt from the depth buffer (slot 2) and the
// inverse view-projection of the frame constants; the normal comes from the
// normal target (slot 1), and a zero normal means no surface (sky): nothing.
//
// Falloff: intensity / (c + l d + q d^2). A light whose range comes from its
// attenuation fades to exactly zero at that range (where the attenuation
// reaches 100) by subtracting 1/100, so the edge of its sphere never shows;
// a fixed-radius light is windowed smoothly to zero at its radius instead.
// shaderFlag set: plain Lambert (N.L); clear: half-Lambert wrap, a softer
// light that also reaches surfaces turned a little away.

layout(std140) uniform FrameConstants_b0
{
    layout(row_major) mat4 inverseViewProjection;    // 0
    layout(row_major) mat4 inverseSkyViewProjection; // 64
    vec4 eye;                                        // 128
    float noise;                                     // 144
    float unused0;
    float unused1;
    float unused2;
    float noiseIntensity; // 160
    int ssaoEnabled;      // 164
    int inGame;           // 168
    float one;            // 172
    vec2 screenSize;      // 176
    vec2 unused3;         // 184
    vec4 ambient;         // 192
};

layout(std140) uniform PointLightConstants_b1
{
    vec4 colour;                // 0
    vec3 position;              // 16
    float positionW;            // 28
    int shaderFlag;             // 32
    float attenuationConstant;  // 36
    float attenuationLinear;    // 40
    float attenuationQuadratic; // 44
    int useFixedRadius;         // 48
    float fixedRadius;          // 52
    float intensity;            // 56
    float unused;               // 60
} light;

uniform sampler2D normals_t1;
uniform sampler2D depth_t2;

layout(location = 0) out vec4 Target0;

const float Cutoff = 100.0;
const float MinimumAttenuation = 0.001; // keeps the light finite at its centre

void main()
{
    // Position and distance first: pixels the light cannot reach leave
    // before the normal is read (most of a near light's screen).
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    float depth = texelFetch(depth_t2, pixel, 0).r;
    vec2 screenUv = gl_FragCoord.xy / screenSize;
    vec4 world = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, depth, 1.0) * inverseViewProjection;
    world /= world.w;
    vec3 toLight = light.position - world.xyz;
    float d = length(toLight);
    float attenuation =
        max(light.attenuationConstant + light.attenuationLinear * d + light.attenuationQuadratic * d * d,
            MinimumAttenuation);
    float falloff;
    if (light.useFixedRadius != 0) {
        float x = d / max(light.fixedRadius, 1e-4);
        if (x >= 1.0)
            discard;
        float window = 1.0 - x * x;
        falloff = window * window / attenuation;
    } else {
        if (attenuation >= Cutoff)
            discard;
        falloff = 1.0 / attenuation - 1.0 / Cutoff;
    }

    vec3 normal = texelFetch(normals_t1, pixel, 0).xyz;
    if (dot(normal, normal) < 0.01)
        discard;
    normal = normalize(normal);
    vec3 direction = toLight / max(d, 1e-4);
    float facing = dot(normal, direction);
    float diffuse = light.shaderFlag != 0 ? max(facing, 0.0) : facing * 0.5 + 0.5;
    Target0 = vec4(light.colour.rgb * (light.intensity * diffuse * falloff), light.colour.a);
}
