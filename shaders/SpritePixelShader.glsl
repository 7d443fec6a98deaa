#version 330 core
// Sprite batch, pixel stage: the sprite texture (slot 0, the batch's sampler)
// times the tint colour.

uniform sampler2D sprite_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

void main()
{
    Target0 = texture(sprite_t0, spriteTexCoord) * spriteColor;
}
