/* The PNG decoder compiled into the PNG fuzz target itself. The game links
 * the system's compiled copy, which carries no coverage instrumentation, so
 * a fuzzer driving the game's reader through it would see none of the
 * decoder's branches. Built here with the target's own flags, these
 * definitions take the place of the shared library's in that program only;
 * the reader in front of them (platform/Image.cpp) is the game's own. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
