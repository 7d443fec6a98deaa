// Fuzz target for the settings reader: any text must either be refused as a
// whole (nullopt: not a JSON object) or give a record with no value that
// breaks the game (every float finite, a field of view between 0 and 180
// degrees, at most a million blood decals, at most a whole turn of the view
// at each mouse count, a picture that is not one flat colour), and that
// record, written as the file text and read again, must come back the same
// with nothing reported. Any exception, crash or sanitizer report is a
// finding.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "shell/Config.h"

namespace
{

using namespace mirefell;

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const std::optional<Settings> record = Config::FromJson(text, &problems);
    if (!record)
        return 0;
    const Settings& s = *record;
    for (const float value :
         {s.fov, s.noiseIntensity, s.brightness, s.contrast, s.mouseSensitivity, s.soundVolume, s.musicVolume})
        Require(std::isfinite(value));
    Require(s.fov > 0.0f && s.fov < 180.0f);
    Require(s.maxBloodDecals <= 1000000);
    Require(std::fabs(s.mouseSensitivity) <= 360.0f);
    // Some step of the display between the darkest and the brightest pixel.
    const double half = 0.5 * std::fabs(static_cast<double>(s.contrast));
    Require(std::clamp(0.5 + s.brightness + half, 0.0, 1.0) - std::clamp(0.5 + s.brightness - half, 0.0, 1.0) >=
            1.0 / 255.0);

    std::vector<std::string> again;
    const std::optional<Settings> reread = Config::FromJson(Config::ToJsonString(s), &again);
    Require(reread.has_value() && *reread == s && again.empty());
    return 0;
}
