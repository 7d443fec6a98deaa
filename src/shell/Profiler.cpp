#include "shell/Profiler.h"

#include <cwchar>

namespace mirefell
{

Profiler& Profiler::GetInstance()
{
    static Profiler instance;
    return instance;
}

void Profiler::AddSample(std::wstring_view name, float value)
{
    auto found = stats.find(name);
    if (found == stats.end())
        found = stats.emplace(std::wstring(name), ProfilerStat{}).first;
    ProfilerStat& stat = found->second;
    if (value < stat.min)
        stat.min = value;
    if (value > stat.max)
        stat.max = value;
    stat.count += 1;
    stat.avg = stat.avg + (value - stat.avg) / static_cast<float>(stat.count);

    wchar_t numbers[256];
    const int length =
        std::swprintf(numbers, sizeof numbers / sizeof numbers[0], L" - %.2f, min: %.2f, max: %.2f, avg: %.2f",
                      static_cast<double>(value), static_cast<double>(stat.min), static_cast<double>(stat.max),
                      static_cast<double>(stat.avg));
    // assign/append reuse the line's capacity: no allocation after the first sample.
    stat.line.assign(found->first);
    if (length > 0)
        stat.line.append(numbers, static_cast<size_t>(length));
}

void Profiler::Draw()
{
    if (!visible || !painter)
        return;
    const float lineHeight = painter->GetLineHeight(0);
    painter->BeginWithShader();
    Vector2 position(painter->GetMargin(), painter->GetMargin());
    for (const auto& [name, stat] : stats) {
        painter->DrawText(0, false, position, stat.line.c_str(), Color(1.0f, 1.0f, 1.0f, 1.0f), 1, 1, false);
        position.y += lineHeight;
    }
    painter->EndBatch();
}

} // namespace mirefell
