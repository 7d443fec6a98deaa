// MainMenu: the menu of the title screen. It owns five pages: the main
// panel with the top-level choices ("Continue", "New game", "Load game",
// "Level select", "Options", "Exit") in the bottom-left corner, the options
// tree and the three game pickers, and it draws the version and credit
// lines in the bottom-right corner.
//
// Which rows the main panel has, and what the pickers show of the save
// slots, is decided when the pages are built from the slot list on disk;
// Rebuild (whenever play returns to the title) rereads the slots and builds
// every page anew, destroying the old ones, so any page that was open is
// gone and the new main panel is shown. The main panel's page switches set
// the title sub-page flag (the title scene is drawn dimmed behind a
// sub-page); the first "Back" of each chain clears it. "Exit" posts a quit
// to the message loop, which ends the program after the current step.
//
// When the game could not be saved on the way back to the title, the main
// panel's page says so in a dark box at the top-left corner, as long as the
// title shows it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/BaseUIComponent.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

class MenuPanel;

class MainMenu : public BaseUIComponent
{
public:
    explicit MainMenu(Painter* painter_);
    ~MainMenu() override;

    // Rereads the save slots and builds the five pages anew.
    void Rebuild();
    // Where the corner lines and the social-media box stand on the current
    // screen, which every page's texts keep clear of; then every page in
    // order (each checks its own visibility).
    void Update() override;
    // Every page in order, then the version and credit lines, and the failed
    // save's line while the main panel is shown.
    void Draw() override;

    MenuPanel* mainPanel = nullptr;
    MenuPanel* optionsPage = nullptr;
    MenuPanel* newGamePage = nullptr;
    MenuPanel* levelSelectPage = nullptr;
    MenuPanel* loadGamePage = nullptr;
    // Main panel, options, new game, load game, level select.
    std::vector<std::unique_ptr<BaseUIComponent>> pages;
    // What the player is told of a save that failed on the way back to the
    // title ("The game could not be saved: ..."), or empty. Kept through a
    // Rebuild; the UIManager sets it at every return to the title.
    std::wstring saveFailure;

private:
    void BuildMainPanel();
    void CreateOptionsMenu();
    void CreateNewGameMenu();
    void CreateLoadGameMenu();
    void CreateLevelSelectMenu();
    MenuPanel* AddPage(std::unique_ptr<MenuPanel> page);
    // The failed save's line at the top-left corner.
    void DrawSaveFailure();

    // The corner lines' block and the social-media box.
    std::vector<ScreenArea> besidePages = std::vector<ScreenArea>(2);
};

} // namespace mirefell
