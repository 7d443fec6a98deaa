// The system's sleep signal where no bus answers: the source is silent and
// the game goes on without it.
#include <gtest/gtest.h>

#include "platform/SystemSleepEvents.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

TEST(SystemSleepEvents, WithoutABusItIsSilent)
{
    testing::TempDir dir;
    SystemSleepEvents sleep("unix:path=" + dir.File("no-bus"));
    EXPECT_FALSE(sleep.IsListening());
    PlatformEvent event;
    EXPECT_FALSE(sleep.PollEvent(event));
    EXPECT_EQ(event.type, PlatformEventType::None);
}

} // namespace
} // namespace mirefell
