#version 330 core
// Sky, vertex stage: one triangle over the whole window at the far plane
// (depth 1), from the vertex index alone (no vertex buffer), so a depth test
// against the scene's depth keeps only the pixels where nothing was drawn.

void main()
{
    vec2 corner = vec2((gl_VertexID & 1) != 0 ? 3.0 : -1.0, (gl_VertexID & 2) != 0 ? 3.0 : -1.0);
    gl_Position = vec4(corner, 1.0, 1.0);
}
