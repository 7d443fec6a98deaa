// RandomPlayer: the soak's player, who presses keys, clicks and moves the
// mouse at random from a fixed seed. Each call of Act appends the platform
// events of one tick to the queue the message loop reads, so everything goes
// the game's own way: message loop, keyboard and mouse, Input's snapshot,
// the KeybindManager's table.
//
// It plays like a restless player: it holds the movement keys for a while,
// attacks in bursts, taps the weapon keys, Use, jump, Inventory, Escape,
// Enter, F1, letters and other keys, moves the mouse every tick (turning in
// look mode, wandering over the window in cursor mode), clicks the three
// buttons, turns the wheel and now and then loses the focus or has its
// window resized. Actions are pressed through whatever binding the table
// holds at the time, so a rebound key is still pressed. In menus it clicks
// more and leaves with Escape sooner; a dead player presses Enter often.
// Asked to type a word (a cheat code), it first keeps off every letter key
// for WordPauseTicks ticks (so no earlier letter counts with the word), then
// types one letter a tick, pressing no other letter until the word is done.
//
// The same seed and the same situations give the same events.
#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "platform/PlatformEvent.h"

namespace mirefell::soak
{

// What the player sees of the game before a tick.
struct PlaySituation
{
    bool lookMode = false; // the mouse turns the view (relative mode)
    bool dead = false;     // the player of the level is dead
    bool inMenu = false;   // a menu or screen waits for clicks (not the HUD in play)
    int32_t width = 320;   // the window's client size
    int32_t height = 200;
};

class RandomPlayer
{
public:
    // A tick is at least one step: longer than the cheat codes' idle reset.
    static constexpr int32_t WordPauseTicks = 35;

    explicit RandomPlayer(uint32_t seed);

    // The events of one tick.
    void Act(const PlaySituation& situation, std::deque<PlatformEvent>& events);
    // Types `word` (lower-case letters), one letter a tick, from the next Act.
    void Type(const std::string& word);
    bool IsTyping() const { return typed < word.size() || letterDown; }
    // Lets go of every key and button held.
    void ReleaseAll(std::deque<PlatformEvent>& events);

    // Statistics of the run: presses of keys and buttons, wheel turns.
    uint64_t presses = 0;
    uint64_t wheelTurns = 0;

private:
    struct Control
    {
        bool mouse = false;
        int32_t key = 0;
        MouseButton button = MouseButton::Left;
        bool operator==(const Control&) const = default;
    };
    struct Hold
    {
        Control control;
        int32_t ticksLeft = 0;
    };

    // Presses `control` for minTicks..maxTicks ticks unless it is held.
    void Press(const Control& control, int32_t minTicks, int32_t maxTicks, std::deque<PlatformEvent>& events);
    void PressActions(const PlaySituation& situation, std::deque<PlatformEvent>& events);
    void PressKeys(const PlaySituation& situation, std::deque<PlatformEvent>& events);
    void MoveMouse(const PlaySituation& situation, std::deque<PlatformEvent>& events);
    void TypeLetter(std::deque<PlatformEvent>& events);
    void ReleaseDue(std::deque<PlatformEvent>& events);
    bool Chance(double probability);
    int32_t Between(int32_t low, int32_t high);

    std::mt19937 rng;
    std::vector<Hold> held;
    std::string word;
    size_t typed = 0;
    bool letterDown = false;
    int32_t pauseTicks = 0; // before the word's first letter
    int32_t cursorX = 160;
    int32_t cursorY = 100;
    int32_t turn = 0; // the look's current sweep, pixels a tick
};

} // namespace mirefell::soak
