// The effects' constant buffers as their shaders read them: a pixel shader
// built from each GLSL file's own block declaration echoes every member, and
// each member must read back as the matrix or value the C++ side meant
// (world, inverse world, view x projection, ...), whatever the byte order the
// table gives it. A block padded wrongly, a member declared in the wrong
// order or with the wrong row/column qualifier fails here.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "RenderFixture.h"
#include "platform/gpu/CommonStates.h"
#include "render/Camera.h"
#include "render/ColorEffect.h"
#include "render/DecalEffect.h"
#include "render/InstancedTextureEffect.h"
#include "render/LightConstants.h"
#include "render/ParticleEffect.h"
#include "render/PointLights.h"
#include "render/TextureEffect.h"
#include "shell/Config.h"

namespace mirefell::testing
{
namespace
{

const char* const FullScreenTriangle = R"(#version 330 core
void main()
{
    vec2 corner = vec2(float((gl_VertexID & 1) * 4 - 1), float((gl_VertexID & 2) * 2 - 1));
    gl_Position = vec4(corner, 0.5, 1.0);
}
)";

struct Member
{
    std::string name;
    std::string type;
};

std::string ShaderText(const std::string& file)
{
    std::ifstream in(std::string("shaders/") + file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The members of `block` in a shader file, and the file's declaration text.
std::vector<Member> ReadBlock(const std::string& file, const std::string& block, std::string& body)
{
    const std::string source = ShaderText(file);
    const size_t start = source.find("uniform " + block);
    EXPECT_NE(start, std::string::npos) << file << " has no block " << block;
    const size_t open = source.find('{', start);
    const size_t close = source.find('}', open);
    body = source.substr(open + 1, close - open - 1);
    std::vector<Member> members;
    const std::regex member(R"((mat4|vec4|vec3|vec2|float|int)\s+(\w+)\s*;)");
    for (auto it = std::sregex_iterator(body.begin(), body.end(), member); it != std::sregex_iterator(); ++it)
        members.push_back({(*it)[2], (*it)[1]});
    return members;
}

int FloatCount(const std::string& type)
{
    return type == "mat4" ? 16 : type == "vec4" ? 4 : type == "vec3" ? 3 : type == "vec2" ? 2 : 1;
}

class EffectConstantTest : public RenderFixture
{
protected:
    // Draws the echo of `block` (declared in `file`) with `buffer` at pixel
    // slot 0 and returns each member's values: matrices as the shader sees
    // them, element (row r, column c) at r * 4 + c, with rows meaning what
    // `v * M` makes of them.
    std::map<std::string, std::vector<float>> Echo(const std::string& file, const std::string& block,
                                                   gpu::Buffer* buffer)
    {
        std::string body;
        const std::vector<Member> members = ReadBlock(file, block, body);
        std::ostringstream shader;
        shader << "#version 330 core\nlayout(std140) uniform Echo_b0\n{" << body << "};\n"
               << "layout(location = 0) out vec4 Target0;\nvoid main()\n{\n";
        int total = 0;
        for (const Member& m : members)
            total += FloatCount(m.type);
        const int pixels = (total + 3) / 4;
        shader << "    float v[" << pixels * 4 << "];\n";
        int at = 0;
        for (const Member& m : members) {
            if (m.type == "mat4") {
                for (int r = 0; r < 4; ++r)
                    for (int c = 0; c < 4; ++c)
                        shader << "    v[" << at++ << "] = " << m.name << "[" << c << "][" << r << "];\n";
            } else if (m.type == "float" || m.type == "int") {
                shader << "    v[" << at++ << "] = float(" << m.name << ");\n";
            } else {
                for (int k = 0; k < FloatCount(m.type); ++k)
                    shader << "    v[" << at++ << "] = " << m.name << "[" << k << "];\n";
            }
        }
        while (at < pixels * 4)
            shader << "    v[" << at++ << "] = 0.0;\n";
        shader << "    int i = int(gl_FragCoord.x) * 4;\n"
               << "    Target0 = vec4(v[i], v[i + 1], v[i + 2], v[i + 3]);\n}\n";

        const std::vector<float> values = DrawPixels(shader.str(), static_cast<uint32_t>(pixels), buffer);

        std::map<std::string, std::vector<float>> result;
        at = 0;
        for (const Member& m : members) {
            result[m.name].assign(values.begin() + at, values.begin() + at + FloatCount(m.type));
            at += FloatCount(m.type);
        }
        return result;
    }

    // Draws one pixel per GLSL vec4 expression over the members of `block`
    // (declared in `file` after its struct `structName`) with `buffer` at
    // pixel slot 0, and returns the pixels' values in order.
    std::vector<float> EchoVectors(const std::string& file, const std::string& block, const std::string& structName,
                                   gpu::Buffer* buffer, const std::vector<std::string>& expressions)
    {
        std::string body;
        ReadBlock(file, block, body);
        const std::string source = ShaderText(file);
        const size_t start = source.find("struct " + structName);
        EXPECT_NE(start, std::string::npos) << file << " has no struct " << structName;
        const std::string structText = source.substr(start, source.find("};", start) + 2 - start);
        std::ostringstream shader;
        shader << "#version 330 core\n"
               << structText << "\nlayout(std140) uniform Echo_b0\n{" << body << "};\n"
               << "layout(location = 0) out vec4 Target0;\nvoid main()\n{\n    int i = int(gl_FragCoord.x);\n";
        for (size_t i = 0; i < expressions.size(); ++i)
            shader << "    if (i == " << i << ") Target0 = " << expressions[i] << ";\n";
        shader << "}\n";
        return DrawPixels(shader.str(), static_cast<uint32_t>(expressions.size()), buffer);
    }

    // Draws `pixelSource` over a row of `pixels` float pixels with `buffer`
    // at pixel slot 0 and reads the row back, four floats a pixel.
    std::vector<float> DrawPixels(const std::string& pixelSource, uint32_t pixels, gpu::Buffer* buffer)
    {
        auto target = MakeTarget(gpu::Format::R32G32B32A32_FLOAT, pixels, 1);
        auto view = device->CreateRenderTargetView(target.get());
        gpu::RenderTargetView* views[] = {view.get()};
        context->OMSetRenderTargets(1, views, nullptr);
        SetViewport(pixels, 1);
        gpu::CommonStates states(*device);
        context->RSSetState(states.CullNone());
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthNone(), 0);
        auto vertex = VertexShader(FullScreenTriangle);
        auto pixel = PixelShader(pixelSource);
        context->VSSetShader(vertex.get());
        context->PSSetShader(pixel.get());
        context->IASetInputLayout(nullptr);
        context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        context->PSSetConstantBuffers(0, 1, &buffer);
        context->Draw(3, 0);
        return context->ReadPixelsFloat(target.get());
    }

    static void ExpectMatrix(const std::vector<float>& seen, const Matrix& expected, const char* what)
    {
        ASSERT_EQ(seen.size(), 16u) << what;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(seen[r * 4 + c], expected.m[r][c], 1e-3f * (1 + std::abs(expected.m[r][c])))
                    << what << " row " << r << " column " << c;
    }

    // Distinct, invertible, non-symmetric matrices.
    const Matrix world = Matrix::CreateScale(Vector3(2, 3, 0.5f)) * Matrix::CreateFromYawPitchRoll(0.3f, 0.2f, 0.1f) *
                         Matrix::CreateTranslation(Vector3(1, -2, 3));
    const Matrix view = Matrix::CreateLookAt(Vector3(4, 5, 6), Vector3(0, 1, 0), Vector3(0, 1, 0));
    const Matrix projection = Matrix::CreatePerspectiveFieldOfView(1.2f, 1.5f, 0.1f, 100.0f);
};

TEST_F(EffectConstantTest, ColourAndTexturedEffectsShareTheWorldInverseAndCombinedLayout)
{
    TextureRegistry::GetInstance().Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
    ColorEffect colour(device.get());
    TextureEffect textured(device.get());
    struct Case
    {
        IEffect* effect;
        const char* vertexFile;
    };
    for (const Case& c : {Case{&colour, "ColorVertexShader.glsl"}, Case{&textured, "TextureVertexShader.glsl"}}) {
        c.effect->SetMatrices(world, view, projection);
        gpu::Buffer* buffer = context->VSGetConstantBuffer(0);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->Desc().byteWidth, 192u);
        auto seen = Echo(c.vertexFile, "ColorConstants_b0", buffer);
        ExpectMatrix(seen["world"], world, "world");
        ExpectMatrix(seen["inverseWorld"], world.Inverted(), "inverse world");
        ExpectMatrix(seen["worldViewProjection"], world * view * projection, "world x view x projection");
    }
    EXPECT_EQ(colour.GetVertexStride(), 52u);
    EXPECT_EQ(textured.GetVertexStride(), 32u);
}

TEST_F(EffectConstantTest, InstancedAndParticleEffectsCarryTheCameraInColumnOrder)
{
    InstancedTextureEffect instanced(device.get());
    instanced.SetMatrices(world, view, projection);
    auto seen = Echo("InstancedTextureVertexShader.glsl", "InstancedConstants_b0", context->VSGetConstantBuffer(0));
    ExpectMatrix(seen["view"], view, "view");
    ExpectMatrix(seen["projection"], projection, "projection");

    ParticleEffect particles(device.get());
    particles.SetMatrices(world, view, projection);
    seen = Echo("ParticleVertexShader.glsl", "ParticleConstants_b0", context->VSGetConstantBuffer(0));
    ExpectMatrix(seen["world"], world, "world");
    ExpectMatrix(seen["view"], view, "view");
    ExpectMatrix(seen["projection"], projection, "projection");
    EXPECT_EQ(particles.GetVertexStride(), 12u);
}

TEST_F(EffectConstantTest, DecalConstantsReachBothStagesAndFollowTheScreenSize)
{
    DecalEffect decals(device.get());
    ScreenWidth = 1365;
    ScreenHeight = 767;
    decals.SetMatrices(world, view, projection);
    gpu::Buffer* vertexStage = context->VSGetConstantBuffer(0);
    ASSERT_EQ(vertexStage, context->PSGetConstantBuffer(0));
    for (auto [file, block] : {std::pair{"DecalVertexShader.glsl", "DecalConstants_b0"},
                               std::pair{"DecalPixelShader.glsl", "DecalPixelConstants_b0"}}) {
        auto seen = Echo(file, block, vertexStage);
        ExpectMatrix(seen["view"], view, "view");
        ExpectMatrix(seen["projection"], projection, "projection");
        ExpectMatrix(seen["inverseViewProjection"], (view * projection).Inverted(), "inverse view-projection");
        EXPECT_EQ(seen["screenSize"], (std::vector<float>{1365, 767})) << file;
    }

    // The size is read at every call: a resize shows at the next one.
    ScreenWidth = 640;
    ScreenHeight = 360;
    decals.SetMatrices(Matrix::Identity(), view, projection);
    auto seen = Echo("DecalPixelShader.glsl", "DecalPixelConstants_b0", context->PSGetConstantBuffer(0));
    EXPECT_EQ(seen["screenSize"], (std::vector<float>{640, 360}));
}

TEST_F(EffectConstantTest, ASingularWorldWritesWithoutComplaint)
{
    TextureEffect textured(device.get());
    const Matrix flat = Matrix::CreateScale(Vector3(1, 0, 1));
    textured.SetMatrices(flat, view, projection);
    auto seen = Echo("TextureVertexShader.glsl", "ColorConstants_b0", context->VSGetConstantBuffer(0));
    ExpectMatrix(seen["world"], flat, "world");
    for (float value : seen["inverseWorld"])
        EXPECT_TRUE(std::isfinite(value)); // no inverse: zeros, never NaN in the shaders
}

// The frame constants as the composition reads them.
TEST_F(EffectConstantTest, FrameConstantsReachTheCompositionShader)
{
    GetCommonStates() = CreateCommonStates(Device);
    PointLights& lights = PointLights::GetInstance();
    lights.Initialize();
    lights.lightPhase = 0.0f;
    Camera camera;
    camera.position = {4, 5, 6};
    camera.target = {0, 1, 0};
    camera.UpdateView();
    ScreenWidth = 1365;
    ScreenHeight = 767;
    Config::GetInstance().settings.ssao = -1;
    lights.PrepareFrame(camera, {0.1f, 0.2f, 0.3f, 0.4f}, 0.25f, true);
    gpu::Buffer* buffer = context->PSGetConstantBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Desc().byteWidth, 208u);
    for (const char* file : {"PointLightPixelShader.glsl", "DeferredPixelShader.glsl"}) {
        auto seen = Echo(file, "FrameConstants_b0", buffer);
        ExpectMatrix(seen["inverseViewProjection"], (camera.view * camera.projection).Inverted(), file);
        EXPECT_EQ(seen["eye"], (std::vector<float>{4, 5, 6, 1})) << file;
        EXPECT_GE(seen["noise"][0], 0.0f);
        EXPECT_LE(seen["noise"][0], 1.0f);
        EXPECT_EQ(seen["noiseIntensity"][0], 0.25f);
        EXPECT_EQ(seen["ssaoEnabled"][0], 0.0f) << "ssao -1: no occlusion this frame";
        EXPECT_EQ(seen["inGame"][0], 1.0f);
        EXPECT_EQ(seen["one"][0], 1.0f);
        EXPECT_EQ(seen["screenSize"], (std::vector<float>{1365, 767}));
        EXPECT_EQ(seen["ambient"], (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));

        // The sky's frame, phase 0: the far plane's centre lies straight
        // ahead of the camera, whatever its position: (-4, -4, -6) / |.|.
        const auto& sky = seen["inverseSkyViewProjection"];
        float far[4] = {};
        for (int c = 0; c < 4; ++c)
            far[c] = sky[2 * 4 + c] + sky[3 * 4 + c]; // (0, 0, 1, 1) x M
        const Vector3 ahead = Vector3(far[0], far[1], far[2]).Normalized();
        EXPECT_NEAR(ahead.x, -0.485071f, 1e-3f) << file;
        EXPECT_NEAR(ahead.y, -0.485071f, 1e-3f) << file;
        EXPECT_NEAR(ahead.z, -0.727607f, 1e-3f) << file;
    }

