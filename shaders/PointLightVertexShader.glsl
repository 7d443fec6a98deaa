#version 330 core
// Point light, vertex stage: the unit sphere scaled to the light's range and
// placed at the light, straight to clip space. The sphere's own point goes
// on to the pixel stage, which finds the pixel's ray from it.

layout(std140) uniform PointLightVertexConstants_b0
{
    layout(row_major) mat4 worldViewProjection; // bytes 0-63, row order
};

in vec3 SV_Position0;

out vec3 spherePoint;

void main()
{
    spherePoint = SV_Position0;
    gl_Position = vec4(SV_Position0, 1.0) * worldViewProjection;
}
