// Fuzz target: the sprite-font reader must refuse any byte string with its
// own error, never crash, hang or read out of bounds; a font it accepts must
// lay out any text (every character, known or not) without failing.
#include <cstddef>
#include <cstdint>

#include "platform/GameError.h"
#include "render/SpriteFont.h"
#include "render/SpriteFontFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        mirefell::SpriteFontData read = mirefell::ReadSpriteFont(data, size);
        const mirefell::SpriteFont font(nullptr, std::move(read));
        (void)font.MeasureString(L"Mire\r\nfell \x263A?\t\x00e9");
    } catch (const mirefell::GameError&) {
    }
    return 0;
}
