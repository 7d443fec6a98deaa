// The title sub-page flag: set by the main menu while one of its sub-pages
// (options, game pickers, key bindings) is shown, cleared when it returns to
// its first page. While it is set Core draws the title scene dimmed.
#pragma once

namespace mirefell
{

extern bool titleSubPageOpen;

} // namespace mirefell
