// IngameMenu: the pause menu of a level: a centred page with "Resume",
// "Options" and "Save and exit" ("Exit" once a permadeath game has ended in
// death), with the options tree under it. Showing it pauses play (the
// in-game menu state) and brings the absolute cursor back; hiding it
// returns to play and to mouse look. While the inventory window is open
// the mouse mode is left to it.
//
// The page that was open when the menu was hidden is the one shown the next
// time. The third row calls onExit, which the UIManager sets to its
// save-and-exit step before the first update; an empty onExit throws
// std::bad_function_call.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class MenuPanel;

class IngameMenu : public BaseUIComponent
{
public:
    explicit IngameMenu(Painter* painter_);
    ~IngameMenu() override;

    // The pages, while visible.
    void Update() override;
    void Draw() override;
    // Visible, the cursor unless the inventory is open, then the in-game
    // menu state requested.
    void Show() override;
    // Hidden, mouse look unless the inventory is open, then play requested.
    void Hide() override;

    // "Exit" for a permadeath game whose player is dead, else "Save and exit".
    static std::wstring GetExitLabel();

    std::function<void()> onExit;
    MenuPanel* panel = nullptr;
    MenuPanel* optionsPage = nullptr;
    std::vector<std::unique_ptr<BaseUIComponent>> pages; // panel, options page

private:
    void BuildPanel();
    void CreateOptionsMenu();
};

} // namespace mirefell
