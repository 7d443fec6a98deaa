#version 330 core
// Decal effect, pixel stage: rebuilds the world position of the scene at this
// pixel from the depth buffer (slot 2), takes it into the decal's box, and
// where it lies inside projects the decal texture (slot 0) along the axis the
// surface normal (slot 1) faces most. Output is premultiplied for the pass's
// AlphaBlend state, tinted by the instance colour.

layout(std140) uniform DecalPixelConstants_b0
{
    layout(row_major) mat4 view;
    layout(row_major) mat4 projection;
    layout(row_major) mat4 inverseViewProjection;
    vec2 screenSize;
} frame; // named: the vertex stage's block declares the same members

uniform sampler2D decal_t0;
uniform sampler2D normals_t1;
uniform sampler2D depth_t2;

flat in vec4 inverseRow0;
flat in vec4 inverseRow1;
flat in vec4 inverseRow2;
flat in vec4 inverseRow3;
flat in vec4 decalColour;

layout(location = 0) out vec4 Target0;

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec3 normal = texelFetch(normals_t1, pixel, 0).xyz;
    if (dot(normal, normal) < 0.01)
        discard; // nothing was drawn here
    float depth = texelFetch(depth_t2, pixel, 0).r;
    vec2 screenUv = gl_FragCoord.xy / frame.screenSize;
    vec4 clip = vec4(screenUv.x * 2.0 - 1.0, 1.0 - screenUv.y * 2.0, depth, 1.0);
    vec4 world = clip * frame.inverseViewProjection;
    world /= world.w;

    mat4 inverseTransposed = mat4(inverseRow0, inverseRow1, inverseRow2, inverseRow3);
    vec3 local = (inverseTransposed * vec4(world.xyz, 1.0)).xyz;
    if (any(greaterThan(abs(local), vec3(0.5))))
        discard;

    vec3 facing = abs(mat3(inverseTransposed) * normal);
    vec2 uv;
    if (facing.y >= facing.x && facing.y >= facing.z)
        uv = local.xz;
    else if (facing.x >= facing.z)
        uv = vec2(local.z, -local.y);
    else
        uv = vec2(local.x, -local.y);
    vec4 texel = texture(decal_t0, uv + 0.5);
    float alpha = texel.a * decalColour.a;
    Target0 = vec4(texel.rgb * decalColour.rgb * alpha, alpha);
}
