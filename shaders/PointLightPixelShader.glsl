#version 330 core
// Point light, pixel stage: one light's contribution to the light target,
// which the pass accumulates with (source alpha, one) blending, so the
// light's alpha scales what it adds.
//
// The surface point is rebuilt from the depth buffer (slot 2) along the
// pixel's ray, which the sphere's point drawn at the pixel and the eye give
// (cheaper than the inverse view-projection product on the software
// rasteriser); the normal comes from the normal target (slot 1). Both are
// read at the pixel's own texel.
// Where nothing was drawn the depth is 1, the far plane, which no light
// reaches.
//
// A light adds colour * intensity * max(N.L * wrap + 1 - wrap, 0) * falloff:
// shaderFlag set is plain Lambert (wrap 1), clear a half-Lambert wrap (0.5),
// a softer light that also reaches surfaces turned a little away.
//   attenuated:   falloff = max(1 / max(c + l d + q d^2, 0.001) - 1/100, 0),
//                 exactly zero at the range, where the attenuation reaches
//                 100, so the edge of its sphere never shows;
//   fixed radius: falloff = window^2 / max(c + l d + q d^2, 0.001),
//                 window = max(1 - d^2 / radius^2, 0), smoothly zero at the
//                 radius; its strength (intensity times falloff times its
//                 brightest channel) is eased above 1 toward FlashCeiling
//                 (s -> 1 + k x / (x + k), x = s - 1, k = FlashCeiling - 1),
//                 so a shot's flash (intensity 12) brightens the room
//                 without whiting it out, while a light of strength 1 or
//                 less (the player's own light under Blackout) is unchanged.
// The reach test is the falloff itself: beyond its reach a light adds
// exactly nothing, with no branch (the software rasteriser runs both sides
// of one).

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

const float Cutoff = 1.0 / 100.0;
const float MinimumAttenuation = 0.001; // keeps the light finite at its centre
const float FlashCeiling = 1.25;
const float Knee = FlashCeiling - 1.0;

in vec3 spherePoint;

// The light's range as PointLight::ComputeRange sets it (the distance at
// which the attenuation reaches 100, or the fixed radius): the sphere was
// scaled by it.
float Range()
{
    float c = light.attenuationConstant;
    float l = light.attenuationLinear;
    float q = light.attenuationQuadratic;
    float quadratic = sqrt(max((100.0 - c) / q, 0.0));
    float linear = max((100.0 - c) / l, 0.0);
    float both = max((sqrt(max(l * l - 4.0 * c * q + 400.0 * q, 0.0)) - l) / (2.0 * q), 0.0);
    float attenuated = l == 0.0 ? quadratic : (q == 0.0 ? linear : both);
    return light.useFixedRadius != 0 ? light.fixedRadius : attenuated;
}

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    float depth = texelFetch(depth_t2, pixel, 0).r;
    // The surface point lies on the pixel's ray through the sphere's point
    // drawn here, at the ratio of the two view depths: the scene's,
    // 1 / (depth row of the inverse view-projection's w), and the sphere's,
    // 1 / gl_FragCoord.w (a symmetric perspective has no x or y in the w).
    vec3 ray = light.position + Range() * spherePoint - eye.xyz;
    float sceneW = depth * inverseViewProjection[3][2] + inverseViewProjection[3][3];
    vec3 toLight = light.position - (eye.xyz + ray * (gl_FragCoord.w / sceneW));
    float d2 = dot(toLight, toLight);
    float inverseD = inversesqrt(max(d2, 1e-8));
    float d = d2 * inverseD;
    float attenuation = max(light.attenuationConstant + light.attenuationLinear * d + light.attenuationQuadratic * d2,
                            MinimumAttenuation);

    // One division serves both kinds of light: (window^2 or 1) / attenuation
    // less (0 or 1/100).
    bool fixedRadius = light.useFixedRadius != 0;
    float window = max(1.0 - d2 * (1.0 / max(light.fixedRadius * light.fixedRadius, 1e-8)), 0.0);
    float falloff = max((fixedRadius ? window * window : 1.0) / attenuation - (fixedRadius ? 0.0 : Cutoff), 0.0);
    vec3 lit = light.colour.rgb * (light.intensity * falloff);
    // The knee, also in one division: (1 + k x / (x + k)) / peak above 1.
    float peak = max(lit.r, max(lit.g, lit.b));
    float over = max(peak - 1.0, 0.0);
    float eased = (over * (1.0 + Knee) + Knee) / ((over + Knee) * max(peak, 1.0));
    lit *= fixedRadius ? eased : 1.0;

    // A blended surface may have left a short normal; none is zero.
    vec3 normal = texelFetch(normals_t1, pixel, 0).xyz;
    normal *= inversesqrt(max(dot(normal, normal), 1e-12));
    float wrap = light.shaderFlag != 0 ? 1.0 : 0.5;
    float diffuse = max(dot(normal, toLight) * inverseD * wrap + (1.0 - wrap), 0.0);
    Target0 = vec4(lit * diffuse, light.colour.a);
}
