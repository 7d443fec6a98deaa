#version 330 core
// Deferred composition: the lit frame from the G-buffer, one quad over the
// window into the output target.
//   slot 0 depth (not read: the normal tells where something was drawn),
//   1 colour (surface colour, linear), 2 normal, 3 light (the point lights
//   accumulated, linear, unbounded), 4 occlusion (visibility in red),
//   5 the sky box (a cube); the per-frame constants at slot 0.
// Where no surface was drawn (a zero normal, the clear value) the sky shows,
// looked up through the sky's own turning frame; elsewhere the surface
// colour is lit by the ambient colour plus the point lights and darkened by
// the occlusion. In-game frames get a faint film grain scaled by the noise
// intensity; without grain its factor is exactly 1.
//
// The renderer builds two variants: with OCCLUSION defined (the frame has
// SSAO) the visibility is read, without it the occlusion target is left
// unread (a read costs the software rasteriser even where its result is
// not used). The G-buffer is read at the pixel's own texel. The software
// rasteriser runs both sides of the sky's choice, so the sky's look-up is
// paid by every pixel; it is one bilinear read of the box's one level, in
// the direction of the far plane's point (the quad's texture coordinate is
// the pixel's place in the window).

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

uniform sampler2D colour_t1;
uniform sampler2D normals_t2;
uniform sampler2D light_t3;
#ifdef OCCLUSION
uniform sampler2D occlusion_t4;
#endif
uniform samplerCube sky_t5;

in vec2 spriteTexCoord; // 0..1 over the window: the quad covers it exactly

layout(location = 0) out vec4 Target0;

const float GrainStrength = 0.2;

float Hash(vec2 p)
{
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec3 normal = texelFetch(normals_t2, pixel, 0).xyz;
    vec3 surface = texelFetch(colour_t1, pixel, 0).rgb;
    vec3 light = texelFetch(light_t3, pixel, 0).rgb;
#ifdef OCCLUSION
    float visibility = texelFetch(occlusion_t4, pixel, 0).r;
#else
    float visibility = 1.0;
#endif
    // The far plane's point at this pixel, homogeneous: its w is 1 / the far
    // distance, positive, and the cube's look-up needs only the direction.
    vec4 far = vec4(spriteTexCoord.x * 2.0 - 1.0, 1.0 - spriteTexCoord.y * 2.0, 1.0, 1.0) * inverseSkyViewProjection;
    vec3 sky = textureLod(sky_t5, far.xyz, 0.0).rgb;
    vec3 result = dot(normal, normal) < 0.01 ? sky : surface * (ambient.rgb + light) * visibility;
    float grain = Hash(gl_FragCoord.xy + vec2(noise * 97.0, noise * 57.0)) - 0.5;
    float strength = inGame != 0 ? max(noiseIntensity, 0.0) * GrainStrength : 0.0;
    Target0 = vec4(result * (1.0 + grain * strength), 1.0);
}
