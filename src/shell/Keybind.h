// Keybind: one binding of an action, to a keyboard key or a mouse button, and
// its byte form in "binds.bin" (fields in declaration order; enumerations as
// 32-bit integers, flags as one byte each). Reading refuses a flag byte other
// than 0 or 1 and a device other than keyboard or mouse, so a corrupt file is
// recognised instead of producing bindings nobody made.
#pragma once

#include <cstdint>
#include <stdexcept>

#include <boost/serialization/split_member.hpp>

#include "platform/PlatformEvent.h"
#include "platform/VirtualKey.h"

namespace mirefell
{

enum class KeybindDevice : int32_t
{
    Keyboard = 1,
    Mouse = 2,
};

struct Keybind
{
    bool bound = false; // false: the action has no binding and is never held
    KeybindDevice device = KeybindDevice::Keyboard;
    VirtualKey keyCode = KeyNone; // keyboard bindings only
    bool leftButton = false;      // mouse bindings: the program sets exactly one
    bool middleButton = false;
    bool rightButton = false;

    static Keybind ForKey(int32_t key) { return {true, KeybindDevice::Keyboard, static_cast<VirtualKey>(key)}; }
    static Keybind ForMouse(MouseButton button)
    {
        return {true,
                KeybindDevice::Mouse,
                KeyNone,
                button == MouseButton::Left,
                button == MouseButton::Middle,
                button == MouseButton::Right};
    }

    bool operator==(const Keybind&) const = default;

    template <class Archive> void save(Archive& ar, unsigned /*version*/) const
    {
        ar << bound << device << keyCode << leftButton << middleButton << rightButton;
    }

    template <class Archive> void load(Archive& ar, unsigned /*version*/)
    {
        bound = LoadFlag(ar);
        ar >> device >> keyCode;
        if (device != KeybindDevice::Keyboard && device != KeybindDevice::Mouse)
            throw std::runtime_error("a binding names an unknown device");
        leftButton = LoadFlag(ar);
        middleButton = LoadFlag(ar);
        rightButton = LoadFlag(ar);
    }

    BOOST_SERIALIZATION_SPLIT_MEMBER()

private:
    // A bool's byte, read as a byte so that a corrupt value is caught here
    // rather than becoming an invalid bool.
    template <class Archive> static bool LoadFlag(Archive& ar)
    {
        uint8_t byte = 0;
        ar >> byte;
        if (byte > 1)
            throw std::runtime_error("a binding's flag byte is neither 0 nor 1");
        return byte == 1;
    }
};

} // namespace mirefell
