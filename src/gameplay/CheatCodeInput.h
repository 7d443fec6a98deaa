// CheatCodeInput: the six words the user can type blind during play. It
// collects the letters typed in quick succession (a pause of 30 steps starts
// over, at most 20 letters) and, each step, compares the whole text with
// each code; the first that matches takes effect and the text is cleared.
// Codes work only in games that are neither "Masochistic" nor permadeath
// (there not even letters are collected). Every code but the face toggle
// marks the game as cheated.
//
//   "kwzyp"      fly mode          "dralu"      finishes the level
//   "trubnelk"   noclip            "vestombra"  every item
//   "pozim"      god mode          "zupfa"      the face indicator
//
// A dead player can still type them, but "dralu" then does nothing: a level
// is never completed from death.
//
// Owned by the Player, made with it; updated at the end of each of its
// steps, dead or alive.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

class Player;

class CheatCodeInput
{
public:
    // Steps without a letter before the text is cleared (roundf(30.012005)).
    static constexpr int32_t IdleSteps = 30;
    static constexpr size_t MaxLetters = 20;
    // How long the codes' notifications stay (roundf(300.12006) steps).
    static constexpr int32_t MessageSteps = 300;

    explicit CheatCodeInput(Player* player_);

    // Letters, then the comparison.
    void Update();
    // The idle countdown, then this step's letter presses in the order they
    // were typed.
    void ReadKeys();
    // Empty text, full countdown.
    void Clear();

    Player* player;
    std::wstring typed;
    int32_t idleStepsLeft = IdleSteps;

private:
    // The effect of the code at `index` of the table.
    void Apply(size_t index);
};

} // namespace mirefell
