#version 330 core
// Deferred composition: the lit frame from the G-buffer, drawn as one quad
// over the window into the back buffer.
//   slot 0 depth, 1 colour (surface colour, linear), 2 normal, 3 light
//   (accumulated point lights, linear, unbounded), 4 occlusion (visibility
//   in red when ssaoEnabled), 5 the sky box (cube).
// Where no surface was drawn (zero normal) the sky shows, looked up through
// the sky's own turning frame; elsewhere the surface colour is lit by the
// ambient colour plus the point lights and darkened by the occlusion.
// In-game frames get a faint film grain scaled by the noise intensity.

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

uniform sampler2D depth_t0;
uniform sampler2D colour_t1;
uniform sampler2D normals_t2;
uniform sampler2D light_t3;
uniform sampler2D occlusion_t4;
uniform samplerCube sky_t5;

layout(location = 0) out vec4 Target0;

const float GrainStrength = 0.2;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec2 screenUv = gl_FragCoord.xy / screenSize;
    vec3 normal = texelFetch(normals_t2, pixel, 0).xyz;
    vec3 result;
    if (dot(normal, normal) < 0.01) {
        vec4 far = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, 1.0, 1.0) * inverseSkyViewProjection;
        vec3 direction = far.xyz / far.w;
        result = texture(sky_t5, direction).rgb;
    } else {
        vec3 surface = texelFetch(colour_t1, pixel, 0).rgb;
        vec3 light = texelFetch(light_t3, pixel, 0).rgb;
        float visibility = ssaoEnabled != 0 ? texelFetch(occlusion_t4, pixel, 0).r : 1.0;
        result = surface * (ambient.rgb + light) * visibility;
    }
    if (inGame != 0 && noiseIntensity > 0.0) {
        float grain = Hash(gl_FragCoord.xy + vec2(noise * 97.0, noise * 57.0)) - 0.5;
        result *= 1.0 + grain * noiseIntensity * GrainStrength;
    }
    Target0 = vec4(result, 1.0);
}
