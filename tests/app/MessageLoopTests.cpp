// The window procedure and the loop: Alt+Enter, minimise and restore, the
// system's sleep, drags that send many sizes, the wheel, focus loss and
// quitting.
#include <gtest/gtest.h>

#include "app/Game.h"
#include "app/MessageLoop.h"
#include "platform/VirtualKey.h"
#include "support/ShellTestSupport.h"

namespace mirefell
{
namespace
{

using testing::KeyEvent;
using testing::OneStep;
using testing::SimpleEvent;

class MessageLoopTest : public testing::ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        settings.screenWidth = 1280;
        settings.screenHeight = 720;
        settings.borderless = false;
    }
    void TearDown() override
    {
        loop.reset();
        game.reset(); // saves config.json: still inside the test's folder
        ShellTest::TearDown();
    }
    void Start()
    {
        game = std::make_unique<Game>();
        game->Initialize(&window, settings.screenWidth, settings.screenHeight);
        loop = std::make_unique<MessageLoop>(*game, events);
    }
    // Handles everything queued, then runs one tick after `ticks` of time.
    uint32_t Drain(uint64_t ticks = OneStep)
    {
        while (!events.queue.empty())
            loop->RunOnce();
        clock.Advance(ticks);
        const uint32_t before = game->GetTimer().GetFrameCount();
        loop->RunOnce();
        return game->GetTimer().GetFrameCount() - before;
    }
    Settings& settings = Config::GetInstance().settings;
    testing::RecordingWindow window;
    testing::ScriptedEvents events;
    std::unique_ptr<Game> game;
    std::unique_ptr<MessageLoop> loop;
};

TEST_F(MessageLoopTest, AltEnterSwitchesAWindowedGameOncePerPress)
{
    Config::GetInstance().window = &window;
    Start();
    window.calls.clear();
    events.queue = {KeyEvent(KeyEnter, true, true), KeyEvent(KeyEnter, true, true, true),
                    KeyEvent(KeyEnter, true, true, true), KeyEvent(KeyEnter, false)};
    Drain();
    EXPECT_EQ(window.calls, std::vector<std::string>{"borderless"});
    EXPECT_TRUE(settings.borderless);
    EXPECT_TRUE(Config::GetInstance().pending.borderless);

    events.queue = {KeyEvent(KeyEnter, true, true), KeyEvent(KeyEnter, false), KeyEvent(KeyEnter, true),
                    KeyEvent(KeyEnter, false)}; // the second press lacks Alt
    Drain();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"borderless", "bordered 1280x720"}));
    EXPECT_FALSE(settings.borderless);
    // Two taps within a step reach that step and the next as down; the step
    // after sees it up.
    EXPECT_TRUE(Input::GetInstance().keyboardTracker.GetLastState().IsKeyDown(KeyEnter));
    Drain();
    EXPECT_TRUE(Input::GetInstance().keyboardTracker.IsKeyPressed(KeyEnter));
    Drain();
    EXPECT_TRUE(Input::GetInstance().keyboardTracker.GetLastState().IsKeyUp(KeyEnter));

    settings.windowed = false; // full screen: the key reaches the keyboard, nothing else happens
    events.queue = {KeyEvent(KeyEnter, true, true)};
    Drain();
    EXPECT_EQ(window.calls.size(), 2u);
    EXPECT_TRUE(Input::GetInstance().keyboardState.IsKeyDown(KeyEnter));
}

TEST_F(MessageLoopTest, AMinimisedGameSleepsAndResumesWithoutCatchingUp)
{
    Start();
    EXPECT_EQ(Drain(), 1u);
    events.queue = {SimpleEvent(PlatformEventType::Minimized), SimpleEvent(PlatformEventType::Minimized)};
    EXPECT_EQ(Drain(10'000'000), 0u);
    EXPECT_EQ(Drain(10'000'000), 0u);
    EXPECT_EQ(events.waits, 2);
    EXPECT_TRUE(loop->IsSuspended());

    // The size a minimised window reports is not passed on; restoring keeps
    // the size the game had.
    events.queue = {testing::SizeEvent(0, 0), SimpleEvent(PlatformEventType::Restored)};
    EXPECT_EQ(Drain(OneStep), 1u) << "the time away is forgotten";
    EXPECT_FALSE(loop->IsMinimized());
    EXPECT_FALSE(loop->IsSuspended());
    EXPECT_EQ(game->GetOutputWidth(), 1280);
    EXPECT_EQ(game->GetOutputHeight(), 720);
}

