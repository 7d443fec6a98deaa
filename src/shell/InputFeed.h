// InputFeed: key, button and mouse-motion events made by the program itself
// and handed to Input's keyboard and mouse exactly as the message loop hands
// them the window system's, so whatever reads Input cannot tell them apart.
// The developer's autopilot drives a level through it, and tests feed their
// input the same way. Owns no state; does nothing before Input::Initialize.
#pragma once

#include <cstdint>

#include "shell/KeybindAction.h"

namespace mirefell
{

// Presses (down) or releases the key or mouse button bound to the action in
// the KeybindManager's table; throws "invalid map<K, T> key" for an action
// the table lacks.
void FeedAction(KeybindAction action, bool down);
// Presses or releases a key by its virtual-key code.
void FeedKey(int32_t virtualKey, bool down);
// Moves the mouse by this many counts (seen by the next step in look mode).
void FeedMouseMotion(int32_t dx, int32_t dy);

} // namespace mirefell
