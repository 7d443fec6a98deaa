// The menu framework with no GPU: a panel's layout at two screen sizes, the
// click on the press (once per press, one widget per press, with its sound),
// hidden pages and disabled rows, the slider's and toggle's children, and
// rows that refuse to be built without the function they must call.
#include <gtest/gtest.h>

#include <stdexcept>

#include "MenuFixture.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "shell/SoundManager.h"

namespace mirefell::testing
{
namespace
{

class MenuRowTest : public MenuTest
{
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        auto recording = std::make_unique<RecordingAudioDevice>();
        sounds = recording.get();
        SoundManager::GetInstance().Initialize(std::make_unique<AudioEngine>(std::move(recording)),
                                               MIREFELL_RUN_DIR "/assets/sounds/");
    }
    void TearDown() override
    {
        SoundManager::GetInstance().Reset();
        MenuTest::TearDown();
    }

    // The page's update as its owner runs it, after the input's snapshot.
    void Step(MenuPanel& page)
    {
        Input::GetInstance().Update();
        page.Update();
    }
    // A press over the widget, seen by one step, then the release.
    void Press(MenuPanel& page, BaseUIComponent& widget)
    {
        MoveMouse(CentreOf(widget));
        LeftButton(true);
        Step(page);
        LeftButton(false);
        Step(page);
    }

