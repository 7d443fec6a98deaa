#version 330 core
// Particle effect, pixel stage: flat-shaded facets. The facet normal comes
// from the screen-space slopes of the world position and is turned towards
// the camera (decided in view space, where the camera looks down -z).

in vec3 worldPosition;
in vec3 viewPosition;
flat in vec4 particleColour;

layout(location = 0) out vec4 Target0;
layout(location = 1) out vec4 Target1;

void main()
{
    vec3 facet = cross(dFdx(worldPosition), dFdy(worldPosition));
    vec3 facetInView = cross(dFdx(viewPosition), dFdy(viewPosition));
    float towardsCamera = dot(facetInView, -viewPosition) < 0.0 ? -1.0 : 1.0;
    vec3 normal = dot(facet, facet) > 0.0 ? normalize(facet) * towardsCamera : vec3(0.0, 1.0, 0.0);
    Target0 = vec4(particleColour.rgb, 1.0);
    Target1 = vec4(normal, 1.0);
}
