// CoreFixture: the engine root on a recording window with no GPU, in the
// fresh process of a ShellTest: the game in progress reset, Input on the
// window, Core initialised at 800 x 600 and its first step run (the main
// menu is announced). Tests step Core themselves (Step runs whole steps on
// the test's clock); levels are loaded from the working folder's
// "assets/maps/" as the game loads them.
#pragma once

#include <memory>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "render/PointLights.h"
#include "support/ShellTestSupport.h"
#include "ui/NotificationBox.h"

namespace mirefell::testing
{

class CoreTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        PrepareFolder();
        ResetGame();
        Input::GetInstance().Initialize(&window);
        core = std::make_unique<Core>();
        core->Initialize();
        core->OnWindowSizeChanged(800, 600, &window, nullptr);
        core->Update(); // the main menu is announced
    }
    void TearDown() override
    {
        core.reset();
        ResetGame();
        ShellTest::TearDown();
    }
    // Before Core is made: the working folder as the test needs it.
    virtual void PrepareFolder() {}

    static void ResetGame()
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.current = GameSave();
        saves.slots.clear();
        saves.onGameFinished = nullptr;
        PointLights::GetInstance().Clear();
        NotificationBox::GetMessages().clear();
    }
    static GameState State() { return GameStateManager::GetInstance().current; }
    // Game steps of 1/60 s on the test's clock, each a whole Core update.
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            clock.Advance(OneStep);
            core->Update();
            ++steps;
        }
    }

    RecordingWindow window;
    std::unique_ptr<Core> core;
    int steps = 0; // run by Step
};

} // namespace mirefell::testing
