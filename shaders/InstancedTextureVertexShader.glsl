#version 330 core
// Instanced textured effect, vertex stage: each instance brings its world
// matrix and its inverse, one row per element.

layout(std140) uniform InstancedConstants_b0
{
    mat4 view;       // bytes 0-63, column order
    mat4 projection; // bytes 64-127, column order
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

out vec3 worldNormal;
out vec2 uv;

void main()
{
    // Rows given as columns: these hold the transposes, so a row vector v
    // times the matrix is the matrix times v.
    mat4 worldTransposed = mat4(WORLD0, WORLD1, WORLD2, WORLD3);
    mat4 inverseTransposed = mat4(INVERSE_WORLD0, INVERSE_WORLD1, INVERSE_WORLD2, INVERSE_WORLD3);
    vec4 worldPosition = worldTransposed * vec4(SV_Position0, 1.0);
    gl_Position = worldPosition * view * projection;
    worldNormal = (vec4(NORMAL0, 0.0) * inverseTransposed).xyz;
    uv = TEXCOORD0;
}
