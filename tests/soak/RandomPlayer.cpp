#include "soak/RandomPlayer.h"

#include <algorithm>
#include <array>

#include "platform/VirtualKey.h"
#include "shell/KeybindManager.h"
#include "support/ShellTestSupport.h"

namespace mirefell::soak
{

namespace
{

// How often an action's binding is pressed per tick, and for how many ticks
// it is held. Movement is held long, the attack in bursts, the rest tapped.
struct ActionHabit
{
    KeybindAction action;
    double chance;
    int32_t minTicks;
    int32_t maxTicks;
};

constexpr std::array<ActionHabit, 13> ActionHabits = {{
    {KeybindAction::Attack, 0.03, 1, 60},
    {KeybindAction::MoveForward, 0.04, 10, 120},
    {KeybindAction::MoveBackward, 0.02, 5, 60},
    {KeybindAction::StrafeLeft, 0.03, 5, 60},
    {KeybindAction::StrafeRight, 0.03, 5, 60},
    {KeybindAction::Inventory, 0.002, 1, 2},
    {KeybindAction::Use, 0.02, 1, 3},
    {KeybindAction::Block, 0.006, 5, 60},
    {KeybindAction::UseAntiGravBoots, 0.01, 1, 15},
    {KeybindAction::Sledgehammer, 0.004, 1, 2},
    {KeybindAction::DoubleShotgun, 0.004, 1, 2},
    {KeybindAction::HyperBlaster, 0.004, 1, 2},
    {KeybindAction::RocketLauncher, 0.004, 1, 2},
}};

// Keys no action needs that a player still hits: digits, function keys,
// arrows, modifiers, editing keys, the numeric pad.
constexpr std::array<int32_t, 30> StrayKeys = {
    Key0 + 0,       Key0 + 5,   Key0 + 6,       Key0 + 7,  Key0 + 8,    Key0 + 9,    KeyF1 + 1,    KeyF1 + 4,
    KeyF1 + 9,      KeyF1 + 11, KeyLeft,        KeyUp,     KeyRight,    KeyDown,     KeyBackspace, KeyDelete,
    KeyInsert,      KeyHome,    KeyEnd,         KeyPageUp, KeyPageDown, KeyCapsLock, KeyLeftShift, KeyRightShift,
    KeyLeftControl, KeyLeftAlt, KeyNumpad0 + 5, KeyAdd,    KeySubtract, KeyPause};

// Client sizes a resize picks from: small, so frames stay cheap.
constexpr std::array<std::pair<int32_t, int32_t>, 4> WindowSizes = {{{320, 200}, {400, 240}, {320, 240}, {480, 270}}};

PlatformEvent ControlEvent(bool mouse, int32_t key, MouseButton button, bool down)
{
    return mouse ? testing::ButtonEvent(button, down) : testing::KeyEvent(key, down);
}

} // namespace

RandomPlayer::RandomPlayer(uint32_t seed) : rng(seed) {}

bool RandomPlayer::Chance(double probability)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < probability;
}

int32_t RandomPlayer::Between(int32_t low, int32_t high)
{
    return std::uniform_int_distribution<int32_t>(low, high)(rng);
}

void RandomPlayer::Type(const std::string& word_)
{
    word = word_;
    typed = 0;
    pauseTicks = WordPauseTicks;
}

void RandomPlayer::Act(const PlaySituation& situation, std::deque<PlatformEvent>& events)
{
    ReleaseDue(events);
    TypeLetter(events);
    PressActions(situation, events);
    PressKeys(situation, events);
    MoveMouse(situation, events);

    if (Chance(0.004)) {
        PlatformEvent wheel;
        wheel.type = PlatformEventType::MouseWheel;
        wheel.wheel = Chance(0.5) ? 1 : -1;
        events.push_back(wheel);
        ++wheelTurns;
    }
    if (Chance(0.0003)) {
        // Alt-tab away and back: the game forgets every key and button.
        events.push_back(testing::SimpleEvent(PlatformEventType::FocusLost));
        events.push_back(testing::SimpleEvent(PlatformEventType::FocusGained));
        held.clear();
        letterDown = false;
    }
    if (Chance(0.0002)) {
        const auto& [width, height] = WindowSizes[static_cast<size_t>(Between(0, WindowSizes.size() - 1))];
        events.push_back(testing::SizeEvent(width, height));
    }
}

void RandomPlayer::ReleaseDue(std::deque<PlatformEvent>& events)
{
    for (auto it = held.begin(); it != held.end();) {
        if (--it->ticksLeft > 0) {
            ++it;
            continue;
        }
        events.push_back(ControlEvent(it->control.mouse, it->control.key, it->control.button, false));
        it = held.erase(it);
    }
}

