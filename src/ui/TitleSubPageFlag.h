// The title sub-page flag: set by the main menu while one of its sub-pages
// (options, new game, load game, level select) is shown, cleared when play
// returns to the title; the Core draws the title scene dimmed while it is
// set.
#pragma once

namespace mirefell
{

extern bool titleSubPageOpen;

} // namespace mirefell