    // SSAO on: the word is 1 only while an effect fills the occlusion target
    // (an effect that failed to compile would leave it at its clear value 0,
    // and a 1 would black the frame out).
    Config::GetInstance().settings.ssao = 1;
    for (bool available : {false, true}) {
        lights.occlusionAvailable = available;
        lights.PrepareFrame(camera, {0.1f, 0.2f, 0.3f, 0.4f}, 0.25f, true);
        auto seen = Echo("DeferredPixelShader.glsl", "FrameConstants_b0", context->PSGetConstantBuffer(0));
        EXPECT_EQ(seen["ssaoEnabled"][0], available ? 1.0f : 0.0f) << "effect made: " << available;
    }
    lights.occlusionAvailable = false;
    lights.Release();
    Config::GetInstance().settings = Settings{};
}

// One light's draw: the sphere scaled to its range, placed and projected
// (row order), and the record as the point-light pixel stage reads it.
TEST_F(EffectConstantTest, PointLightConstantsCarryTheVolumeAndTheRecord)
{
    Camera camera;
    camera.position = {4, 5, 6};
    camera.target = {0, 1, 0};
    camera.UpdateView();
    PointLight light;
    light.colour = {0.5f, 0.25f, 1.0f, 0.75f};
    light.position = {1, 2, 3};
    light.shaderFlag = 1;
    light.attenuationConstant = 0.5f;
    light.attenuationLinear = 2.0f;
    light.attenuationQuadratic = 0.25f;
    light.useFixedRadius = 1;
    light.fixedRadius = 12.0f;
    light.intensity = 5.0f;
    light.ComputeRange();
    PointLightVertexConstants vertex;
    PointLightPixelConstants pixel;
    WritePointLightConstants(vertex, pixel, camera, light);
    auto vertexBuffer = ConstantBuffer(64);
    WriteConstants(vertexBuffer.get(), &vertex, sizeof vertex);
    auto seen = Echo("PointLightVertexShader.glsl", "PointLightVertexConstants_b0", vertexBuffer.get());
    ExpectMatrix(seen["worldViewProjection"],
                 Matrix::CreateScale(12.0f) * Matrix::CreateTranslation({1, 2, 3}) * camera.view * camera.projection,
                 "sphere to clip");

    auto pixelBuffer = ConstantBuffer(64);
    WriteConstants(pixelBuffer.get(), &pixel, sizeof pixel);
    seen = Echo("PointLightPixelShader.glsl", "PointLightConstants_b1", pixelBuffer.get());
    EXPECT_EQ(seen["colour"], (std::vector<float>{0.5f, 0.25f, 1.0f, 0.75f}));
    EXPECT_EQ(seen["position"], (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(seen["positionW"][0], 1.0f);
    EXPECT_EQ(seen["shaderFlag"][0], 1.0f);
    EXPECT_EQ(seen["attenuationConstant"][0], 0.5f);
    EXPECT_EQ(seen["attenuationLinear"][0], 2.0f);
    EXPECT_EQ(seen["attenuationQuadratic"][0], 0.25f);
    EXPECT_EQ(seen["useFixedRadius"][0], 1.0f);
    EXPECT_EQ(seen["fixedRadius"][0], 12.0f);
    EXPECT_EQ(seen["intensity"][0], 5.0f);
}

} // namespace
} // namespace mirefell::testing
