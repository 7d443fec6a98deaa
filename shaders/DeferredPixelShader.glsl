#version 330 core
// Deferred composition: the lit frame from the G-buffer, drawn region by
// region (the point lights' vertex stage places each region's quad) and
// only where a surface was drawn (the pass's depth test; the sky pass draws
// the rest).
//   slot 0 depth, 1 colour (surface colour, linear), 2 normal, 4 occlusion
//   (visibility in red); slot 3 (the light target) is not read: the lights
//   are added here. The renderer builds two variants: with OCCLUSION defined
//   (the frame has SSAO) the visibility is read, without it the occlusion
//   target is not touched (a read costs the software rasteriser even where
//   its result is not used).
// The surface colour is lit by the ambient colour plus the point lights of
// the region's list and darkened by the occlusion. In-game frames get a
// faint film grain scaled by the noise intensity.
//
// Built with SKY defined, the shader is the sky's pass instead (drawn where
// nothing was, by the depth test): the sky box (slot 5, a cube) seen
// through the sky's own turning frame, with the same grain.
//
// A light adds colour * max(N.L * wrap + 1 - wrap, 0) * falloff, with
//   falloff = max(1 / max(c + l d + q d^2, 0.001) - cutoff, 0) * window^2,
//   window = max(1 - d^2 * windowScale, 0):
// an attenuated light (cutoff 1/100, windowScale 0) fades to exactly zero at
// its range, where the attenuation reaches 100, so the edge of its reach
// never shows; a fixed-radius light (cutoff 0, windowScale 1 / radius^2) is
// windowed smoothly to zero at its radius. Beyond its reach a light adds
// exactly nothing, with no test: the rasteriser would pay for both sides of
// one anyway.

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

struct Light
{
    vec4 positionCutoff; // position, cutoff
    vec4 colourWrap;     // colour * alpha * intensity, wrap (1 Lambert, 0.5 half-Lambert)
    vec4 attenuation;    // c, l, q, windowScale
};

layout(std140) uniform RegionLights_b1
{
    vec4 rect;           // 0: the region (the vertex stage's)
    int count;           // 16
    int unused4;         // 20
    vec2 unused5;        // 24
    Light lights[100];   // 32
} region;

// The G-buffer is read through the point sampler (slot 0) at the pixel's
// centre, which on the software rasteriser costs less than texelFetch; the
// sky through the trilinear one (slot 1).
uniform sampler2D depth_t0;
uniform sampler2D colour_t1;
uniform sampler2D normals_t2;
uniform sampler2D occlusion_t4;
uniform samplerCube sky_t5_s1;

layout(location = 0) out vec4 Target0;

const float GrainStrength = 0.2;
const float MinimumAttenuation = 0.001; // keeps a light finite at its centre
const float FlashCeiling = 1.25;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

// The lights of the region at a surface point with a unit normal, read at
// the loop's index (every pixel of a region runs the same loop). The test
// comes after each light, so a region of n lights shades n, not n + 1.
vec3 PointLights(vec3 world, vec3 normal)
{
    vec3 sum = vec3(0.0);
    if (region.count <= 0)
        return sum;
    int i = 0;
    do {
        Light light = region.lights[i];
        vec3 toLight = light.positionCutoff.xyz - world;
        float d2 = dot(toLight, toLight);
        float inverseD = inversesqrt(max(d2, 1e-8));
        float d = d2 * inverseD;
        vec4 terms = light.attenuation;
        float attenuation = max(terms.x + d * terms.y + d2 * terms.z, MinimumAttenuation);
        float window = max(1.0 - d2 * terms.w, 0.0);
        float falloff = max(1.0 / attenuation - light.positionCutoff.w, 0.0) * (window * window);
        float wrap = light.colourWrap.w;
        float diffuse = max(dot(normal, toLight) * inverseD * wrap + (1.0 - wrap), 0.0);
        // A fixed-radius light (windowScale > 0) is soft-capped at FlashCeiling
        // times its colour: a shot's flash brightens the room, never whites it out.
        vec3 lit = light.colourWrap.rgb * falloff;
        float peak = max(lit.r, max(lit.g, lit.b));
        float over = max(peak - 1.0, 0.0);
        float capped = peak - over + (FlashCeiling - 1.0) * (1.0 - exp(-over / (FlashCeiling - 1.0)));
        lit *= terms.w > 0.0 ? capped / max(peak, 1e-6) : 1.0;
        sum += lit * diffuse;
    } while (++i < region.count);
    return sum;
}

// The film grain of in-game frames; without grain the factor is exactly 1.
vec3 Grain(vec3 colour)
{
    float grain = Hash(gl_FragCoord.xy + vec2(noise * 97.0, noise * 57.0)) - 0.5;
    float strength = inGame != 0 ? max(noiseIntensity, 0.0) * GrainStrength : 0.0;
    return colour * (1.0 + grain * strength);
}

#ifdef SKY
void main()
{
    vec2 screenUv = gl_FragCoord.xy / screenSize;
    vec4 far = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, 1.0, 1.0) * inverseSkyViewProjection;
    Target0 = vec4(Grain(texture(sky_t5_s1, far.xyz / far.w).rgb), 1.0);
}
#else
void main()
{
    vec2 screenUv = gl_FragCoord.xy / screenSize;
    vec3 normal = textureLod(normals_t2, screenUv, 0.0).xyz;
    float depth = textureLod(depth_t0, screenUv, 0.0).r;
    vec4 world = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, depth, 1.0) * inverseViewProjection;
    vec3 surface = textureLod(colour_t1, screenUv, 0.0).rgb;
    // A blended surface may have left a short normal; none is zero.
    vec3 light = PointLights(world.xyz / world.w, normal * inversesqrt(max(dot(normal, normal), 1e-12)));
#if defined(OCCLUSION)
    float visibility = textureLod(occlusion_t4, screenUv, 0.0).r;
#else
    float visibility = 1.0;
#endif
    Target0 = vec4(Grain(surface * (ambient.rgb + light) * visibility), 1.0);
}
#endif
