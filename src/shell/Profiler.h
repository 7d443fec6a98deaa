// Profiler: named timing statistics (value, minimum, maximum, running mean)
// for the debug overlay that F1 toggles. Sampling costs no allocation once a
// name has been seen, so the per-step "update time" sample stays free.
// Statistics restart with every level. Drawing needs the Painter and is done
// by the overlay's draw pass; this class only keeps the numbers and lines.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <string_view>

namespace mirefell
{

struct ProfilerStat
{
    float min = std::numeric_limits<float>::infinity();
    float max = -std::numeric_limits<float>::infinity();
    float avg = 0.0f;
    uint32_t count = 0;
    std::wstring line; // "name - value, min: m, max: M, avg: a", two decimals each
};

class Profiler
{
public:
    static Profiler& GetInstance();

    void AddSample(std::wstring_view name, float value);
    void SetValue(std::wstring_view name, int32_t value) { AddSample(name, static_cast<float>(value)); }
    void ClearStatistics() { stats.clear(); }
    void ToggleVisible() { visible = !visible; }

    // Records in name order; the overlay draws one line each.
    const std::map<std::wstring, ProfilerStat, std::less<>>& GetStats() const { return stats; }
    bool visible = false;

private:
    std::map<std::wstring, ProfilerStat, std::less<>> stats;
};

} // namespace mirefell
