// Where the window goes for each display setting, and the mode-list order
// that makes "the last mode" the largest.
#include <gtest/gtest.h>

#include "platform/WindowLayout.h"

namespace mirefell
{
namespace
{

TEST(ChooseWindowLayout, BorderedWindowIsCentredByItsClientSize)
{
    EXPECT_EQ(ChooseWindowLayout(true, false, 1280, 720, 1920, 1080), (WindowLayout{true, 320, 180, 1280, 720}));
    // Odd differences truncate; a client larger than the screen truncates
    // toward zero on the negative side.
    EXPECT_EQ(ChooseWindowLayout(true, false, 801, 601, 1920, 1080), (WindowLayout{true, 559, 239, 801, 601}));
    EXPECT_EQ(ChooseWindowLayout(true, false, 2561, 1441, 1920, 1080), (WindowLayout{true, -320, -180, 2561, 1441}));
}

TEST(ChooseWindowLayout, BorderlessCoversTheScreenWhateverTheConfiguredSize)
{
    EXPECT_EQ(ChooseWindowLayout(true, true, 800, 600, 1920, 1080), (WindowLayout{false, 0, 0, 1920, 1080}));
}

TEST(ChooseWindowLayout, FullScreenStartsAsAPopupOfTheConfiguredSizeAtTheOrigin)
{
    // The borderless flag does not matter once the game is not windowed.
    EXPECT_EQ(ChooseWindowLayout(false, true, 800, 600, 1920, 1080), (WindowLayout{false, 0, 0, 800, 600}));
    EXPECT_EQ(ChooseWindowLayout(false, false, 800, 600, 1920, 1080), (WindowLayout{false, 0, 0, 800, 600}));
}

TEST(FitToDisplay, SidesLongerThanTheDisplayAreCutToIt)
{
    int32_t width = 20000, height = 20000;
    EXPECT_TRUE(FitToDisplay(width, height, 1920, 1080));
    EXPECT_EQ(width, 1920);
    EXPECT_EQ(height, 1080);
    width = 1280, height = 16384; // one side only
    EXPECT_TRUE(FitToDisplay(width, height, 1920, 1080));
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1080);
    width = 1920, height = 1080; // exactly the display: kept
    EXPECT_FALSE(FitToDisplay(width, height, 1920, 1080));
    EXPECT_EQ(width, 1920);
    width = -1, height = -1; // "the display's size" is not a size to cut
    EXPECT_FALSE(FitToDisplay(width, height, 1920, 1080));
    EXPECT_EQ(width, -1);
    width = 20000, height = 20000; // an unknown display cuts nothing
    EXPECT_FALSE(FitToDisplay(width, height, 0, 0));
    EXPECT_EQ(width, 20000);
}

TEST(OrderDisplayModes, SizesAscendWithRatesOfOneSizeTogether)
{
    // The order SDL reports: largest first, faster rates first.
    const std::vector<DisplayMode> reported = {
        {1920, 1080, 144}, {1920, 1080, 60}, {1280, 1024, 60}, {1280, 720, 60},
        {800, 600, 75},    {800, 600, 60},   {0, 0, 0}, // a display that could not describe a mode
    };
    const std::vector<DisplayMode> ordered = OrderDisplayModes(reported);
    const std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> expected = {
        {800, 600, 60}, {800, 600, 75}, {1280, 720, 60}, {1280, 1024, 60}, {1920, 1080, 60}, {1920, 1080, 144}};
    ASSERT_EQ(ordered.size(), expected.size());
    for (size_t i = 0; i < ordered.size(); ++i)
        EXPECT_EQ(std::tie(ordered[i].width, ordered[i].height, ordered[i].refreshRate), expected[i]) << i;
}

} // namespace
} // namespace mirefell
