#version 330 core
// Line batch, vertex stage: vertex-coloured line lists through one
// world x view x projection matrix.

layout(std140) uniform LineConstants_b0
{
    layout(row_major) mat4 worldViewProjection; // bytes 0-63, row order
};

in vec3 SV_Position0;
in vec4 COLOR0;

out vec4 lineColor;

void main()
{
    gl_Position = vec4(SV_Position0, 1.0) * worldViewProjection;
    lineColor = COLOR0;
}
