#include "app/DeveloperRun.h"

#include <cstdlib>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/GameError.h"
#include "shell/GameStateManager.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

DeveloperRun DeveloperRun::FromEnvironment()
{
    DeveloperRun run;
    run.exitAfterTitle = !Variable(ExitAfterTitleVariable).empty();
    run.playLevel = Variable(PlayLevelVariable);
    const std::string frames = Variable(ExitAfterFramesVariable);
    if (!frames.empty()) {
        char* end = nullptr;
        const long long count = std::strtoll(frames.c_str(), &end, 10);
        if (*end != '\0' || count < 1)
            throw GameError(std::string(ExitAfterFramesVariable) + " is not a number of frames", frames);
        run.exitAfterFrames = count;
    }
    return run;
}

void DeveloperRun::Start() const
{
    if (playLevel.empty())
        return;
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.NewGame(0, GameDifficulty::Normal, false, false); // requests the loading state
    saves.current.levelId = playLevel;
}

bool DeveloperRun::AfterFrame(World* world, std::string& out)
{
    if (!playLevel.empty() && world && world->player)
        static_cast<Player*>(world->player)->godMode = true;
    const GameState state = GameStateManager::GetInstance().current;
    if (exitAfterTitle && state == GameState::MainMenu) {
        out = TitleLine;
        return true;
    }
    if (exitAfterFrames > 0 && state == GameState::Playing && ++playFrames >= exitAfterFrames) {
        out = "mirefell: " + std::to_string(playFrames) + " frames of play presented";
        return true;
    }
    return false;
}

} // namespace mirefell
