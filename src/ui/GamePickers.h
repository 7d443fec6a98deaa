// GamePickers: the pages behind the main menu's "New game", "Level select"
// and "Load game": three save-slot pages, the difficulty page that follows
// the new-game slot page (with the "Blackout" and "Permadeath" modifiers)
// and the level page that follows the level-select slot page. They collect
// a slot, a difficulty and modifiers, or a level, then hand over to the
// GameSaveManager, which starts or loads the game and asks for the loading
// state.
//
// The choice under way is one record shared by all the pages; it is reset
// after every start and level pick and by every "Back" of the chain, so each
// visit starts from slot 1, "Normal", no modifiers. Slot captions and which
// slots can be chosen are fixed when the pages are built (the main menu
// rebuilds them whenever play returns to the title); the level rows ask
// whether their level is unlocked in the chosen slot at every update.
//
// Every page is built hidden, centred or not like its parent page. A slot
// that holds no game, or a permadeath game that ended in death, cannot be
// loaded or given a level: its row has no action and is drawn disabled; so
// is a level not yet reached. When a slot cannot be read at the moment it is
// loaded, the failure is reported by the GameSaveManager and nothing starts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gameplay/GameSave.h"

namespace mirefell
{

class MenuPanel;
class Painter;

// The game being picked.
struct NewGameSelection
{
    int32_t slot = 0;
    GameDifficulty difficulty = GameDifficulty::Normal;
    bool blackout = false;
    bool permadeath = false;

    // The one record the picker pages share.
    static NewGameSelection& Get();
    void Reset() { *this = NewGameSelection{}; }
};

// "<slot + 1> - <difficulty and modifiers>", e.g. "2 - Hard Blackout Permadeath".
std::wstring SaveSlotLabel(const GameSave& save);
// A new game with the selection's slot, difficulty and modifiers (the loading
// state is requested), then the selection is reset.
void StartNewGame();
// Loads the selection's slot and asks for the loading state with the level
// `levelId`; then the selection is reset. Nothing starts when the slot cannot
// be read. Returns whether the level was requested.
bool PickLevel(const std::string& levelId);
// Loads a saved slot and asks for the loading state; false, requesting
// nothing, when the slot cannot be read.
bool LoadSavedSlot(int32_t slot);

std::unique_ptr<MenuPanel> BuildNewGameSlotPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildDifficultyPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildLevelSelectSlotPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildLevelPage(Painter* painter, MenuPanel* parent);
std::unique_ptr<MenuPanel> BuildLoadGameSlotPage(Painter* painter, MenuPanel* parent);

} // namespace mirefell