    RecordingAudioDevice* sounds = nullptr;
};

TEST_F(MenuRowTest, PanelsLayTheirRowsOutFromTheCornerOrTheCentre)
{
    Resize(1920, 1080);
    auto corner = MenuPanel::CreateWithAlignment(ui->painter.get(), false);
    for (int i = 0; i < 6; ++i)
        corner->AddButton(L"row", {});
    corner->Update();
    for (int i = 0; i < 6; ++i) {
        auto& row = static_cast<MenuButton&>(*corner->rows[i]);
        EXPECT_EQ(row.GetPosition(), Vector2(16.0f, 680.0f + 64.0f * i));
        EXPECT_EQ(row.GetSize(), Vector2(640.0f, 64.0f));
        EXPECT_EQ(row.alignment, 1);
    }

    auto centred = MenuPanel::Create(ui->painter.get());
    centred->rowScale = 0.75f;
    centred->AddLabel(L"heading");
    centred->AddBlank();
    centred->AddButton(L"row", {});
    centred->AddButton(L"row", {});
    centred->Update();
    // Four rows of 48: 192 high around the centre (960, 540).
    EXPECT_EQ(centred->rows[0]->GetPosition(), Vector2(640.0f, 444.0f));
    EXPECT_EQ(centred->rows[3]->GetPosition(), Vector2(640.0f, 588.0f));
    EXPECT_EQ(centred->rows[3]->GetSize(), Vector2(640.0f, 48.0f));
    EXPECT_EQ(static_cast<MenuLabel&>(*centred->rows[0]).alignment, 2);

    Resize(1280, 720);
    centred->Update();
    EXPECT_EQ(centred->rows[0]->GetPosition(), Vector2(400.0f, 288.0f)); // 4 rows of 36
}

TEST_F(MenuRowTest, AButtonActsOnThePressOncePerPressAndOnlyOneWidgetPerPress)
{
    auto page = MenuPanel::Create(ui->painter.get());
    int firstClicks = 0, secondClicks = 0;
    MenuButton* first = page->AddButton(L"first", [&] { ++firstClicks; });
    MenuButton* second = page->AddButton(L"second", [&] { ++secondClicks; });
    page->Update();

    MoveMouse(CentreOf(*first));
    LeftButton(true);
    Step(*page);
    EXPECT_EQ(firstClicks, 1); // on the press, before any release
    EXPECT_TRUE(first->hovered);
    Step(*page);
    EXPECT_EQ(firstClicks, 1); // held: nothing more
    MoveMouse(CentreOf(*second));
    Step(*page);
    EXPECT_EQ(secondClicks, 0); // the press was used
    EXPECT_TRUE(second->hovered);
    LeftButton(false);
    Step(*page);
    LeftButton(true);
    Step(*page);
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(sounds->CountStarted("shotgun_fire.wav"), 2u);
}

TEST_F(MenuRowTest, AHiddenPageRunsNoRowButItsSubPagesStillRun)
{
    auto page = MenuPanel::Create(ui->painter.get());
    int pageClicks = 0, subClicks = 0;
    MenuButton* row = page->AddButton(L"row", [&] { ++pageClicks; });
    auto sub = MenuPanel::Create(ui->painter.get());
    MenuButton* subRow = sub->AddButton(L"row", [&] { ++subClicks; });
    page->AddSubPage(std::move(sub));
    page->Hide();
    page->Update(); // laid out though hidden

    Press(*page, *row); // both rows lie at the same place
    EXPECT_EQ(pageClicks, 0);
    EXPECT_FALSE(row->hovered);
    EXPECT_EQ(subClicks, 1);
    EXPECT_TRUE(subRow->hovered);

    page->Show(); // no stale highlight on a page shown again
    EXPECT_FALSE(row->hovered);
}

TEST_F(MenuRowTest, ADisabledButtonIsNeverHoveredSilentInertAndItsPulseStands)
{
    auto page = MenuPanel::Create(ui->painter.get());
    bool disabled = true;
    int clicks = 0;
    MenuButton* row = page->AddButton(L"row", [&] { ++clicks; });
    row->pulse = true;
    row->isDisabled = [&] { return disabled; };
    page->Update();

    Press(*page, *row);
    EXPECT_FALSE(row->hovered);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(row->pulseTime, 0.0f);
    EXPECT_EQ(sounds->CountStarted("shotgun_fire.wav"), 0u);

    disabled = false;
    Press(*page, *row);
    EXPECT_EQ(clicks, 1);
    EXPECT_FLOAT_EQ(row->pulseTime, 0.1f); // two steps of 0.05
}

TEST_F(MenuRowTest, SliderChildrenSitAtTheValueColumnAndCallTheStepsWithTheSliderSound)
{
    Resize(1920, 1080);
    auto page = MenuPanel::Create(ui->painter.get());
    int value = 5;
    MenuSlider* slider = page->AddSlider(
        L"Value", [&] { return std::to_wstring(value); }, [&] { --value; }, [&] { ++value; });
    page->Update();
    // The row is 640 wide from x 640: "<" at 0.75, ">" at 0.95, 32 wide each.
    EXPECT_EQ(slider->decreaseButton->GetPosition().x, 640.0f + 480.0f);
    EXPECT_EQ(slider->increaseButton->GetPosition().x, 640.0f + 608.0f);
    EXPECT_EQ(slider->increaseButton->GetSize(), Vector2(32.0f, 64.0f));
    slider->wideValue = true;
    page->Update();
    EXPECT_EQ(slider->decreaseButton->GetPosition().x, 640.0f + 416.0f);
    EXPECT_EQ(slider->increaseButton->GetPosition().x, 640.0f + 608.0f);

    Press(*page, *slider->increaseButton);
    Press(*page, *slider->increaseButton);
    Press(*page, *slider->decreaseButton);
    EXPECT_EQ(value, 6);
    EXPECT_EQ(sounds->CountStarted("inventory_click.wav"), 3u);

    slider->isDisabled = [] { return true; };
    Press(*page, *slider->increaseButton);
    EXPECT_EQ(value, 6);
    EXPECT_FALSE(slider->increaseButton->hovered);
}

// Ten clicks 30 ms apart fall within one slow frame: each steps the slider
// once, one a step, and no step clicks twice.
TEST_F(MenuRowTest, TenClicksOnASliderWithinOneFrameStepItTenTimes)
{
    auto page = MenuPanel::Create(ui->painter.get());
    int value = 20;
    MenuSlider* slider = page->AddSlider(
        L"Value", [&] { return std::to_wstring(value); }, [&] { --value; }, [&] { ++value; });
    page->Update();
    MoveMouse(CentreOf(*slider->decreaseButton));
    for (int click = 0; click < 10; ++click) {
        LeftButton(true);
        LeftButton(false);
    }
    Step(*page);
    EXPECT_EQ(value, 19);
    for (int step = 0; step < 12; ++step)
        Step(*page);
    EXPECT_EQ(value, 10);
    EXPECT_EQ(sounds->CountStarted("inventory_click.wav"), 10u);
}

TEST_F(MenuRowTest, AToggleFlipsThroughItsActionAndItsIconFollowsTheGetter)
{
    auto page = MenuPanel::Create(ui->painter.get());
    bool on = false;
    MenuToggle* toggle = page->AddToggle(
        L"Flag", [&] { return on; }, [&] { on = !on; });
    Step(*page);
    EXPECT_EQ(toggle->checkBox->iconName, "unchecked");
    // The check box is the last 15 % of the 480-pixel row at x 400.
    EXPECT_FLOAT_EQ(toggle->checkBox->GetPosition().x, 808.0f);
    EXPECT_FLOAT_EQ(toggle->checkBox->GetSize().x, 72.0f);

    Press(*page, *toggle->checkBox);
    EXPECT_TRUE(on);
    EXPECT_EQ(toggle->checkBox->iconName, "checked"); // the update after the click
    EXPECT_EQ(sounds->CountStarted("inventory_click.wav"), 1u);

    on = false; // changed elsewhere
    Step(*page);
    EXPECT_EQ(toggle->checkBox->iconName, "unchecked");

    toggle->onToggle = nullptr; // a click with no action is a sound only
    Press(*page, *toggle->checkBox);
    EXPECT_FALSE(on);
    EXPECT_EQ(sounds->CountStarted("inventory_click.wav"), 2u);
}

TEST_F(MenuRowTest, SlidersAndTogglesRefuseToBeBuiltWithoutWhatTheyShow)
{
    auto page = MenuPanel::Create(ui->painter.get());
    EXPECT_THROW(page->AddSlider(L"Value", nullptr, {}, {}), std::invalid_argument);
    EXPECT_THROW(page->AddToggle(L"Flag", nullptr, {}), std::invalid_argument);
    EXPECT_TRUE(page->rows.empty());
}

} // namespace
} // namespace mirefell::testing
