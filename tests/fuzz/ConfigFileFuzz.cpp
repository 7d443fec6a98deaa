// Fuzz target for the settings reader: any text must either be refused as a
// whole (nullopt: not a JSON object) or give a record whose every setting lies
// in the range its options page allows, and that record, written as the file
// text and read again, must come back the same with nothing reported. Any
// exception, crash or sanitizer report is a finding.
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
    Require(s.fov >= 60.0f && s.fov <= 120.0f);
    Require(s.noiseIntensity >= 0.0f && s.noiseIntensity <= 1.0f);
    Require(s.brightness >= 0.0f && s.brightness <= 0.05f);
    Require(s.contrast >= 1.0f && s.contrast <= 1.05f);
    Require(s.maxBloodDecals >= 0 && s.maxBloodDecals <= 2000);
    Require(s.mouseSensitivity >= 0.05f && s.mouseSensitivity <= 4.0f);
    Require(s.ssao >= -1 && s.ssao <= 3);
    Require(s.soundVolume >= 0.0f && s.soundVolume <= 1.0f);
    Require(s.musicVolume >= 0.0f && s.musicVolume <= 1.0f);

    std::vector<std::string> again;
    const std::optional<Settings> reread = Config::FromJson(Config::ToJsonString(s), &again);
    Require(reread.has_value() && *reread == s && again.empty());
    return 0;
}
