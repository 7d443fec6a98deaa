#version 330 core
// Painter, pixel stage: every UI sprite and text. The sprite texture (slot 0)
// times the tint, for non-premultiplied blending: white glyph atlases take
// the text colour and keep their coverage in alpha. Fully transparent texels
// are dropped so they never touch the target.

uniform sampler2D sprite_t0;

in vec4 spriteColor;
in vec2 spriteTexCoord;

layout(location = 0) out vec4 Target0;

void main()
{
    vec4 colour = texture(sprite_t0, spriteTexCoord) * spriteColor;
    if (colour.a <= 0.0)
        discard;
    Target0 = colour;
}
