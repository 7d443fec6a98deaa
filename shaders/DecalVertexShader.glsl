#version 330 core
// Decal effect, vertex stage: the instance's box (a unit cube scaled by its
// world matrix) is rasterised; the pixel stage finds the scene surface inside
// it from the depth buffer.

layout(std140) uniform DecalConstants_b0
{
    layout(row_major) mat4 view;                  // bytes 0-63
    layout(row_major) mat4 projection;            // bytes 64-127
    layout(row_major) mat4 inverseViewProjection; // bytes 128-191
    vec2 screenSize;                              // bytes 192-199
};

in vec3 SV_Position0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
in vec4 WORLD0;
in vec4 WORLD1;
in vec4 WORLD2;
in vec4 WORLD3;
in vec4 INVERSE_WORLD0;
in vec4 INVERSE_WORLD1;
in vec4 INVERSE_WORLD2;
in vec4 INVERSE_WORLD3;
in vec4 COLOR0;

flat out vec4 inverseRow0;
flat out vec4 inverseRow1;
flat out vec4 inverseRow2;
flat out vec4 inverseRow3;
flat out vec4 decalColour;

void main()
{
    mat4 worldTransposed = mat4(WORLD0, WORLD1, WORLD2, WORLD3);
    gl_Position = (worldTransposed * vec4(SV_Position0, 1.0)) * view * projection;
    inverseRow0 = INVERSE_WORLD0;
    inverseRow1 = INVERSE_WORLD1;
    inverseRow2 = INVERSE_WORLD2;
    inverseRow3 = INVERSE_WORLD3;
    decalColour = COLOR0;
}
