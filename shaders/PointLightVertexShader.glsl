#version 330 core
// Point light, vertex stage: the unit sphere scaled to the light's range and
// placed at the light, straight to clip space. The pixel stage gets the
// sphere's point as an offset from the light in world units (the unit
// point times the range), from which it finds the pixel's ray.

layout(std140) uniform PointLightVertexConstants_b0
{
    layout(row_major) mat4 worldViewProjection; // bytes 0-63, row order
};

in vec3 SV_Position0;

out vec3 sphereOffset;

void main()
{
    // Scale(range) x Translation x view x projection: the upper three rows
    // are the range times those of the view-projection, whose w column
    // there is minus the view's unit forward axis, so that column's length
    // is the range.
    float range = length(worldViewProjection[3].xyz);
    sphereOffset = SV_Position0 * range;
    gl_Position = vec4(SV_Position0, 1.0) * worldViewProjection;
}
