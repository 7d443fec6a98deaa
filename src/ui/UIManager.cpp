// UIManager: the HUD's lifecycle, the per-state update and draw, the Escape
// and Inventory keys, the layout on resize and the ways back to the title.
#include "ui/UIManager.h"

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/VirtualKey.h"
#include "platform/gpu/Context.h"
#include "render/GraphicsDevice.h"
#include "render/Painter.h"
#include "render/UiProjection.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/AmmoBar.h"
#include "ui/ArmorBar.h"
#include "ui/Automap.h"
#include "ui/BaseUIComponent.h"
#include "ui/Crosshair.h"
#include "ui/DeathScreen.h"
#include "ui/DraggedItem.h"
#include "ui/HealthBar.h"
#include "ui/HudState.h"
#include "ui/IngameMenu.h"
#include "ui/InventoryWindow.h"
#include "ui/LevelNotification.h"
#include "ui/LevelTimer.h"
#include "ui/MainMenu.h"
#include "ui/MonsterHealthBar.h"
#include "ui/MouseCursor.h"
#include "ui/NotificationBox.h"
#include "ui/SaveFailureMessage.h"
#include "ui/SocialMediaBox.h"
#include "ui/UsePopup.h"
#include "ui/WinScreen.h"

namespace mirefell
{

namespace
{

// Every widget the HUD can hold; the list never grows past it.
constexpr size_t HudCapacity = 13;
constexpr int32_t BottomRight = 9;
constexpr int32_t LoadingFont = 0;
constexpr int32_t AlignEnd = 3;
constexpr int32_t AlignTop = 1;
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
// How long a failed save's message stands in play: 10 s, as the hints.
constexpr int32_t SaveFailureTicks = 600;

// Appends a widget to the HUD list and returns it.
template <class Widget, class... Extra>
Widget* Append(std::vector<std::unique_ptr<BaseUIComponent>>& hud, Painter* painter, Extra... extra)
{
    auto widget = std::make_unique<Widget>(painter, extra...);
    Widget* raw = widget.get();
    hud.push_back(std::move(widget));
    return raw;
}

} // namespace

UIManager::UIManager() : painter(std::make_unique<Painter>())
{
    hud.reserve(HudCapacity);
    auto menu = std::make_unique<IngameMenu>(painter.get());
    menu->onExit = [this] { SaveAndExit(); };
    ingameMenu = std::move(menu);
    mainMenu = std::make_unique<MainMenu>(painter.get());
    mouseCursor = std::make_unique<MouseCursor>(painter.get());
    socialMediaBox = std::make_unique<SocialMediaBox>(painter.get());
    winScreen = std::make_unique<WinScreen>(painter.get());
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.onGameFinished = [this] { ReturnToTitle(); };
    saves.onSaveFailed = [this] { OnSaveFailed(); };
}

UIManager::~UIManager()
{
    // The callbacks point at this manager.
    GameSaveManager::GetInstance().onGameFinished = nullptr;
    GameSaveManager::GetInstance().onSaveFailed = nullptr;
    // Widgets go before the painter they point at; members go in reverse
    // order, so only the HUD's order matters here.
    winScreen.reset();
    mouseCursor.reset();
    mainMenu.reset();
    ingameMenu.reset();
    socialMediaBox.reset();
    hud.clear();
}

void UIManager::CreateHud()
{
    NotificationBox::Clear(NotificationBox::GetMessages());
    hud.clear();
    inventoryWindow = nullptr;
    draggedItem = nullptr;
    automap = nullptr;

    Painter* p = painter.get();
    monsterHealthBar = Append<MonsterHealthBar>(hud, p);
    healthBar = Append<HealthBar>(hud, p);
    armorBar = Append<ArmorBar>(hud, p);
    ammoBar = Append<AmmoBar>(hud, p);
    notificationBox = Append<NotificationBox>(hud, p);
    notificationBox->monsterHealthBar = monsterHealthBar;
    usePopup = Append<UsePopup>(hud, p);
    crosshair = Append<Crosshair>(hud, p);
    // The dragged item is made first, for the window to point at, and
    // appended last, so it is drawn over everything.
    auto dragged = std::make_unique<DraggedItem>(p);
    draggedItem = dragged.get();
    automap = Append<Automap>(hud, p);
    inventoryWindow = Append<InventoryWindow>(hud, p, draggedItem);
    levelNotification = Append<LevelNotification>(hud, p);
    levelTimer = Append<LevelTimer>(hud, p);
    deathScreen = Append<DeathScreen>(hud, p);
    hud.push_back(std::move(dragged));
}

void UIManager::Initialize(World* context_)
{
    context = context_;
    if (winScreen)
        winScreen->Initialize(context);
    for (const auto& widget : hud)
        widget->Initialize(context);
}

void UIManager::OnResize()
{
    painter->UpdateScales();
    automapViewport = ApplyUiProjection(*painter).viewport;
}

void UIManager::Update()
{
    switch (GameStateManager::GetInstance().current) {
    case GameState::MainMenu:
        if (mainMenu)
            mainMenu->Update();
        if (socialMediaBox)
            socialMediaBox->Update();
        break;
    case GameState::Playing: {
        auto& messages = NotificationBox::GetMessages();
        if (!saveFailure.empty() && IsHudShown()) {
            NotificationBox::AddMessage(messages, saveFailure, SaveFailureTicks);
            saveFailure.clear();
        }
        for (NotificationMessage& message : messages)
            --message.ticks;
        NotificationBox::RemoveExpired(messages);
        ToggleInventory();
        for (const auto& widget : hud)
            widget->Update();
        break;
    }
    case GameState::LevelComplete:
        if (winScreen)
            winScreen->Update();
        break;
    case GameState::IngameMenu:
        if (ingameMenu)
            ingameMenu->Update();
        break;
    default:
        break;
    }
    HandleEscape();
}

void UIManager::HandleEscape()
{
    // The updates above may have changed the state.
    const GameState state = GameStateManager::GetInstance().current;
    if (state != GameState::Playing && state != GameState::IngameMenu)
        return;
    if (!Input::GetInstance().keyboardTracker.IsKeyPressed(KeyEscape))
        return;
    if (state == GameState::Playing && inventoryWindowOpen) {
        // Closing the inventory is all Escape does in this step.
        LeaveCursorMode();
        if (inventoryWindow)
            inventoryWindow->Hide();
        if (automap)
            automap->Hide();
        return;
    }
    if (!ingameMenu)
        return;
    if (state == GameState::Playing) {
        ingameMenu->Show();
        ingameMenu->Update();
    } else {
        ingameMenu->Hide();
    }
}

void UIManager::ToggleInventory()
{
    Player* player = PlayerOf(context);
    if (!player || player->IsDead())
        return;
    if (!Input::GetInstance().IsActionPressed(KeybindAction::Inventory))
        return;
    const bool open = !inventoryWindowOpen;
    if (open)
        EnterCursorMode();
    else
        LeaveCursorMode();
    if (inventoryWindow)
        inventoryWindow->SetVisible(open);
    if (automap)
        automap->SetVisible(open);
}

void UIManager::EnterCursorMode()
{
    Input::GetInstance().SetMouseMode(Input::MouseModeAbsolute);
    inventoryWindowOpen = true;
}

void UIManager::LeaveCursorMode()
{
    Input::GetInstance().SetMouseMode(Input::MouseModeRelative);
    inventoryWindowOpen = false;
}

void UIManager::Draw()
{
    const GameState state = GameStateManager::GetInstance().current;
    // While the inventory is open in play, the level's map goes into the
    // inset before the batch begins; then the frame viewport is bound again.
    if (state == GameState::Playing && inventoryWindowOpen && automap && DeviceContext) {
        DeviceContext->RSSetViewports(1, &automapViewport);
        automap->DrawMap();
        DeviceContext->RSSetViewports(1, &FrameViewport);
    }
    painter->BeginWithShader();
    switch (state) {
    case GameState::MainMenu:
        if (mainMenu)
            mainMenu->Draw();
        if (socialMediaBox)
            socialMediaBox->Draw();
        break;
    case GameState::Playing:
        for (const auto& widget : hud)
            widget->Draw();
        break;
    case GameState::LevelComplete:
        if (winScreen)
            winScreen->Draw();
        break;
    case GameState::IngameMenu:
        if (ingameMenu)
            ingameMenu->Draw();
        break;
    default:
        break;
    }
    mouseCursor->Draw();
    painter->EndBatch();
}

void UIManager::DrawLoadingScreen()
{
    painter->BeginWithShader();
    painter->DrawText(LoadingFont, false, painter->GetAnchorPoint(BottomRight, -20.0f, -50.0f), L"Loading...", White,
                      AlignEnd, AlignTop, true);
    painter->EndBatch();
}

void UIManager::SaveAndExit()
{
    if (Player* player = PlayerOf(context))
        player->SaveToGameSave();
    ShowTitle();
}

void UIManager::ReturnToTitle()
{
    if (!inventoryWindowOpen)
        Input::GetInstance().SetMouseMode(Input::MouseModeAbsolute);
    ShowTitle();
}

void UIManager::OnSaveFailed()
{
    saveFailure = SaveFailureMessage(GameSaveManager::GetInstance().GetLastError());
}

void UIManager::ShowTitle()
{
    titleSubPageOpen = false;
    RebuildMainMenu();
    // Told on the title, or nothing to tell there: the last return's line
    // goes.
    mainMenu->saveFailure = std::move(saveFailure);
    saveFailure.clear();
    mainMenu->Update();
    GameStateManager::GetInstance().Request(GameState::MainMenu);
}

void UIManager::RebuildMainMenu()
{
    // The slot list the title's pages show is reread from disk, including a
    // save just written.
    mainMenu->Rebuild();
}

} // namespace mirefell
