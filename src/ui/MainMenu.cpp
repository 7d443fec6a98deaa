// MainMenu: the title's pages and its corner lines.
#include "ui/MainMenu.h"

#include "gameplay/GameSaveManager.h"
#include "platform/EventPump.h"
#include "render/Painter.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/GamePickers.h"
#include "ui/MenuPanel.h"
#include "ui/MenuStyle.h"
#include "ui/OptionsPages.h"

namespace mirefell
{

namespace
{

constexpr int32_t BottomRight = 9;
constexpr Color CornerTextColour{1.0f, 1.0f, 1.0f, 0.1f};

// Right-aligned 10 pixels from the right edge, their tops this far above the
// bottom edge; the version line is the top one.
struct CornerLine
{
    float offsetY;
    const wchar_t* text;
};
constexpr CornerLine CornerLines[] = {
    {-105.0f, L"pre-alpha 3 - Apr 25 2017"},
    {-80.0f, L"Published by the Mirefell project"},
    {-55.0f, L"Music and sounds made by the Mirefell asset generator"},
    {-30.0f, L"Mirefell, developed 2024-2025 by the Mirefell developers"},
};

} // namespace

MainMenu::MainMenu(Painter* painter_) : BaseUIComponent(painter_)
{
    titleSubPageOpen = false;
    Rebuild();
}

MainMenu::~MainMenu() = default;

void MainMenu::Rebuild()
{
    pages.clear();
    mainPanel = optionsPage = newGamePage = levelSelectPage = loadGamePage = nullptr;
    GameSaveManager::GetInstance().LoadSlotList();
    BuildMainPanel();
    CreateOptionsMenu();
    CreateNewGameMenu();
    CreateLoadGameMenu();
    CreateLevelSelectMenu();
}

MenuPanel* MainMenu::AddPage(std::unique_ptr<MenuPanel> page)
{
    MenuPanel* raw = page.get();
    pages.push_back(std::move(page));
    return raw;
}

void MainMenu::BuildMainPanel()
{
    mainPanel = AddPage(MenuPanel::CreateWithAlignment(painter, false));
    GameSaveManager& saves = GameSaveManager::GetInstance();
    // The pages a row opens exist only after this panel; the rows find them
    // through this menu when clicked.
    const auto openPage = [this](MenuPanel* MainMenu::*page) {
        return [this, page] {
            titleSubPageOpen = true;
            mainPanel->SwitchTo(*(this->*page));
        };
    };
    if (saves.HasContinuableSlot())
        mainPanel->AddButton(L"Continue", [] { GameSaveManager::GetInstance().Continue(); });
    mainPanel->AddButton(L"New game", openPage(&MainMenu::newGamePage));
    mainPanel->AddButton(L"Load game", openPage(&MainMenu::loadGamePage));
    if (saves.HasContinuableSlot())
        mainPanel->AddButton(L"Level select", openPage(&MainMenu::levelSelectPage));
    mainPanel->AddButton(L"Options", openPage(&MainMenu::optionsPage));
    mainPanel->AddButton(L"Exit", [] { EventPump::PostQuit(); });
}

void MainMenu::CreateOptionsMenu()
{
    optionsPage = AddPage(BuildOptionsPage(painter, mainPanel, true));
}

void MainMenu::CreateNewGameMenu()
{
    newGamePage = AddPage(BuildNewGameSlotPage(painter, mainPanel));
}

void MainMenu::CreateLoadGameMenu()
{
    loadGamePage = AddPage(BuildLoadGameSlotPage(painter, mainPanel));
}

void MainMenu::CreateLevelSelectMenu()
{
    levelSelectPage = AddPage(BuildLevelSelectSlotPage(painter, mainPanel));
}

void MainMenu::Update()
{
    for (const auto& page : pages)
        page->Update();
}

void MainMenu::Draw()
{
    for (const auto& page : pages)
        page->Draw();
    for (const CornerLine& line : CornerLines)
        painter->DrawSmallText(painter->GetAnchorPoint(BottomRight, -10.0f, line.offsetY), line.text, CornerTextColour,
                               MenuAlignRight);
}

} // namespace mirefell
