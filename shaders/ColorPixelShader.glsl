#version 330 core
// Colour effect, pixel stage: the vertex colour is the surface colour; the
// normal map (slot 1) roughens the surface normal along the tangent frame.
// G-buffer outputs: target 0 colour (linear, stored sRGB), target 1 the
// world-space unit normal with w = 1.

uniform sampler2D normalMap_t1;

in vec3 worldNormal;
in vec3 worldTangent;
in vec4 vertexColour;
in vec2 uv;

layout(location = 0) out vec4 Target0;
layout(location = 1) out vec4 Target1;

const float BumpStrength = 0.6;

void main()
{
    vec3 normal = normalize(worldNormal);
    vec3 tangent = worldTangent - normal * dot(normal, worldTangent);
    if (dot(tangent, tangent) > 1e-6) {
        tangent = normalize(tangent);
        vec3 bitangent = cross(normal, tangent);
        vec3 bump = texture(normalMap_t1, uv).xyz * 2.0 - 1.0;
        bump.xy *= BumpStrength;
        normal = normalize(tangent * bump.x + bitangent * bump.y + normal * bump.z);
    }
    Target0 = vec4(vertexColour.rgb, 1.0);
    Target1 = vec4(normal, 1.0);
}
