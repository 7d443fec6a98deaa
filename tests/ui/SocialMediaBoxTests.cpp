// The title screen's social-media box with no GPU: its layout at 1920 x 1080
// worked out by hand, and one press opening one address through the
// replaceable opener (which only records here).
#include <gtest/gtest.h>

#include "MenuFixture.h"
#include "ui/SocialMediaBox.h"
#include "ui/SocialMediaButton.h"

namespace mirefell::testing
{
namespace
{

class SocialMediaBoxTest : public MenuTest
{
protected:
    SocialMediaBox& Box() { return static_cast<SocialMediaBox&>(*ui->socialMediaBox); }
};

TEST_F(SocialMediaBoxTest, TheButtonsStandAboveTheVersionLineAtTheRightEdge)
{
    Resize(1920, 1080);
    Box().Update();
    EXPECT_EQ(Box().storeButton->position, Vector2(1654.0f, 607.0f));
    EXPECT_EQ(Box().storeButton->size, Vector2(256.0f, 128.0f));
    EXPECT_EQ(Box().signUpButton->position, Vector2(1654.0f, 751.0f));
    ASSERT_EQ(Box().linkButtons.size(), 4u);
    const float xs[] = {1624.0f, 1698.0f, 1772.0f, 1846.0f};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Box().linkButtons[i]->position, Vector2(xs[i], 895.0f));
        EXPECT_EQ(Box().linkButtons[i]->size, Vector2(64.0f, 64.0f));
    }
}

TEST_F(SocialMediaBoxTest, OnePressOpensOnePageWhereverTheHeldCursorGoes)
{
    GameStateManager::GetInstance().Request(GameState::MainMenu);
    UiStep();
    MoveMouse(CentreOf(*Box().linkButtons[0]));
    LeftButton(true);
    UiStep();
    for (const auto& button : Box().linkButtons) {
        MoveMouse(CentreOf(*button));
        UiStep();
    }
    MoveMouse(CentreOf(*Box().storeButton));
    UiStep();
    EXPECT_TRUE(Box().storeButton->hovered);
    LeftButton(false);
    UiStep();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], SocialMediaBox::SocialLinks()[0].second);
    EXPECT_EQ(opener.opened[0].rfind("file:///", 0), 0u);
    EXPECT_NE(opener.opened[0].find("/README.md"), std::string::npos);
}

} // namespace
} // namespace mirefell::testing
