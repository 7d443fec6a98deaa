// Profiler: named timing statistics (value, minimum, maximum, running mean)
// for the debug overlay that F1 toggles. Sampling costs no allocation once a
// name has been seen, so the per-step "update time" sample stays free.
// Statistics restart with every level. The overlay draws through `painter`,
// the renderer's 2D painter seen through IOverlayPainter, which the program
// entry installs and gives device objects with the rest of the renderer.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "shell/IOverlayPainter.h"

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
    // While visible and a painter is installed: one batch with every line in
    // name order, white, display font 0, from (margin, margin) down by the
    // font's line height.
    void Draw();

    // Records in name order; the overlay draws one line each.
    const std::map<std::wstring, ProfilerStat, std::less<>>& GetStats() const { return stats; }
    std::unique_ptr<IOverlayPainter> painter;
    bool visible = false;

private:
    std::map<std::wstring, ProfilerStat, std::less<>> stats;
};

} // namespace mirefell
