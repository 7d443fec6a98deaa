// The real program started with a system bus that is there but never
// answers: it listens for the system's sleep on a thread of its own, so the
// title comes as soon as ever and the program ends when asked, whatever the
// bus does.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

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

using testing::FakeSystemBus;
using Behaviour = FakeSystemBus::Behaviour;

// The first title frame comes within a second or two; the listener gives a
// bus up only after its answer time-out, so a title (and an exit) within
// less than that never waited for the bus.
constexpr int RunLimitMs = SystemSleepEvents::DefaultAnswerTimeoutMs * 4 / 5;

TEST(SystemBusStart, ABusThatNeverAnswersHoldsUpNeitherTheTitleNorTheExit)
{
    for (Behaviour behaviour : {Behaviour::AcceptsAndStaysSilent, Behaviour::ListensAndNeverAccepts,
                                Behaviour::AnswersGarbage, Behaviour::QueueFull}) {
        SCOPED_TRACE(static_cast<int>(behaviour));
        testing::TempDir dir;
        const std::filesystem::path game = dir.Path() / "game";
        testing::LendGameData(game);
        FakeSystemBus bus(dir.Path() / "bus", behaviour);
        const testing::ChildRun run = testing::RunChild(
            {testing::PlaceProgram(game).string()},
            {{DeveloperRun::ExitAfterTitleVariable, "1"}, {"DBUS_SYSTEM_BUS_ADDRESS", bus.BusAddress()}}, game,
            DeveloperRun::TitleLine, true, RunLimitMs);
        EXPECT_FALSE(run.timedOut) << run.output;
        EXPECT_GE(run.lineMs, 0.0) << run.output;
        EXPECT_EQ(run.exitCode, 0) << run.output;
        if (behaviour == Behaviour::AcceptsAndStaysSilent || behaviour == Behaviour::AnswersGarbage) {
            EXPECT_EQ(bus.Accepted(), 1) << "the game never tried the bus";
        }
    }
}

} // namespace
} // namespace mirefell
