// KeybindsPage: the page that lists every bindable action with the key or
// mouse button bound to it. Clicking a row starts the KeybindManager's
// capture for that action (the row shows "???"); the next named key or
// mouse button becomes the binding, Escape cancels. The capture itself, the
// unbinding of an identical binding elsewhere and "binds.bin" belong to the
// KeybindManager; this page starts and ends the capture and shows the state,
// computing every text at draw time, so a change shows on the next frame.
//
// The rows are made once, one per action in the table when the page is
// built, in action order.
#pragma once

#include <memory>
#include <string>

#include "shell/KeybindAction.h"

namespace mirefell
{

class MenuPanel;
class Painter;

std::unique_ptr<MenuPanel> BuildKeybindsPage(Painter* painter, MenuPanel* parent);
// "???" while the action's capture runs, "NOT BOUND" for an unbound action,
// else its key's name ("LMB", "MMB", "RMB" for a mouse button). Throws
// "invalid map<K, T> key" for an action the table lacks.
std::wstring GetBindingText(KeybindAction action);

} // namespace mirefell
