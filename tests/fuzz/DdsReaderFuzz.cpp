// Fuzz target: the DDS reader must refuse any byte string with its own error,
// never crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "platform/GameError.h"
#include "render/DdsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const mirefell::DdsImage image = mirefell::ReadDds(data, size);
        (void)image;
    } catch (const mirefell::GameError&) {
    }
    return 0;
}
