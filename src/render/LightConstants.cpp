// LightConstants: filling the light pass's and the composition's records.
#include "render/LightConstants.h"

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

void WritePointLightConstants(PointLightVertexConstants& vertex, PointLightPixelConstants& pixel, const Camera& camera,
                              const PointLight& light)
{
    vertex.worldViewProjection =
        Matrix::CreateScale(light.range) * Matrix::CreateTranslation(light.position) * camera.view * camera.projection;
    pixel.colour = light.colour;
    pixel.position = light.position;
    pixel.one = 1.0f;
    pixel.shaderFlag = light.shaderFlag ? 1 : 0;
    pixel.constant = light.attenuationConstant;
    pixel.linear = light.attenuationLinear;
    pixel.quadratic = light.attenuationQuadratic;
    pixel.fixedRadius = light.useFixedRadius ? 1 : 0;
    pixel.radius = light.fixedRadius;
    pixel.intensity = light.intensity;
}

} // namespace mirefell
