// LightConstants: filling the light pass's and the composition's records.
#include "render/LightConstants.h"

#include <algorithm>

#include "render/Camera.h"
#include "render/PointLight.h"

namespace mirefell
{

void WriteFrameConstants(FrameConstants& out, const Camera& camera, const FrameInputs& inputs)
{
    out.inverseViewProjection = (camera.view * camera.projection).Inverted();
    // The sky turns with the light phase about all three axes and never moves
    // with the eye: a view from just above the origin looking the camera's way.
    const float phase = inputs.lightPhase;
    const Matrix turn = Matrix::CreateFromYawPitchRoll(phase, phase, phase);
    const Matrix skyView =
        Matrix::CreateLookAt(Vector3(0.0f, 0.0001f, 0.0f), camera.target - camera.position, camera.up);
    out.inverseSkyViewProjection = (turn * skyView * camera.projection).Inverted();
    out.eye = Vector4(camera.position, 1.0f);
    out.noise = inputs.noise;
    out.noiseIntensity = inputs.noiseIntensity;
    out.ssaoEnabled = inputs.ssaoEnabled ? 1 : 0;
    out.inGame = inputs.inGame ? 1 : 0;
    out.one = 1.0f;
    out.screenWidth = inputs.screenWidth;
    out.screenHeight = inputs.screenHeight;
    out.ambient = inputs.ambient;
}

void WriteShadedLight(ShadedLight& out, const PointLight& light)
{
    out.position = light.position;
    const float scale = light.colour.a * light.intensity;
    out.colour = Vector3(light.colour.r * scale, light.colour.g * scale, light.colour.b * scale);
    out.wrap = light.shaderFlag ? 1.0f : 0.5f;
    out.constant = light.attenuationConstant;
    out.linear = light.attenuationLinear;
    out.quadratic = light.attenuationQuadratic;
    if (light.useFixedRadius) {
        out.cutoff = 0.0f;
        // A fixed radius of 0 lights nothing; its window stays finite.
        out.windowScale = 1.0f / std::max(light.fixedRadius * light.fixedRadius, 1e-8f);
    } else {
        out.cutoff = 1.0f / PointLight::CutoffAttenuation;
        out.windowScale = 0.0f;
    }
}

} // namespace mirefell
