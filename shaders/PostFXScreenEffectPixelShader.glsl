#version 330 core
// Screen effect: the per-state looks over the scene copy (slot 0). The tint
// arrives as the vertex colour and the two parameters in the constants
// (slot 1); the passes that use this shader give them as follows, and the
// shader reads them so:
//   title screen   tint (r, g, 0, 0), r and g random up to the distortion
//                  amount: rows waver sideways and red and green part;
//   play           tint (d, d, d, 0), d the damage flash: a red wash;
//                  parameter A the teleport flash: a pale green-white wash;
//                  parameter B the pickup flash: a warm gold wash;
//   level complete tint (0.75 f, f, 0, f), f the fade: the picture sinks to
//                  a monochrome in the tint's colour as f grows.
// The distortion is taken only from a tint with alpha 0 and no blue, so the
// damage and fade tints never shake the picture. Alpha is 1: the pass
// replaces the frame.

layout(std140) uniform ScreenEffectConstants_b1
{
    vec2 screenSize;  // 0
    vec2 unused0;     // 8
    float parameterA; // 16
    float parameterB; // 20
    vec2 unused1;     // 24
};

uniform sampler2D scene_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

const float WaverPixels = 6.0;
const float PartPixels = 4.0;
const vec3 Hurt = vec3(0.8, 0.0, 0.0);
const vec3 Teleport = vec3(0.7, 1.0, 0.8);
const vec3 Pickup = vec3(1.0, 0.8, 0.3);

void main()
{
    vec4 tint = spriteColor;
    vec2 distortion = (tint.a == 0.0 && tint.b == 0.0) ? tint.rg : vec2(0.0);

    // Whole-pixel shifts, so each read is one texel of the window-sized copy
    // (a bilinear read would decode four). When red and green part, the
    // three channels come from three places; otherwise one read gives all
    // three, and the loop that makes the other two reads is left after its
    // first turn (a block of pixels pays for a turn only when one of its
    // pixels needs it).
    ivec2 p = ivec2(gl_FragCoord.xy);
    ivec2 last = textureSize(scene_t0, 0) - 1;
    int waver = int(round(sin(gl_FragCoord.y * 0.12 + distortion.g * 40.0) * distortion.r * WaverPixels));
    int part = int(round(distortion.g * PartPixels));
    vec3 colour = vec3(0.0);
    int reads = part != 0 ? 3 : 1;
    for (int i = 0; i < reads; ++i) {
        int shift = i == 0 ? part : (i == 1 ? -part : 0);
        vec3 read = texelFetch(scene_t0, clamp(p + ivec2(waver + shift, 0), ivec2(0), last), 0).rgb;
        colour = i == 0 ? read : (i == 1 ? vec3(colour.r, read.g, colour.b) : vec3(colour.rg, read.b));
    }

    // The three washes, one after the other, are one scale and one shift.
    float hurt = clamp((tint.a == 0.0 ? tint.b : 0.0) * 0.6, 0.0, 1.0);
    float teleport = clamp(parameterA * 0.8, 0.0, 1.0);
    float pickup = clamp(parameterB * 0.5, 0.0, 1.0);
    float keepAfterTeleport = (1.0 - teleport) * (1.0 - pickup);
    vec3 wash = (Hurt * hurt * (1.0 - teleport) + Teleport * teleport) * (1.0 - pickup) + Pickup * pickup;
    colour = colour * ((1.0 - hurt) * keepAfterTeleport) + wash;

    float fade = tint.a;
    float luminance = dot(colour, vec3(0.2126, 0.7152, 0.0722));
    colour = mix(colour, luminance * tint.rgb, clamp(fade, 0.0, 1.0));
    Target0 = vec4(colour, 1.0);
}
