// WinScreen: the level-complete screen (state 4). On every entry into state
// 4 it computes its texts once from the game in progress, the level and its
// player (mode, monsters killed, items and powerups picked up, time spent,
// personal best, total score) and shows itself; then its rows slide up from
// below the screen, one after the other, each landing with "shotgun_fire".
// Once every row has landed a blinking "[ENTER] to continue" shows, and
// Enter starts the next level through the GameSaveManager (or, after the
// last level, ends the game). Enter while rows still move lands them all at
// once, silently.
//
// The rows move `step` pixels an update, at least one, so every screen
// height lands them; a row lands when it reaches its place exactly or passes
// it. Ten reveal slots move: the title, the seven statistics and two more
// that no row uses, so the prompt comes two beats after the last statistic.
//
// The UIManager owns the one screen for the whole run (made hidden) and gives
// it each level's World; it updates and draws it in state 4. The screen
// hears of state changes through a GameStateManager listener, which stays
// registered for the run but reaches the screen only while it exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/GameState.h"
#include "ui/BaseUIComponent.h"

namespace mirefell
{

class WinScreen : public BaseUIComponent
{
public:
    static constexpr int32_t SlotCount = 10;

    // Hidden, everything landed; registers the state listener.
    explicit WinScreen(Painter* painter_);
    ~WinScreen() override;

    // Enter, the blink and the slide of one update.
    void Update() override;
    void Draw() override;

    // The texts of the level just completed, and the slide from the start.
    void Prepare();

    int32_t rowIndex = 0;
    Vector2 position; // the drawing point, moved down row by row during a draw
    float step = 0.0f;
    bool allLanded = true;
    std::wstring difficultyValue;
    std::wstring monstersValue;
    std::wstring itemsValue;
    std::wstring powerupsValue;
    std::wstring timeSpentValue;
    std::wstring personalBestValue;
    std::wstring totalScoreValue;
    bool promptHidden = false;
    std::vector<Vector2> rowOffsets; // per slot: how far its row still is from its place
    std::vector<bool> rowLanded;     // per slot: its shot has been played

private:
    void OnGameStateChanged(GameState newState);
    void DrawTitleRow(const wchar_t* text);
    void DrawStatRow(const wchar_t* label, const std::wstring& value);
    void DrawPrompt(const wchar_t* text);

    // Reaches this screen from the listener while it exists.
    std::shared_ptr<WinScreen*> listenerTarget;
};

} // namespace mirefell
