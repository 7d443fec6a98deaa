// What a full-window pass costs the software rasteriser (llvmpipe) at
// 1280 x 720, piece by piece, so that the frame's shaders can be written
// around it: a full-window triangle drawn with a pixel shader that does one
// thing (writes a constant, reads a texel of one format in one way, blurs a
// row, branches, discards, does one kind of arithmetic, reads varyings),
// into a target of one format with one blend. Each case reports the
// process's CPU time a pass (`cpu_ms`, over all of llvmpipe's threads: the
// work) beside its wall time; compare a case with `flat/...` of the same
// target and blend to get the price of the one thing. The machine is shared,
// so run with --benchmark_repetitions and read the medians. Set
// LP_NUM_THREADS to choose llvmpipe's threads. docs/PERFORMANCE.md lists
// what these found.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "support/BenchDevice.h"
#include "support/ProcessCpuTime.h"

namespace
{

using namespace mirefell;

constexpr uint32_t Width = 1280;
constexpr uint32_t Height = 720;

// A case's body is the inside of main() after this header: the inputs and
// the helper it may use.
const char* const PixelHeader = R"(#version 330 core
layout(std140) uniform Params_b1
{
    int flag;  // 0 unless a case says otherwise
    int count; // 0 unless a case says otherwise
    vec2 size;
    vec4 tint;
};
uniform sampler2D source_t0;
uniform sampler2D second_t1;
in vec4 varying0;
in vec4 varying1;
in vec4 varying2;
in vec4 varying3;
layout(location = 0) out vec4 Target0;
vec4 Heavy(vec2 p) // straight-line arithmetic, about as much as a light's
{
    vec4 v = vec4(p, p.yx) * 0.001;
    v = sin(v * 1.7 + vec4(0.3, 0.1, 0.2, 0.4)) * v.wzyx + v;
    v = sin(v * 1.3 + vec4(0.1, 0.3, 0.2, 0.4)) * v.wzyx + v;
    v = sin(v * 1.1 + vec4(0.4, 0.1, 0.3, 0.2)) * v.wzyx + v;
    v = sin(v * 1.9 + vec4(0.2, 0.4, 0.1, 0.3)) * v.wzyx + v;
    return v;
}
void main()
{
)";

// A triangle over the whole target with four varyings that change across it.
const char* const VertexShader = R"(#version 330 core
out vec4 varying0;
out vec4 varying1;
out vec4 varying2;
out vec4 varying3;
void main()
{
    vec2 corner = vec2(float((gl_VertexID & 1) * 4 - 1), float((gl_VertexID & 2) * 2 - 1));
    varying0 = vec4(corner, 0.5, 1.0);
    varying1 = vec4(corner.yx, 0.25, 1.0);
    varying2 = vec4(corner * 0.5, corner);
    varying3 = vec4(corner.x, 1.0, corner.y, 0.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";

enum class Source : uint8_t
{
    Srgb,   // R8G8B8A8_UNORM_SRGB, like the colour target and the frame copies
    Unorm,  // R8G8B8A8_UNORM
    Half,   // R16G16B16A16_FLOAT, like the light target
    Snorm,  // R8G8B8A8_SNORM, like the normal target
    Depth,  // the depth view of a D24_UNORM_S8_UINT texture
    Single, // R8_UNORM
};

enum class Target : uint8_t
{
    Srgb,
    Unorm,
    Half,
};

enum class Blending : uint8_t
{
    Opaque,
    Premultiplied,
    Additive,
};

struct Case
{
    const char* name;
    const char* body;
    Source source = Source::Srgb;
    Target target = Target::Srgb;
    Blending blend = Blending::Premultiplied;
    bool pointSampler = false;
    Source second = Source::Unorm;
    int flag = 0;
    int count = 0;
};

struct Rig
{
    Rig() : bench(Width, Height, gpu::Format::R8G8B8A8_UNORM_SRGB), states(*bench.device)
    {
        gpu::Device& device = *bench.device;
        vertexShader = device.CreateVertexShader(VertexShader, std::strlen(VertexShader));
        const auto add = [&](Source kind, gpu::Format format, size_t bytes) {
            std::vector<uint8_t> texels(size_t{Width} * Height * bytes);
            uint32_t seed = 12345;
            for (uint8_t& byte : texels) {
                seed = seed * 1664525u + 1013904223u;
                byte = static_cast<uint8_t>(seed >> 24);
            }
            if (kind == Source::Half) // finite halves between 0 and 2
                for (size_t i = 1; i < texels.size(); i += 2)
                    texels[i] &= 0x3f;
            gpu::Texture2DDesc desc;
            desc.width = Width;
            desc.height = Height;
            desc.format = format;
            desc.bindFlags = gpu::BindShaderResource | gpu::BindRenderTarget;
            const gpu::SubresourceData data{texels.data(), static_cast<uint32_t>(Width * bytes)};
            auto texture = device.CreateTexture2D(desc, &data);
            views[size_t(kind)] = device.CreateShaderResourceView(texture.get());
            if (kind != Source::Snorm && kind != Source::Single)
                targets[size_t(kind == Source::Srgb ? Target::Srgb
                                                    : (kind == Source::Unorm ? Target::Unorm : Target::Half))] =
                    device.CreateRenderTargetView(texture.get());
            textures.push_back(std::move(texture));
        };
        add(Source::Srgb, gpu::Format::R8G8B8A8_UNORM_SRGB, 4);
        add(Source::Unorm, gpu::Format::R8G8B8A8_UNORM, 4);
        add(Source::Half, gpu::Format::R16G16B16A16_FLOAT, 8);
        add(Source::Snorm, gpu::Format::R8G8B8A8_SNORM, 4);
        add(Source::Single, gpu::Format::R8_UNORM, 1);
        gpu::Texture2DDesc depthDesc;
        depthDesc.width = Width;
        depthDesc.height = Height;
        depthDesc.format = gpu::Format::D24_UNORM_S8_UINT;
        depthDesc.bindFlags = gpu::BindDepthStencil | gpu::BindShaderResource;
        auto depth = device.CreateTexture2D(depthDesc);
        depthView = device.CreateDepthStencilView(depth.get());
        DeviceContext->ClearDepthStencilView(depthView.get(), gpu::ClearDepth | gpu::ClearStencil, 0.5f, 0);
        views[size_t(Source::Depth)] = device.CreateShaderResourceView(depth.get());
        textures.push_back(std::move(depth));
        // The sRGB target is the bench device's own (the back buffer's format).
        targets[size_t(Target::Srgb)] = bench.view;
        params = CreateParams(device);
    }

    static std::shared_ptr<gpu::Buffer> CreateParams(gpu::Device& device)
    {
        gpu::BufferDesc desc;
        desc.byteWidth = 32;
        desc.usage = gpu::Usage::Dynamic;
        desc.bindFlags = gpu::BindConstantBuffer;
        desc.cpuWrite = true;
        return device.CreateBuffer(desc);
    }

    void Bind(const Case& c, gpu::PixelShader* shader)
    {
        gpu::Context& context = *DeviceContext;
        gpu::RenderTargetView* target = targets[size_t(c.target)].get();
        context.OMSetRenderTargets(1, &target, nullptr);
        gpu::BlendState* blend = c.blend == Blending::Opaque
                                     ? states.Opaque()
                                     : (c.blend == Blending::Additive ? states.Additive() : states.AlphaBlend());
        context.OMSetBlendState(blend, nullptr, 0xffffffff);
        context.OMSetDepthStencilState(states.DepthNone(), 0);
        context.RSSetState(states.CullNone());
        context.IASetInputLayout(nullptr);
        context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        context.VSSetShader(vertexShader.get());
        context.PSSetShader(shader);
        gpu::ShaderResourceView* sourceViews[] = {views[size_t(c.source)].get(), views[size_t(c.second)].get()};
        context.PSSetShaderResources(0, 2, sourceViews);
        gpu::SamplerState* samplers[] = {c.pointSampler ? states.PointClamp() : states.LinearClamp(),
                                         states.LinearClamp()};
        context.PSSetSamplers(0, 2, samplers);
        struct
        {
            int32_t flag, count;
            float size[2];
            float tint[4];
        } values{c.flag, c.count, {float(Width), float(Height)}, {0.5f, 0.25f, 0.125f, 1.0f}};
        std::memcpy(context.Map(params.get(), gpu::MapType::WriteDiscard), &values, sizeof values);
        context.Unmap(params.get());
        gpu::Buffer* buffer = params.get();
        context.PSSetConstantBuffers(1, 1, &buffer);
    }

    testing::BenchDevice bench;
    gpu::CommonStates states;
    std::shared_ptr<gpu::VertexShader> vertexShader;
    std::vector<std::shared_ptr<gpu::Texture2D>> textures;
    std::shared_ptr<gpu::ShaderResourceView> views[6];
    std::shared_ptr<gpu::RenderTargetView> targets[3];
    std::shared_ptr<gpu::DepthStencilView> depthView;
    std::shared_ptr<gpu::Buffer> params;
};

Rig& TheRig()
{
    static Rig rig;
    return rig;
}

void Pass(benchmark::State& state, const Case& c)
{
    Rig& rig = TheRig();
    const std::string source = std::string(PixelHeader) + c.body + "\n}\n";
    const std::shared_ptr<gpu::PixelShader> pixel = Device->CreatePixelShader(source.data(), source.size());
    rig.Bind(c, pixel.get());
    DeviceContext->Draw(3, 0); // the program is linked and compiled for these states
    DeviceContext->Finish();
    testing::TimeFramesWithCpu(state, [&] {
        DeviceContext->Draw(3, 0);
        DeviceContext->Finish();
    });
}

// clang-format off
const std::vector<Case> Cases = {
    // What writing a pixel costs, by target and blend.
    {"flat/srgb_opaque", "Target0 = tint;", Source::Srgb, Target::Srgb, Blending::Opaque},
    {"flat/srgb_premultiplied", "Target0 = tint;"},
    {"flat/unorm_opaque", "Target0 = tint;", Source::Srgb, Target::Unorm, Blending::Opaque},
    {"flat/unorm_premultiplied", "Target0 = tint;", Source::Srgb, Target::Unorm},
    {"flat/half_opaque", "Target0 = tint;", Source::Srgb, Target::Half, Blending::Opaque},
    {"flat/half_additive", "Target0 = tint;", Source::Srgb, Target::Half, Blending::Additive},
    // One texel read, by format and by kind of read (premultiplied into sRGB).
    {"read/fetch_srgb", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0);"},
    {"read/fetch_unorm", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0);", Source::Unorm},
    {"read/fetch_half", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0);", Source::Half},
    {"read/fetch_snorm", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0);", Source::Snorm},
    {"read/fetch_depth", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0).rrrr;", Source::Depth},
    {"read/fetch_r8", "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(source_t0, p, 0).rrrr;", Source::Single},
    {"read/point_srgb", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0);", Source::Srgb, Target::Srgb,
     Blending::Premultiplied, true},
    {"read/point_depth", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0).rrrr;", Source::Depth,
     Target::Srgb, Blending::Premultiplied, true},
    {"read/point_half", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0);", Source::Half,
     Target::Srgb, Blending::Premultiplied, true},
    {"read/linear_srgb", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0);"},
    {"read/linear_srgb_implicit_lod", "Target0 = texture(source_t0, gl_FragCoord.xy / size);"},
    {"read/linear_unorm", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0);", Source::Unorm},
    {"read/linear_half", "Target0 = textureLod(source_t0, gl_FragCoord.xy / size, 0.0);", Source::Half},
    {"read/fetch_srgb_three_times",
     "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = vec4(texelFetch(source_t0, p, 0).r, texelFetch(source_t0, p, 0).g,"
     " texelFetch(source_t0, p, 0).b, 1.0);"},
    {"read/fetch_srgb_clamped",
     "ivec2 p = clamp(ivec2(gl_FragCoord.xy) + ivec2(1, 0), ivec2(0), ivec2(size) - 1);"
     " Target0 = texelFetch(source_t0, p, 0);"},
    {"read/fetch_srgb_textureSize_clamped",
     "ivec2 p = clamp(ivec2(gl_FragCoord.xy) + ivec2(1, 0), ivec2(0), textureSize(source_t0, 0) - 1);"
     " Target0 = texelFetch(source_t0, p, 0);"},
    {"read/fetch_srgb_offset", "Target0 = texelFetchOffset(source_t0, ivec2(gl_FragCoord.xy), 0, ivec2(1, 0));"},
    // A row of the bloom's blur: fifteen bilinear taps between texel pairs,
    // or the twenty-nine texels they cover read one by one.
    {"blur/fifteen_bilinear_taps_across",
     "vec2 uv = gl_FragCoord.xy / size; vec4 sum = textureLod(source_t0, uv, 0.0) * 0.2;"
     " for (int i = 1; i <= 7; ++i) sum += (textureLod(source_t0, uv + vec2((2.0 * float(i) - 0.5) / size.x, 0.0), 0.0)"
     " + textureLod(source_t0, uv - vec2((2.0 * float(i) - 0.5) / size.x, 0.0), 0.0)) * 0.05;"
     " Target0 = sum;"},
    {"blur/twenty_nine_fetches_across",
     "ivec2 p = ivec2(gl_FragCoord.xy); ivec2 last = ivec2(size) - 1; vec4 sum = texelFetch(source_t0, p, 0) * 0.2;"
     " for (int i = 1; i <= 14; ++i) sum += (texelFetch(source_t0, min(p + ivec2(i, 0), last), 0)"
     " + texelFetch(source_t0, max(p - ivec2(i, 0), ivec2(0)), 0)) * 0.03;"
     " Target0 = sum;"},
    {"blur/fifteen_bilinear_taps_down",
     "vec2 uv = gl_FragCoord.xy / size; vec4 sum = textureLod(source_t0, uv, 0.0) * 0.2;"
     " for (int i = 1; i <= 7; ++i) sum += (textureLod(source_t0, uv + vec2(0.0, (2.0 * float(i) - 0.5) / size.y), 0.0)"
     " + textureLod(source_t0, uv - vec2(0.0, (2.0 * float(i) - 0.5) / size.y), 0.0)) * 0.05;"
     " Target0 = sum;"},
    {"blur/twenty_nine_fetches_down",
     "ivec2 p = ivec2(gl_FragCoord.xy); ivec2 last = ivec2(size) - 1; vec4 sum = texelFetch(source_t0, p, 0) * 0.2;"
     " for (int i = 1; i <= 14; ++i) sum += (texelFetch(source_t0, min(p + ivec2(0, i), last), 0)"
     " + texelFetch(source_t0, max(p - ivec2(0, i), ivec2(0)), 0)) * 0.03;"
     " Target0 = sum;"},
    // Arithmetic, and whether a branch or a discard spares it.
    {"branch/heavy", "Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_under_uniform_if_not_taken",
     "Target0 = tint; if (flag != 0) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_under_varying_if_not_taken",
     "Target0 = tint; if (varying2.x < -10.0) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_under_varying_if_left_half",
     "Target0 = tint; if (varying2.x < 0.0) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_under_varying_if_every_other_pixel",
     "Target0 = tint; if (fract(gl_FragCoord.x * 0.5) < 0.25) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_in_loop_of_zero_turns",
     "Target0 = tint; for (int i = 0; i < count; ++i) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_in_varying_loop_of_zero_turns",
     "Target0 = tint; for (int i = 0; float(i) < varying2.x - 10.0; ++i) Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/discard_all", "if (varying2.x > -10.0) discard; Target0 = tint;"},
    {"branch/heavy_after_discard_of_all", "if (varying2.x > -10.0) discard; Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_after_discard_of_none", "if (varying2.x < -10.0) discard; Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/heavy_after_discard_of_left_half",
     "if (varying2.x < 0.0) discard; Target0 = Heavy(gl_FragCoord.xy);"},
    {"branch/fetch_after_discard_of_all",
     "if (varying2.x > -10.0) discard; Target0 = texelFetch(source_t0, ivec2(gl_FragCoord.xy), 0);"},
    {"branch/fetch_under_varying_if_not_taken",
     "Target0 = tint; if (varying2.x < -10.0) Target0 = texelFetch(source_t0, ivec2(gl_FragCoord.xy), 0);"},
    {"branch/fetch_under_uniform_if_not_taken",
     "Target0 = tint; if (flag != 0) Target0 = texelFetch(source_t0, ivec2(gl_FragCoord.xy), 0);"},
    // The light pass's pixel: a constant, the depth and normal reads, the
    // whole light (into half floats, added).
    {"light/constant", "Target0 = tint * 0.001;", Source::Depth, Target::Half, Blending::Additive, false, Source::Snorm},
    {"light/reads",
     "ivec2 p = ivec2(gl_FragCoord.xy); Target0 = tint * 0.001 * (texelFetch(source_t0, p, 0).r"
     " + texelFetch(second_t1, p, 0));", Source::Depth, Target::Half, Blending::Additive, false, Source::Snorm},
    {"light/whole",
     "ivec2 p = ivec2(gl_FragCoord.xy); float depth = texelFetch(source_t0, p, 0).r;"
     " vec3 normal = texelFetch(second_t1, p, 0).xyz;"
     " vec3 centre = tint.xyz * 100.0; vec3 ray = centre + varying2.xyz * 30.0;"
     " float sceneW = depth * 0.001 + 0.002; vec3 toLight = centre - ray * (gl_FragCoord.w / sceneW);"
     " float d2 = dot(toLight, toLight); float inverseD = inversesqrt(max(d2, 1e-8));"
     " float attenuation = max(0.005 * d2 + tint.w * d2 * inverseD, 0.001);"
     " float numerator = 1.0 - 0.01 * attenuation;"
     " vec3 lit = tint.rgb * (5.0 * max(numerator / attenuation, 0.0));"
     " float cosine = dot(normal, toLight) * inverseD * inversesqrt(max(dot(normal, normal), 1e-12));"
     " Target0 = vec4(lit * max(cosine, 0.0), 1.0);", Source::Depth, Target::Half, Blending::Additive, false,
     Source::Snorm},
    // Arithmetic on a varying, one kind of operation eight times over.
    {"math/eight_multiply_adds",
     "vec4 v = varying2; v = v * v.yzwx + v; v = v * v.yzwx + v; v = v * v.yzwx + v; v = v * v.yzwx + v;"
     " v = v * v.yzwx + v; v = v * v.yzwx + v; v = v * v.yzwx + v; v = v * v.yzwx + v; Target0 = v;"},
    {"math/eight_divisions",
     "vec4 v = varying2; v = v / (v.yzwx + 2.0); v = v / (v.yzwx + 2.0); v = v / (v.yzwx + 2.0);"
     " v = v / (v.yzwx + 2.0); v = v / (v.yzwx + 2.0); v = v / (v.yzwx + 2.0); v = v / (v.yzwx + 2.0);"
     " v = v / (v.yzwx + 2.0); Target0 = v;"},
    {"math/eight_inverse_square_roots",
     "vec4 v = varying2 + 2.0; v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0);"
     " v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0);"
     " v = inversesqrt(v + 1.0); Target0 = v;"},
    {"math/eight_square_roots",
     "vec4 v = varying2 + 2.0; v = sqrt(v + 1.0); v = sqrt(v + 1.0); v = sqrt(v + 1.0); v = sqrt(v + 1.0);"
     " v = sqrt(v + 1.0); v = sqrt(v + 1.0); v = sqrt(v + 1.0); v = sqrt(v + 1.0); Target0 = v;"},
    {"math/eight_maxima",
     "vec4 v = varying2; v = max(v, v.yzwx); v = max(v, v.yzwx) * 0.5; v = max(v, v.yzwx); v = max(v, v.yzwx) * 0.5;"
     " v = max(v, v.yzwx); v = max(v, v.yzwx) * 0.5; v = max(v, v.yzwx); v = max(v, v.yzwx) * 0.5; Target0 = v;"},
    {"math/eight_dependent_scalar_multiply_adds",
     "float v = varying2.x; v = v * v + 0.5; v = v * v + 0.5; v = v * v + 0.5; v = v * v + 0.5;"
     " v = v * v + 0.5; v = v * v + 0.5; v = v * v + 0.5; v = v * v + 0.5; Target0 = vec4(v);"},
    {"math/eight_dependent_scalar_divisions",
     "float v = varying2.x; v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0);"
     " v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0); v = 1.0 / (v + 2.0); Target0 = vec4(v);"},
    {"math/eight_dependent_scalar_inverse_square_roots",
     "float v = varying2.x + 2.0; v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0);"
     " v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0); v = inversesqrt(v + 1.0);"
     " v = inversesqrt(v + 1.0); Target0 = vec4(v);"},
    {"math/uniform_arithmetic",
     "vec4 t = tint; t = t * t.yzwx + t; t = t / (t.yzwx + 2.0); t = sqrt(t + 1.0); t = t * t.yzwx + t;"
     " Target0 = t * varying2;"},
    // Varyings: interpolated per pixel.
    {"varying/one", "Target0 = varying0;"},
    {"varying/four", "Target0 = varying0 + varying1 + varying2 + varying3;"},
    {"varying/gl_FragCoord_w", "Target0 = tint * gl_FragCoord.w;"},
};
// clang-format on

const int registered = [] {
    for (const Case& c : Cases)
        benchmark::RegisterBenchmark((std::string("BM_Pass/") + c.name).c_str(), Pass, c)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return 0;
}();

} // namespace
