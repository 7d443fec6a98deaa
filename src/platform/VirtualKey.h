// Key codes: the game names every key by its Windows virtual-key code. The
// codes are stored in "binds.bin" and compared with fixed numbers in the game
// (F1 toggles the profiler, Enter restarts after death, Escape cancels a key
// capture), so they are the one key vocabulary above the platform layer.
// Shift, Ctrl and Alt are only ever reported sided (160-165); the unsided
// codes 16-18 never occur.
#pragma once

#include <cstdint>

namespace mirefell
{

// The codes the game refers to by name; any other 0..255 value is a valid key
// code too. A plain enumeration of 32 bits, because binds.bin stores it as one.
enum VirtualKey : int32_t
{
    KeyNone = 0x00,
    KeyBackspace = 0x08,
    KeyTab = 0x09,
    KeyEnter = 0x0D,
    KeyPause = 0x13,
    KeyCapsLock = 0x14,
    KeyEscape = 0x1B,
    KeySpace = 0x20,
    KeyPageUp = 0x21,
    KeyPageDown = 0x22,
    KeyEnd = 0x23,
    KeyHome = 0x24,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyInsert = 0x2D,
    KeyDelete = 0x2E,
    Key0 = 0x30, // '0'..'9' are 0x30..0x39
    KeyA = 0x41, // 'A'..'Z' are 0x41..0x5A
    KeyNumpad0 = 0x60,
    KeyMultiply = 0x6A,
    KeyAdd = 0x6B,
    KeySeparator = 0x6C,
    KeySubtract = 0x6D,
    KeyDecimal = 0x6E,
    KeyDivide = 0x6F,
    KeyF1 = 0x70, // F1..F24 are 0x70..0x87
    KeyLeftShift = 0xA0,
    KeyRightShift = 0xA1,
    KeyLeftControl = 0xA2,
    KeyRightControl = 0xA3,
    KeyLeftAlt = 0xA4,
    KeyRightAlt = 0xA5,
};

inline constexpr int VirtualKeyCount = 256;

// The virtual-key code of a physical key given as an SDL scancode (which is
// the USB HID usage number), or KeyNone when the game has no code for it.
// Keys are identified by position, so the numeric keypad reports NUM0-NUM9
// whatever the state of Num Lock.
int32_t VirtualKeyFromScancode(int scancode);

} // namespace mirefell
