#version 330 core
// Point light, pixel stage: one light's contribution to the light target,
// which the pass accumulates with (source alpha, one) blending, so the
// light's alpha scales what it adds.
//
// The surface point is rebuilt from the depth buffer (slot 2) along the
// pixel's ray, which the sphere's point drawn at the pixel (handed on by the
// vertex stage as its offset from the light) and the eye give; the normal
// comes from the normal target (slot 1). Both are read at the pixel's own
// texel. Where nothing was drawn the depth is 1, the far plane, which no
// light reaches.
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
// exactly nothing, with no branch.
//
// The software rasteriser runs every instruction for every pixel the sphere
// covers (both sides of a choice, and whatever follows a discard), and the
// pass covers several screens' worth of pixels a frame, so the shader is
// kept to the two reads and as little arithmetic as the picture needs: the
// range comes from the vertex stage, the fixed-radius falloff and its knee
// share one division, and the normal's length is divided out with the
// light's distance. The renderer builds two variants and draws each light
// with its own kind's: the file as it stands for lights of attenuation
// (the map's), with FIXED_RADIUS for lights of a fixed radius (the view's,
// the shots', the pickups'); useFixedRadius chooses.

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

in vec3 sphereOffset;

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    float depth = texelFetch(depth_t2, pixel, 0).r;
    vec3 normal = texelFetch(normals_t1, pixel, 0).xyz;

    vec3 centre = light.position - eye.xyz;
    vec3 ray = centre + sphereOffset;
    float sceneW = depth * inverseViewProjection[3][2] + inverseViewProjection[3][3];
    vec3 toLight = centre - ray * (gl_FragCoord.w / sceneW);
    float d2 = dot(toLight, toLight);
    float inverseD = inversesqrt(max(d2, 1e-8));
    float attenuation = max(light.attenuationConstant + light.attenuationLinear * (d2 * inverseD) +
                                light.attenuationQuadratic * d2,
                            MinimumAttenuation);

#ifdef FIXED_RADIUS
    // window^2 / attenuation eased above 1, in one division: with x the
    // peak times the attenuation and o = max(x - attenuation, 0),
    // window^2 (o (1 + k) + k a) / ((o + k a) max(x, a)).
    float window = max(1.0 - d2 * (1.0 / max(light.fixedRadius * light.fixedRadius, 1e-8)), 0.0);
    float shape = window * window;
    float peak = light.intensity * max(light.colour.r, max(light.colour.g, light.colour.b));
    float x = peak * shape;
    float o = max(x - attenuation, 0.0);
    float ka = Knee * attenuation;
    float falloff = shape * (o * (1.0 + Knee) + ka) / ((o + ka) * max(x, attenuation));
#else
    float falloff = max(1.0 / attenuation - Cutoff, 0.0);
#endif
    vec3 lit = light.colour.rgb * (light.intensity * falloff);

    // A blended surface may have left a short normal; none is zero.
    float wrap = light.shaderFlag != 0 ? 1.0 : 0.5;
    float cosine = dot(normal, toLight) * inverseD * inversesqrt(max(dot(normal, normal), 1e-12));
    Target0 = vec4(lit * max(cosine * wrap + (1.0 - wrap), 0.0), light.colour.a);
}
