#version 330 core
// Luminance: the frame behind a menu, drained of colour and dimmed. The
// scene copy (slot 0) becomes its luminance scaled by a base dimming plus the
// tint; alpha is 1, so the premultiplied blend replaces the frame (a tint
// with alpha 0 would otherwise add the picture onto itself and brighten it).

// The copy has the window's size: each pixel reads its own texel (one texel
// to decode instead of a bilinear read's four).
uniform sampler2D scene_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

const float Dimming = 0.2;

void main()
{
    vec3 colour = texelFetch(scene_t0, ivec2(gl_FragCoord.xy), 0).rgb;
    float luminance = dot(colour, vec3(0.2126, 0.7152, 0.0722));
    Target0 = vec4(luminance * (vec3(Dimming) + spriteColor.rgb), 1.0);
}
