// Fuzz target for the PNG reader the textures go through: any input must
// either be refused with GameError or give an RGBA picture no larger than
// MaxImageSide a side, with exactly its pixels' bytes. A crash, a hang, a
// huge allocation or a sanitizer report is a finding.
#include <cstdint>
#include <cstdlib>

#include "platform/GameError.h"
#include "platform/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace mirefell;
    try {
        const Image image = DecodeImage(data, size);
        if (image.width == 0 || image.height == 0 || image.width > MaxImageSide || image.height > MaxImageSide ||
            image.rgba.size() != size_t(image.width) * image.height * 4)
            std::abort();
    } catch (const GameError&) {
    }
    return 0;
}