TEST_F(MessageLoopTest, TheSystemsSleepSuspendsTheGameAndWakingForgetsTheTimeAsleep)
{
    game = std::make_unique<Game>();
    game->Initialize(&window, settings.screenWidth, settings.screenHeight);
    testing::ScriptedEvents system;
    loop = std::make_unique<MessageLoop>(*game, events, &system);
    auto announce = [&](PlatformEventType type) {
        system.queue = {SimpleEvent(type)};
        loop->RunOnce(); // the window has nothing waiting: the system is heard
        ASSERT_TRUE(system.queue.empty());
    };
    EXPECT_EQ(Drain(), 1u);

    announce(PlatformEventType::PowerSuspending);
    EXPECT_TRUE(loop->IsSuspended());
    clock.Advance(10 * 10'000'000ull); // ten seconds asleep
    announce(PlatformEventType::PowerResumed);
    EXPECT_FALSE(loop->IsSuspended());
    EXPECT_EQ(Drain(OneStep), 1u) << "no catching up after the sleep";

    // Woken while minimised: suspended until the window is restored.
    events.queue = {SimpleEvent(PlatformEventType::Minimized)};
    Drain();
    announce(PlatformEventType::PowerSuspending);
    announce(PlatformEventType::PowerResumed);
    EXPECT_TRUE(loop->IsSuspended());
    events.queue = {SimpleEvent(PlatformEventType::Restored)};
    EXPECT_EQ(Drain(OneStep), 1u);
    EXPECT_FALSE(loop->IsSuspended());
}

TEST_F(MessageLoopTest, ADragsSizesReachTheGameOnceTheLatestFirst)
{
    settings.windowed = false; // every size change then asks for full screen: countable
    Start();
    const int before = window.Count("fullscreen");
    events.queue = {testing::SizeEvent(900, 500), testing::SizeEvent(950, 520), testing::SizeEvent(1000, 560)};
    Drain();
    EXPECT_EQ(window.Count("fullscreen"), before + 1);
    EXPECT_EQ(game->GetOutputWidth(), 1000);
    EXPECT_EQ(game->GetOutputHeight(), 560);
    events.queue = {testing::SizeEvent(0, 0)};
    Drain();
    EXPECT_EQ(game->GetOutputWidth(), 1);
}

TEST_F(MessageLoopTest, TheWheelLastsOneStepAndFocusLossReleasesEverything)
{
    Start();
    Input& input = Input::GetInstance();
    PlatformEvent away = SimpleEvent(PlatformEventType::MouseWheel);
    away.wheel = 3;
    events.queue = {away};
    while (!events.queue.empty())
        loop->RunOnce();
    EXPECT_EQ(input.wheel, 1);
    Drain();
    EXPECT_EQ(input.wheel, 0);
    PlatformEvent towards = away;
    towards.wheel = -1;
    events.queue = {towards};
    while (!events.queue.empty())
        loop->RunOnce();
    EXPECT_EQ(input.wheel, -1);

    events.queue = {KeyEvent('W', true), testing::ButtonEvent(MouseButton::Left, true)};
    Drain();
    EXPECT_TRUE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::Attack));
    events.queue = {SimpleEvent(PlatformEventType::FocusLost)};
    Drain();
    EXPECT_FALSE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Attack));
}

TEST_F(MessageLoopTest, QuitEndsTheLoopBeforeLaterEvents)
{
    Start();
    events.queue = {KeyEvent('W', true), SimpleEvent(PlatformEventType::Quit), KeyEvent('S', true)};
    loop->Run();
    EXPECT_EQ(events.queue.size(), 1u);
    EXPECT_FALSE(loop->RunOnce());
}

} // namespace
} // namespace mirefell
