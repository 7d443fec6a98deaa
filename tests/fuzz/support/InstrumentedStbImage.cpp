// Fuzz builds only: stb's image decoder compiled into fuzz_PngImageFuzz from
// the same header as the system's libstb, so that libFuzzer's coverage and
// the sanitizers see inside the decoder. Its definitions take the place of
// the shared library's in that one binary; the game and every other program
// link the system library as usual.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
