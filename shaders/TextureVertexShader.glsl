#version 330 core
// Textured effect, vertex stage: one mesh at a time.

layout(std140) uniform ColorConstants_b0
{
    layout(row_major) mat4 world;               // bytes 0-63, row order
    mat4 inverseWorld;                          // bytes 64-127, column order
    layout(row_major) mat4 worldViewProjection; // bytes 128-191, row order
};

in vec3 SV_Position0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;

out vec3 worldNormal;
out vec2 uv;

void main()
{
    gl_Position = vec4(SV_Position0, 1.0) * worldViewProjection;
    worldNormal = (inverseWorld * vec4(NORMAL0, 0.0)).xyz;
    uv = TEXCOORD0;
}
