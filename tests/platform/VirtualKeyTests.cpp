// The scancode table: physical keys (USB HID usage numbers, which SDL's
// scancodes are) to the virtual-key codes stored in binds.bin.
#include <gtest/gtest.h>

#include "platform/VirtualKey.h"

namespace mirefell
{
namespace
{

TEST(VirtualKeyFromScancode, LettersDigitsAndFunctionKeys)
{
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(4 + i), 'A' + i) << "letter " << char('A' + i);
    // HID lists 1..9 then 0.
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(30 + i), '1' + i);
    EXPECT_EQ(VirtualKeyFromScancode(39), '0');
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(58 + i), KeyF1 + i) << "F" << i + 1;
    EXPECT_EQ(VirtualKeyFromScancode(104), 0x7C); // F13
    EXPECT_EQ(VirtualKeyFromScancode(115), 0x87); // F24
}

TEST(VirtualKeyFromScancode, NumpadAndArrows)
{
    EXPECT_EQ(VirtualKeyFromScancode(98), KeyNumpad0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(89 + i), KeyNumpad0 + 1 + i) << "NUM" << i + 1;
    EXPECT_EQ(VirtualKeyFromScancode(84), KeyDivide);
    EXPECT_EQ(VirtualKeyFromScancode(85), KeyMultiply);
    EXPECT_EQ(VirtualKeyFromScancode(86), KeySubtract);
    EXPECT_EQ(VirtualKeyFromScancode(87), KeyAdd);
    EXPECT_EQ(VirtualKeyFromScancode(99), KeyDecimal);
    EXPECT_EQ(VirtualKeyFromScancode(88), KeyEnter); // keypad Enter is Enter
    EXPECT_EQ(VirtualKeyFromScancode(40), KeyEnter);
    EXPECT_EQ(VirtualKeyFromScancode(41), KeyEscape);
    EXPECT_EQ(VirtualKeyFromScancode(43), KeyTab);
    EXPECT_EQ(VirtualKeyFromScancode(44), KeySpace);
    EXPECT_EQ(VirtualKeyFromScancode(79), KeyRight);
    EXPECT_EQ(VirtualKeyFromScancode(80), KeyLeft);
    EXPECT_EQ(VirtualKeyFromScancode(81), KeyDown);
    EXPECT_EQ(VirtualKeyFromScancode(82), KeyUp);
}

TEST(VirtualKeyFromScancode, ModifiersAreSidedAndNeverGeneric)
{
    EXPECT_EQ(VirtualKeyFromScancode(224), KeyLeftControl);
    EXPECT_EQ(VirtualKeyFromScancode(225), KeyLeftShift);
    EXPECT_EQ(VirtualKeyFromScancode(226), KeyLeftAlt);
    EXPECT_EQ(VirtualKeyFromScancode(228), KeyRightControl);
    EXPECT_EQ(VirtualKeyFromScancode(229), KeyRightShift);
    EXPECT_EQ(VirtualKeyFromScancode(230), KeyRightAlt);
    for (int scancode = 0; scancode < 512; ++scancode) {
        const int key = VirtualKeyFromScancode(scancode);
        EXPECT_TRUE(key != 0x10 && key != 0x11 && key != 0x12) << "scancode " << scancode;
        EXPECT_LT(key, 255) << "scancode " << scancode;
    }
    EXPECT_EQ(VirtualKeyFromScancode(-1), KeyNone);
    EXPECT_EQ(VirtualKeyFromScancode(512), KeyNone);
    EXPECT_EQ(VirtualKeyFromScancode(300), KeyNone); // a media key the game has no code for
}

} // namespace
} // namespace mirefell
