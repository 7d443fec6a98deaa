#version 330 core
// Point light, vertex stage: one region of the lit composition, a quad over
// the region's rectangle (clip space, from the region's constants), drawn
// as a four-vertex strip with no vertex buffer. The composition's pixel
// stage shades it with the region's lights.

layout(std140) uniform RegionRect_b0
{
    vec4 rect; // bytes 0-15: left, top, right, bottom
};

void main()
{
    float x = (gl_VertexID & 1) != 0 ? rect.z : rect.x;
    float y = (gl_VertexID & 2) != 0 ? rect.w : rect.y;
    gl_Position = vec4(x, y, 0.0, 1.0);
}
