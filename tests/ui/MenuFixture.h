// MenuFixture: the menus driven as a player drives them: the mouse moved,
// pressed and released as the message loop hands it over, and the UI
// stepped as Core::Update steps it (the input's snapshot, then
// UIManager::Update). Rows are found by their text and clicked at their
// centre as the last layout placed them. The UI is laid out for 1280 x 720
// and the mouse is in cursor mode; the URL opener only records.
#pragma once

#include <string>
#include <vector>

#include "UiFixture.h"
#include "platform/UrlOpener.h"
#include "support/MenuRows.h"
#include "ui/IngameMenu.h"
#include "ui/MainMenu.h"
#include "ui/MenuButton.h"
#include "ui/MenuLabel.h"
#include "ui/MenuPanel.h"
#include "ui/MenuSlider.h"
#include "ui/MenuToggle.h"

namespace mirefell::testing
{

class RecordingUrlOpener final : public IUrlOpener
{
public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

inline Vector2 CentreOf(BaseUIComponent& widget)
{
    return widget.GetPosition() + widget.GetSize() * 0.5f;
}

template <class Base> class MenuTestOf : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        SetUrlOpener(&opener);
        Input::GetInstance().SetMouseMode(Input::MouseModeAbsolute);
        Input::GetInstance().Update(); // the switch drops the first snapshot's position
    }
    void TearDown() override
    {
        SetUrlOpener(nullptr);
        Base::TearDown();
    }

    // The title screen with the main menu as it is built now.
    void ShowTitle()
    {
        GameStateManager::GetInstance().Request(GameState::MainMenu);
        this->ui->mainMenu->Rebuild();
        this->UiStep();
    }
    MainMenu& Title() { return *this->ui->mainMenu; }
    // A saved game in `slot`, written as the game writes it; the game in
    // progress is a fresh record afterwards.
    static void WriteSave(int32_t slot, GameDifficulty difficulty, bool blackout, bool permadeath,
                          int32_t highestLevel = 1, bool permadead = false)
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.current = GameSave();
        saves.current.slot = slot;
        saves.current.difficulty = difficulty;
        saves.current.blackout = blackout;
        saves.current.permadeath = permadeath;
        saves.current.permadead = permadead;
        saves.current.highestLevel = highestLevel;
        ASSERT_TRUE(saves.Save(GUID{}, {}, {}));
        saves.current = GameSave();
    }
    IngameMenu& Pause() { return static_cast<IngameMenu&>(*this->ui->ingameMenu); }

    static void MoveMouse(Vector2 point)
    {
        PlatformEvent event;
        event.type = PlatformEventType::MouseMotion;
        event.x = static_cast<int32_t>(point.x);
        event.y = static_cast<int32_t>(point.y);
        Input::GetInstance().mouse->ProcessEvent(event);
    }
    static void LeftButton(bool down)
    {
        PlatformEvent event;
        event.type = down ? PlatformEventType::MouseButtonDown : PlatformEventType::MouseButtonUp;
        event.button = MouseButton::Left;
        Input::GetInstance().mouse->ProcessEvent(event);
    }
    // A press at the point seen by one UI step, then the release by another.
    void ClickAt(Vector2 point)
    {
        MoveMouse(point);
        LeftButton(true);
        this->UiStep();
        LeftButton(false);
        this->UiStep();
    }
    void Click(BaseUIComponent& widget) { ClickAt(CentreOf(widget)); }
    // The row of `page` showing `text`, clicked.
    void ClickRow(const MenuPanel& page, const std::wstring& text) { Click(FindRow<BaseUIComponent>(page, text)); }

    RecordingUrlOpener opener;
};

using MenuTest = MenuTestOf<UiTest>;
using MenuDrawTest = MenuTestOf<UiDrawTest>;

} // namespace mirefell::testing
