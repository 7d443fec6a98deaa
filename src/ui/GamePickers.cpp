// GamePickers: the slot, difficulty and level pages and their hand-over to
// the GameSaveManager.
#include "ui/GamePickers.h"

#include <functional>

#include "gameplay/GameSaveManager.h"
#include "shell/GameStateManager.h"
#include "shell/Levels.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/MenuButton.h"
#include "ui/MenuPanel.h"

namespace mirefell
{

namespace
{

// The level page's denser rows.
constexpr int32_t LevelPageTextSize = 0;
constexpr float LevelPageRowScale = 0.75f;

// Which slots a slot page lets the player choose.
enum class SlotChoice
{
    AnySlot,    // a new game goes into any slot, empty or not
    SavedGames, // only slots holding a game that can still be played
};

bool IsPlayable(const GameSave& save)
{
    return !(save.permadeath && save.permadead);
}

// The caption of a slot without a save: empty, or a file that cannot be read
// (kept aside before a new game is saved into the slot).
std::wstring NoSaveLabel(const GameSaveManager& saves, int32_t slot)
{
    return std::to_wstring(slot + 1) + (saves.IsSlotUnreadable(slot) ? L" - <unreadable>" : L" - <blank>");
}

// The five slot rows, slot 1 first.
void AddSlotRows(MenuPanel& page, SlotChoice choice, const std::function<void(int32_t)>& action)
{
    const GameSaveManager& saves = GameSaveManager::GetInstance();
    for (int32_t slot = 0; slot < GameSaveManager::SlotCount; ++slot) {
        const auto found = saves.slots.find(slot);
        const bool saved = found != saves.slots.end();
        const std::wstring caption = saved ? SaveSlotLabel(found->second) : NoSaveLabel(saves, slot);
        const bool usable = choice == SlotChoice::AnySlot || (saved && IsPlayable(found->second));
        MenuButton* row = page.AddButton(caption, usable ? std::function<void()>([action, slot] { action(slot); })
                                                         : std::function<void()>());
        if (choice == SlotChoice::SavedGames)
            row->isDisabled = [usable] { return !usable; };
    }
}

// The "Back" of a slot page: to the main menu's first page, no choice kept.
void AddSlotPageBack(MenuPanel& page, MenuPanel* parent)
{
    MenuPanel* self = &page;
    page.AddButton(L"Back", [self, parent] {
        titleSubPageOpen = false;
        self->SwitchTo(*parent);
        NewGameSelection::Get().Reset();
    });
}

// The "Back" of a page that follows a slot page.
void AddFollowingPageBack(MenuPanel& page, MenuPanel* parent)
{
    MenuPanel* self = &page;
    page.AddButton(L"Back", [self, parent] {
        self->SwitchTo(*parent);
        NewGameSelection::Get().Reset();
    });
}

std::unique_ptr<MenuPanel> MakePage(Painter* painter, const MenuPanel* parent)
{
    auto page = MenuPanel::CreateWithAlignment(painter, parent->centred);
    page->Hide();
    return page;
}

using PageBuilder = std::unique_ptr<MenuPanel> (*)(Painter*, MenuPanel*);

// A slot page whose rows store the chosen slot and open the page `next`
// builds, which it owns.
std::unique_ptr<MenuPanel> BuildSlotPageBefore(Painter* painter, MenuPanel* parent, SlotChoice choice, PageBuilder next)
{
    auto page = MakePage(painter, parent);
    auto following = next(painter, page.get());
    MenuPanel* self = page.get();
    MenuPanel* target = following.get();
    page->AddSubPage(std::move(following));

    page->AddLabel(L"Pick save slot");
    page->AddBlank();
    AddSlotRows(*page, choice, [self, target](int32_t slot) {
        NewGameSelection::Get().slot = slot;
        self->SwitchTo(*target);
    });
    page->AddBlank();
    AddSlotPageBack(*page, parent);
    return page;
}

} // namespace

NewGameSelection& NewGameSelection::Get()
{
    static NewGameSelection selection;
    return selection;
}

std::wstring SaveSlotLabel(const GameSave& save)
{
    return std::to_wstring(save.slot + 1) + L" - " +
           GameSaveManager::GetDifficultyLabel(save.difficulty, save.blackout, save.permadeath, save.permadead);
}

void StartNewGame()
{
    NewGameSelection& selection = NewGameSelection::Get();
    GameSaveManager::GetInstance().NewGame(selection.slot, selection.difficulty, selection.blackout,
                                           selection.permadeath);
    selection.Reset();
}

bool PickLevel(const std::string& levelId)
{
    NewGameSelection& selection = NewGameSelection::Get();
    GameSaveManager& saves = GameSaveManager::GetInstance();
    if (!saves.LoadSlot(selection.slot))
        return false;
    GameStateManager::GetInstance().Request(GameState::Loading);
    saves.SetLevelName(levelId);
    selection.Reset();
    return true;
}

bool LoadSavedSlot(int32_t slot)
{
    if (!GameSaveManager::GetInstance().LoadSlot(slot))
        return false;
    GameStateManager::GetInstance().Request(GameState::Loading);
    return true;
}

std::unique_ptr<MenuPanel> BuildNewGameSlotPage(Painter* painter, MenuPanel* parent)
{
    return BuildSlotPageBefore(painter, parent, SlotChoice::AnySlot, &BuildDifficultyPage);
}

std::unique_ptr<MenuPanel> BuildDifficultyPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    page->AddLabel(L"Pick difficulty");
    page->AddBlank();
    struct Choice
    {
        const wchar_t* name;
        GameDifficulty difficulty;
    };
    static constexpr Choice Choices[] = {{L"Easy", GameDifficulty::Easy},
                                         {L"Normal", GameDifficulty::Normal},
                                         {L"Hard", GameDifficulty::Hard},
                                         {L"Very Hard", GameDifficulty::VeryHard},
                                         {L"Masochistic", GameDifficulty::Masochistic}};
    for (const Choice& choice : Choices) {
        const GameDifficulty difficulty = choice.difficulty;
        MenuButton* row = page->AddButton(choice.name, [difficulty] {
            NewGameSelection::Get().difficulty = difficulty;
            StartNewGame();
        });
        row->pulse = difficulty == GameDifficulty::Masochistic;
    }
    page->AddBlank();
    page->AddToggle(
        L"Blackout", [] { return NewGameSelection::Get().blackout; },
        [] { NewGameSelection::Get().blackout = !NewGameSelection::Get().blackout; });
    page->AddToggle(
        L"Permadeath", [] { return NewGameSelection::Get().permadeath; },
        [] { NewGameSelection::Get().permadeath = !NewGameSelection::Get().permadeath; });
    page->AddBlank();
    AddFollowingPageBack(*page, parent);
    return page;
}

