// UIManager: the whole user interface. It owns the Painter every widget
// draws with, the screens that live for the whole run (main menu,
// social-media box, in-game menu, mouse cursor, level-complete screen) and
// the HUD of the current level, a list of widgets rebuilt at every level
// load. The Core owns one for the life of the program and calls it at fixed
// points:
//   - after every device creation: `painter->Initialize()`; on device loss
//     `painter->Release()`;
//   - after every size change (the new size already in ScreenWidth and
//     ScreenHeight, and before the first frame): OnResize;
//   - at each level load: CreateHud, then, once the World is built,
//     Initialize with it;
//   - once per update step in states 1, 3, 4 and 5: Update, which also
//     handles the Escape and Inventory keys;
//   - once per frame: Draw in states 1, 3, 4 and 5 (after the 3D frame and
//     its post effects), DrawLoadingScreen in state 2.
//
// The inventory-open flag (shell/InventoryWindowFlag.h) is set only here,
// when the Inventory key opens the inventory and the automap, and cleared
// here when they close (and by the Core at every level load).
//
// The menus, the level-complete screen, the inventory window, the dragged
// item and the automap are made by their own makers; a place left null is
// skipped. The return-to-title steps rebuild the main menu's pages from the
// save slots as they are on disk.
//
// A save that fails (the GameSaveManager's save-failed callback) is told to
// the player on the next screen that can show it: as a message in play (the
// level start, a death; at the first step of play with the HUD on), or as a
// line on the title (after "Save and exit", or when the game goes back there
// from the level-complete screen). A failure at the end of a level waits on
// the level-complete screen and shows in the next level.
//
// Window thread only. Widgets keep a plain pointer to the painter, so the
// painter outlives them (it is destroyed last).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/GpuTypes.h"

namespace mirefell
{

class AmmoBar;
class ArmorBar;
class Automap;
class BaseUIComponent;
class Crosshair;
class DeathScreen;
class DraggedItem;
class HealthBar;
class InventoryWindow;
class LevelNotification;
class LevelTimer;
class MainMenu;
class MonsterHealthBar;
class MouseCursor;
class NotificationBox;
class Painter;
class UsePopup;
class World;

class UIManager
{
public:
    // The painter (no device objects yet), the screens of the whole run and
    // the GameSaveManager's end-of-game and save-failed callbacks.
    UIManager();
    // Also takes both callbacks back from the GameSaveManager.
    ~UIManager();
    UIManager(const UIManager&) = delete;
    UIManager& operator=(const UIManager&) = delete;

    // Empties the notification list and replaces the HUD with new widgets.
    // Throws "invalid map<K, T> key" when the level banner is due and the
    // current game names no level of the level table.
    void CreateHud();
    // The level's World: the level-complete screen and every HUD widget in
    // list order are initialised with it.
    void Initialize(World* context_);
    // The painter's layout for the current screen size, the automap inset
    // and the line batch's projection for it.
    void OnResize();
    void Update();
    // Inside one painter batch: the widgets of the current state, then the
    // mouse cursor.
    void Draw();
    // "Loading..." at the bottom-right, without the mouse cursor.
    void DrawLoadingScreen();

    // The in-game menu's "Save and exit" and "Exit": saves the game, rebuilds
    // the main menu from the reread save slots and requests the title.
    void SaveAndExit();
    // The end of the game (the last level finished): as SaveAndExit without
    // the save, and the cursor mode unless the inventory is open.
    void ReturnToTitle();

    std::unique_ptr<Painter> painter;
    std::vector<std::unique_ptr<BaseUIComponent>> hud; // update and draw order
    World* context = nullptr;                          // the current level, null before the first

    // Into `hud`, null before the first CreateHud.
    InventoryWindow* inventoryWindow = nullptr;
    HealthBar* healthBar = nullptr;
    ArmorBar* armorBar = nullptr;
    AmmoBar* ammoBar = nullptr;
    MonsterHealthBar* monsterHealthBar = nullptr;
    Crosshair* crosshair = nullptr;
    UsePopup* usePopup = nullptr;
    DraggedItem* draggedItem = nullptr;
    NotificationBox* notificationBox = nullptr;
    Automap* automap = nullptr;
    DeathScreen* deathScreen = nullptr;
    LevelNotification* levelNotification = nullptr;
    LevelTimer* levelTimer = nullptr;

    // The screens of the whole run. The in-game menu's Show requests state
    // 5 and its Hide state 3; the others are plain widgets to this class.
    std::unique_ptr<BaseUIComponent> socialMediaBox;
    std::unique_ptr<BaseUIComponent> ingameMenu;
    std::unique_ptr<MainMenu> mainMenu;
    std::unique_ptr<MouseCursor> mouseCursor;
    std::unique_ptr<BaseUIComponent> winScreen;

    // What the player is to be told of the last save that failed, until a
    // screen shows it; empty when there is nothing to tell.
    std::wstring saveFailure;

    // Where the automap draws while the inventory is open: 2m from the left,
    // 3m + u from the top, 10u high, ending 2m left of the inventory window.
    gpu::Viewport automapViewport{0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

private:
    // The Inventory key, unless the player is dead: opens or closes the
    // inventory window and the automap.
    void ToggleInventory();
    // Absolute cursor, inventory-open flag set.
    void EnterCursorMode();
    // Relative look, inventory-open flag cleared.
    void LeaveCursorMode();
    // Escape in play or in the in-game menu.
    void HandleEscape();
    // The title's pages from the save slots as they are on disk now.
    void RebuildMainMenu();
    // The shared steps of both ways back to the title.
    void ShowTitle();
    // The save-failed callback: the player's words for the failure.
    void OnSaveFailed();
};

} // namespace mirefell
