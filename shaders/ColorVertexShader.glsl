#version 330 core
// Colour effect, vertex stage: vertex-coloured geometry with a tangent frame
// for the shared normal map.

layout(std140) uniform ColorConstants_b0
{
    layout(row_major) mat4 world;               // bytes 0-63, row order
    mat4 inverseWorld;                          // bytes 64-127, column order
    layout(row_major) mat4 worldViewProjection; // bytes 128-191, row order
};

in vec3 SV_Position0;
in vec3 NORMAL0;
in vec4 TANGENT0;
in vec4 COLOR0;
in vec2 TEXCOORD0;

out vec3 worldNormal;
out vec3 worldTangent;
out vec4 vertexColour;
out vec2 uv;

void main()
{
    gl_Position = vec4(SV_Position0, 1.0) * worldViewProjection;
    // Normals take the inverse transpose, so scaled meshes keep them upright.
    worldNormal = (inverseWorld * vec4(NORMAL0, 0.0)).xyz;
    worldTangent = (vec4(TANGENT0.xyz, 0.0) * world).xyz;
    vertexColour = COLOR0;
    uv = TEXCOORD0;
}
