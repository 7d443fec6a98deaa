#include "shell/GameStateManager.h"

namespace mirefell
{

GameStateManager& GameStateManager::GetInstance()
{
    static GameStateManager instance;
    return instance;
}

void GameStateManager::Request(GameState state)
{
    previous = current;
    current = state;
    changed = true;
}

void GameStateManager::AddListener(Listener listener)
{
    listeners.push_back(std::move(listener));
}

void GameStateManager::NotifyListeners()
{
    if (!changed)
        return;
    // Indexes, not iterators: a listener may register another and grow the
    // list (elements stay put); the newcomer waits for the next pass.
    const size_t count = listeners.size();
    for (size_t i = 0; i < count; ++i)
        listeners[i](current, previous);
    changed = false;
}

void GameStateManager::Reset()
{
    current = GameState::Start;
    previous = GameState::Start;
    changed = false;
    listeners.clear();
}

} // namespace mirefell
