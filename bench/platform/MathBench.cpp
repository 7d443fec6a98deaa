// The math layer on the hot paths: composing a world x view x projection
// matrix and transforming points, as the culling and instance fill do per
// object. Compare against the 16.7 ms frame budget.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/math/Math.h"

namespace
{

using namespace mirefell;

void BM_WorldViewProjection(benchmark::State& state)
{
    const Matrix view = Matrix::CreateLookAt({0, 7, 10}, {0, 7, 0}, Vector3::Up());
    const Matrix projection = Matrix::CreatePerspectiveFieldOfView(ToRadians(90.0f), 16.0f / 9.0f, 0.1f, 4000.0f);
    float angle = 0.0f;
    for (auto _ : state) {
        const Matrix world = Matrix::CreateScale(1.5f) * Matrix::CreateFromYawPitchRoll(angle, 0.1f, 0.0f) *
                             Matrix::CreateTranslation({angle, 0, 3});
        Matrix wvp = world * view * projection;
        benchmark::DoNotOptimize(wvp);
        angle += 0.001f;
    }
}
BENCHMARK(BM_WorldViewProjection);

void BM_TransformPoints(benchmark::State& state)
{
    const Matrix m = Matrix::CreateFromYawPitchRoll(0.3f, 0.2f, 0.1f) * Matrix::CreateTranslation({1, 2, 3});
    std::vector<Vector3> points(static_cast<size_t>(state.range(0)), Vector3(1, 2, 3));
    for (auto _ : state) {
        for (Vector3& p : points)
            p = TransformPoint(p, m);
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TransformPoints)->Arg(1024)->Arg(16384);

void BM_Inverse(benchmark::State& state)
{
    Matrix m = Matrix::CreateFromYawPitchRoll(0.3f, 0.2f, 0.1f) * Matrix::CreateTranslation({1, 2, 3});
    for (auto _ : state) {
        m = m.Inverted();
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_Inverse);

} // namespace
