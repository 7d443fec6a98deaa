#version 330 core
// Line batch, pixel stage: the vertex colour as it stands.

in vec4 lineColor;

layout(location = 0) out vec4 Target0;

void main()
{
    Target0 = lineColor;
}
