#version 330 core
// Sprite batch, vertex stage: screen-pixel quads through the batch transform
// (the caller's matrix times the viewport transform). Every pixel shader that
// replaces the sprite batch's own reads spriteColor and spriteTexCoord.

layout(std140) uniform SpriteTransform_b0
{
    layout(row_major) mat4 transform; // bytes 0-63, row order
};

in vec3 SV_Position0;
in vec4 COLOR0;
in vec2 TEXCOORD0;

out vec4 spriteColor;
out vec2 spriteTexCoord;

void main()
{
    gl_Position = vec4(SV_Position0, 1.0) * transform;
    spriteColor = COLOR0;
    spriteTexCoord = TEXCOORD0;
}
