// IngameMenu: the pause page and its effect on the game state and mouse.
#include "ui/IngameMenu.h"

#include "gameplay/GameSaveManager.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/MenuButton.h"
#include "ui/MenuPanel.h"
#include "ui/OptionsPages.h"

namespace mirefell
{

IngameMenu::IngameMenu(Painter* painter_) : BaseUIComponent(painter_)
{
    visible = false;
    BuildPanel();
    CreateOptionsMenu();
}

IngameMenu::~IngameMenu() = default;

void IngameMenu::BuildPanel()
{
    auto page = MenuPanel::Create(painter);
    panel = page.get();
    pages.push_back(std::move(page));
    panel->AddButton(L"Resume", [this] { Hide(); });
    panel->AddButton(L"Options", [this] { panel->SwitchTo(*optionsPage); });
    panel->AddButton(L"Save and exit", [this] { onExit(); })->textProvider = &GetExitLabel;
}

void IngameMenu::CreateOptionsMenu()
{
    auto page = BuildOptionsPage(painter, panel, false);
    optionsPage = page.get();
    pages.push_back(std::move(page));
}

void IngameMenu::Update()
{
    if (!visible)
        return;
    for (const auto& page : pages)
        page->Update();
}

void IngameMenu::Draw()
{
    if (!visible)
        return;
    for (const auto& page : pages)
        page->Draw();
}

void IngameMenu::Show()
{
    visible = true;
    if (!inventoryWindowOpen)
        Input::GetInstance().SetMouseMode(Input::MouseModeAbsolute);
    GameStateManager::GetInstance().Request(GameState::IngameMenu);
}

void IngameMenu::Hide()
{
    visible = false;
    if (!inventoryWindowOpen)
        Input::GetInstance().SetMouseMode(Input::MouseModeRelative);
    GameStateManager::GetInstance().Request(GameState::Playing);
}

std::wstring IngameMenu::GetExitLabel()
{
    const GameSave& save = GameSaveManager::GetInstance().current;
    return save.permadeath && save.permadead ? L"Exit" : L"Save and exit";
}

} // namespace mirefell
