#version 330 core
// Particle effect, vertex stage: unit shapes placed by per-instance world
// matrices (given as their four columns) and coloured per instance.

layout(std140) uniform ParticleConstants_b0
{
    mat4 world;      // bytes 0-63, column order
    mat4 view;       // bytes 64-127, column order
    mat4 projection; // bytes 128-191, column order
};

in vec3 SV_Position0;
in vec4 WORLD0;
in vec4 WORLD1;
in vec4 WORLD2;
in vec4 WORLD3;
in vec4 COLOR0;

out vec3 worldPosition;
out vec3 viewPosition;
flat out vec4 particleColour;

void main()
{
    mat4 instanceWorld = mat4(WORLD0, WORLD1, WORLD2, WORLD3);
    vec4 placed = vec4(SV_Position0, 1.0) * instanceWorld * world;
    vec4 seen = placed * view;
    worldPosition = placed.xyz;
    viewPosition = seen.xyz;
    particleColour = COLOR0;
    gl_Position = seen * projection;
}
