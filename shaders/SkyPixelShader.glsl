#version 330 core
// Sky: the sky box (slot 5, a cube) seen through the sky's own turning
// frame, drawn only where nothing else was (the pass's depth test), with the
// film grain of in-game frames that the composition gives the rest.

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

uniform samplerCube sky_t5;

layout(location = 0) out vec4 Target0;

const float GrainStrength = 0.2;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

void main()
{
    vec2 screenUv = gl_FragCoord.xy / screenSize;
    vec4 far = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, 1.0, 1.0) * inverseSkyViewProjection;
    vec3 result = texture(sky_t5, far.xyz / far.w).rgb;
    // Without grain the factor is exactly 1.
    float grain = Hash(gl_FragCoord.xy + vec2(noise * 97.0, noise * 57.0)) - 0.5;
    float strength = inGame != 0 ? max(noiseIntensity, 0.0) * GrainStrength : 0.0;
    Target0 = vec4(result * (1.0 + grain * strength), 1.0);
}
