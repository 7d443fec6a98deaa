// OptionsPages: the options tree: a top page whose buttons open the
// Controls (with the key-binding page under it), Gameplay, Audio, Display
// and Graphics pages. Every row edits the settings in place and takes
// effect at once, except the window settings (size, windowed, borderless),
// which are edited in Config's pending copy and take effect only through
// "Apply change" (Config::ApplyDisplaySettings). The pages never write
// "config.json"; the settings reach it when the program ends.
//
// Sliders show the setting as it is, and a click adds the step, then clamps
// to the setting's range (shell/SettingRanges.h): a value the settings file
// holds beyond the range is shown as written and comes back into the range
// at the first click, whichever way. Changes
// reach the running program at once: the mouse settings go to the level's
// player, the field of view to the main camera, the SSAO quality to the
// post-processing chain, the music volume to the playing music.
//
// The tree is built twice, under the main menu and under the in-game menu;
// only the in-game copy keeps "Blood decals" fixed, since the decals are
// set up when a level loads. Every page is built hidden, centred or not
// like its parent; "Back" returns to the parent page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace mirefell
{

class MenuPanel;
class Painter;

std::unique_ptr<MenuPanel> BuildOptionsPage(Painter* painter, MenuPanel* parent, bool bloodDecalsEditable);
std::unique_ptr<MenuPanel> BuildControlsPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildGameplayPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildAudioPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildDisplayPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildGraphicsPage(Painter* painter, MenuPanel* parent, bool bloodDecalsEditable);

// The pending window settings back to the current ones, not dirty: changes
// made on the Display page and not applied are dropped.
void ResetPendingDisplaySettings();
// The Display page's resolution step: the next (+1) or previous (-1) size
// of the display-mode list after the pending one, wrapping at both ends;
// a pending size the list lacks counts as the first. With an empty list the
// pending size stays as it is.
void StepPendingResolution(int32_t direction);
// "off" for any negative value, "low", "medium", "high", "max" for 0 to 3;
// empty above.
std::wstring SsaoQualityText(int32_t ssao);

} // namespace mirefell
