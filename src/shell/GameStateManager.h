// GameStateManager: the holder of the current GameState and its listeners.
//
// A request takes effect at once for readers of `current`, but listeners hear
// of it only at the start of the next update step, when Core::Update calls
// NotifyListeners. Listeners run in registration order; a request made by a
// listener during the pass is seen by the listeners after it in the same pass
// and then counts as announced. Listeners are never removed.
#pragma once

#include <deque>
#include <functional>

#include "shell/GameState.h"

namespace mirefell
{

class GameStateManager
{
public:
    using Listener = std::function<void(GameState newState, GameState previousState)>;

    static GameStateManager& GetInstance();

    // previous = current, current = state, changed = true. Requesting the
    // state already in force still announces a change.
    void Request(GameState state);
    // Appends a listener; one registered during a pass is first called in the
    // next pass.
    void AddListener(Listener listener);
    // Announces a pending change to every listener; does nothing when there
    // is none.
    void NotifyListeners();
    // Back to the state of a fresh process: state 0, no listeners.
    void Reset();

    GameState current = GameState::Start;
    GameState previous = GameState::Start;
    bool changed = false;

private:
    // A deque, so that a listener that registers another while it runs is
    // not moved out from under itself: appending keeps every element where
    // it is.
    std::deque<Listener> listeners;
};

} // namespace mirefell