void RandomPlayer::Press(const Control& control, int32_t minTicks, int32_t maxTicks, std::deque<PlatformEvent>& events)
{
    if (std::any_of(held.begin(), held.end(), [&](const Hold& hold) { return hold.control == control; }))
        return;
    events.push_back(ControlEvent(control.mouse, control.key, control.button, true));
    held.push_back({control, Between(minTicks, maxTicks)});
    ++presses;
}

void RandomPlayer::PressActions(const PlaySituation& situation, std::deque<PlatformEvent>& events)
{
    const auto& bindings = KeybindManager::GetInstance().bindings;
    for (const ActionHabit& habit : ActionHabits) {
        // Draw for every action every tick, bound or not, so one missing
        // binding does not shift everything after it.
        const bool press = Chance(habit.chance);
        const auto binding = bindings.find(habit.action);
        if (!press || binding == bindings.end() || !binding->second.bound)
            continue;
        const Keybind& bind = binding->second;
        const bool letter = bind.device == KeybindDevice::Keyboard && bind.keyCode >= KeyA && bind.keyCode < KeyA + 26;
        if (letter && IsTyping())
            continue;
        Control control;
        control.mouse = bind.device == KeybindDevice::Mouse;
        control.key = bind.keyCode;
        control.button = bind.middleButton  ? MouseButton::Middle
                         : bind.rightButton ? MouseButton::Right
                                            : MouseButton::Left;
        Press(control, habit.minTicks, habit.maxTicks, events);
    }
    (void)situation;
}

void RandomPlayer::PressKeys(const PlaySituation& situation, std::deque<PlatformEvent>& events)
{
    auto key = [](int32_t code) { return Control{false, code, MouseButton::Left}; };
    auto button = [](MouseButton which) { return Control{true, 0, which}; };

    if (Chance(situation.inMenu ? 0.02 : 0.0015))
        Press(key(KeyEscape), 1, 2, events);
    if (Chance(situation.dead ? 0.05 : 0.002))
        Press(key(KeyEnter), 1, 3, events);
    if (Chance(0.0005))
        Press(key(KeyF1), 1, 2, events);
    const bool letter = Chance(0.004);
    const int32_t which = Between(0, 25);
    if (letter && !IsTyping())
        Press(key(KeyA + which), 1, 2, events);
    if (Chance(0.002))
        Press(key(StrayKeys[static_cast<size_t>(Between(0, StrayKeys.size() - 1))]), 1, 4, events);
    if (Chance(situation.inMenu ? 0.04 : 0.003))
        Press(button(MouseButton::Left), 1, 3, events);
    if (Chance(situation.inMenu ? 0.01 : 0.002))
        Press(button(MouseButton::Right), 1, 3, events);
    if (Chance(0.002))
        Press(button(MouseButton::Middle), 1, 3, events);
}

void RandomPlayer::MoveMouse(const PlaySituation& situation, std::deque<PlatformEvent>& events)
{
    if (Chance(0.05))
        turn = Between(-30, 30);
    int32_t dx = turn + Between(-6, 6);
    int32_t dy = Between(-4, 4);
    if (!situation.lookMode) {
        // The cursor wanders, now and then jumping somewhere else.
        if (Chance(0.02)) {
            dx = Between(0, situation.width - 1) - cursorX;
            dy = Between(0, situation.height - 1) - cursorY;
        }
    }
    cursorX = std::clamp(cursorX + dx, 0, std::max(situation.width - 1, 0));
    cursorY = std::clamp(cursorY + dy, 0, std::max(situation.height - 1, 0));
    events.push_back(testing::MotionEvent(cursorX, cursorY, dx, dy));
}

void RandomPlayer::TypeLetter(std::deque<PlatformEvent>& events)
{
    if (letterDown) {
        events.push_back(testing::KeyEvent(KeyA + (word[typed - 1] - 'a'), false));
        letterDown = false;
        return;
    }
    if (typed >= word.size())
        return;
    if (pauseTicks > 0) {
        --pauseTicks;
        return;
    }
    events.push_back(testing::KeyEvent(KeyA + (word[typed] - 'a'), true));
    ++typed;
    letterDown = true;
}

void RandomPlayer::ReleaseAll(std::deque<PlatformEvent>& events)
{
    for (const Hold& hold : held)
        events.push_back(ControlEvent(hold.control.mouse, hold.control.key, hold.control.button, false));
    held.clear();
}

} // namespace mirefell::soak
