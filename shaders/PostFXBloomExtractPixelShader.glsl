#version 330 core
// Bloom extract: the bright part of the surface colour (slot 0, the colour
// target, linear) into half-size target A, whose quad covers it exactly.
// Alpha is 0: target A is finally laid over the frame premultiplied, so it
// must add light and hide nothing.

uniform sampler2D source_t0;

layout(location = 0) out vec4 Target0;

const float Threshold = 0.9;
const float Strength = 0.35;

void main()
{
    vec2 uv = gl_FragCoord.xy / vec2(textureSize(source_t0, 0) / 2);
    vec3 colour = textureLod(source_t0, uv, 0.0).rgb;
    vec3 bright = max(colour - Threshold, 0.0) / (1.0 - Threshold);
    Target0 = vec4(bright * Strength, 0.0);
}
