#version 330 core
// Textured effect, pixel stage: the texture (slot 0) is the surface colour;
// texels under half alpha are cut out, so sprites and grilles need no sorting.

uniform sampler2D surface_t0;

in vec3 worldNormal;
in vec2 uv;

layout(location = 0) out vec4 Target0;
layout(location = 1) out vec4 Target1;

void main()
{
    vec4 texel = texture(surface_t0, uv);
    if (texel.a < 0.5)
        discard;
    Target0 = texel;
    Target1 = vec4(normalize(worldNormal), texel.a);
}
