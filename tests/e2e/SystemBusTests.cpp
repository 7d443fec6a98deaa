// The real game on an X server with a session bus, as on a desktop, and a
// system bus that accepts connections and never answers. With a session bus
// there, SDL connects to the system bus as well while its video starts; the
// game must reach its title and end all the same.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "GameSession.h"
#include "app/DeveloperRun.h"
#include "platform/SystemSleepEvents.h"
#include "support/ChildProcess.h"
#include "support/FakeSystemBus.h"
#include "support/LentGame.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

// A session bus of the run's own around the game (package dbus-daemon).
constexpr const char* RunSession = "/usr/bin/dbus-run-session";
// Well within the time after which the system bus would be given up.
constexpr int RunLimitMs = SystemSleepEvents::DefaultAnswerTimeoutMs * 4 / 5;

TEST(SystemBusStart, OnADesktopASilentSystemBusHoldsUpNeitherTheTitleNorTheExit)
{
    ASSERT_TRUE(testing::GameSession::HaveDisplay()) << "run under xvfb-run";
    ASSERT_TRUE(std::filesystem::exists(RunSession)) << RunSession << " is missing (Debian package dbus-daemon)";
    testing::TempDir dir;
    const std::filesystem::path game = dir.Path() / "game";
    testing::LendGameData(game);
    testing::FakeSystemBus bus(dir.Path() / "bus", testing::FakeSystemBus::Behaviour::AcceptsAndStaysSilent);
    const testing::ChildRun run = testing::RunChild({RunSession, "--", testing::PlaceProgram(game).string()},
                                                    {{"SDL_VIDEODRIVER", "x11"},
                                                     {DeveloperRun::ExitAfterTitleVariable, "1"},
                                                     {"DBUS_SYSTEM_BUS_ADDRESS", bus.BusAddress()}},
                                                    game, DeveloperRun::TitleLine, true, RunLimitMs);
    EXPECT_FALSE(run.timedOut) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(bus.Accepted(), 1) << "the game's own listener connects; SDL is kept off the bus";
}

} // namespace
} // namespace mirefell