std::unique_ptr<MenuPanel> BuildLevelSelectSlotPage(Painter* painter, MenuPanel* parent)
{
    return BuildSlotPageBefore(painter, parent, SlotChoice::SavedGames, &BuildLevelPage);
}

std::unique_ptr<MenuPanel> BuildLevelPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    page->textSize = LevelPageTextSize;
    page->scaleText = false;
    page->rowScale = LevelPageRowScale;
    page->AddLabel(L"Pick level");
    page->AddBlank();
    for (const LevelInfo& level : Levels::GetAll()) {
        const std::string id = level.id;
        const auto number = static_cast<int32_t>(level.number);
        MenuButton* row = page->AddButton(GameSaveManager::GetLevelLabel(level), [id] { PickLevel(id); });
        row->isDisabled = [number] {
            return !GameSaveManager::GetInstance().IsLevelUnlocked(NewGameSelection::Get().slot, number);
        };
    }
    page->AddBlank();
    AddFollowingPageBack(*page, parent);
    return page;
}

std::unique_ptr<MenuPanel> BuildLoadGameSlotPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    page->AddLabel(L"Pick save slot");
    page->AddBlank();
    AddSlotRows(*page, SlotChoice::SavedGames, [](int32_t slot) { LoadSavedSlot(slot); });
    page->AddBlank();
    AddSlotPageBack(*page, parent);
    return page;
}

} // namespace mirefell
