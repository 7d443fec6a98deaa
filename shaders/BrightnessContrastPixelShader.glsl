#version 330 core
// Brightness and contrast: the last pass of every frame, over a copy of the
// finished back buffer (slot 0, same size as the target, read texel for
// texel). The settings act on display values, as a player judges them:
//   display' = (display - 0.5) * contrast + 0.5 + brightness.
// The copy is stored sRGB, so sampling gives linear light; the value is
// encoded here, adjusted, decoded, and the target encodes it again. At the
// defaults (0, 1) that is the identity for every stored level, and the pass
// draws with the variant built with AT_DEFAULTS, which only reads the copy
// back (the software rasteriser would otherwise pay for the six powers of
// every pixel, branch or no branch). The output alpha is 1 so the
// premultiplied blend replaces the frame whatever alpha the interface left
// in it.

layout(std140) uniform BrightnessContrastConstants_b0
{
    float brightness; // 0
    float contrast;   // 4
};

uniform sampler2D frame_t0;

layout(location = 0) out vec4 Target0;

vec3 ToDisplay(vec3 linear)
{
    vec3 low = linear * 12.92;
    vec3 high = 1.055 * pow(linear, vec3(1.0 / 2.4)) - 0.055;
    return mix(high, low, vec3(lessThanEqual(linear, vec3(0.0031308))));
}

vec3 ToLinear(vec3 display)
{
    vec3 low = display / 12.92;
    vec3 high = pow((display + 0.055) / 1.055, vec3(2.4));
    return mix(high, low, vec3(lessThanEqual(display, vec3(0.04045))));
}

void main()
{
    vec3 linear = texelFetch(frame_t0, ivec2(gl_FragCoord.xy), 0).rgb;
#ifdef AT_DEFAULTS
    Target0 = vec4(linear, 1.0);
#else
    vec3 display = (ToDisplay(linear) - 0.5) * contrast + 0.5 + brightness;
    Target0 = vec4(ToLinear(clamp(display, 0.0, 1.0)), 1.0);
#endif
}
