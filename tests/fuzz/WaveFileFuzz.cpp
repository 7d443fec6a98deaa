// Fuzz target for the WAV reader: any bytes either parse into whole frames of
// a supported format or are refused with the reader's own error.
#include <cstdint>
#include <cstdlib>

#include "platform/GameError.h"
#include "platform/audio/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const mirefell::WaveData wave = mirefell::ParseWave(data, size, "fuzz.wav");
        const uint32_t block = wave.format.BlockAlign();
        const bool sane = (wave.format.channels == 1 || wave.format.channels == 2) &&
                          (wave.format.bitsPerSample == 8 || wave.format.bitsPerSample == 16) && block > 0 &&
                          !wave.samples.empty() && wave.samples.size() % block == 0 && wave.samples.size() <= size;
        if (!sane)
            std::abort();
    } catch (const mirefell::GameError&) {
        // A clean refusal.
    }
    return 0;
}
