// Every screen of the game drawn by the UIManager on the headless GPU at
// 800 x 600, 1280 x 720 and 1920 x 1080, with a picture of each in
// test-output/screens/<width>x<height>/ to look at, and the layout checked
// from what the painter drew (its draw log), not from pixels: every text's
// ink lies on the screen, no two texts touch, and no text lies on an icon.
// The menus stand on a grey background; the title scene and the level behind
// them are the app tests' pictures. The target is sRGB like the swap chain,
// so the pictures show the colours a player sees.
//
// The screens hold their longest texts: save slots with every modifier, an
// unbound action and the longest key name, the three notifications of a
// first pickup of the boots, the automap's mode with both modifiers, the
// longest words for a save that failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "MenuFixture.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "platform/VirtualKey.h"
#include "render/PainterDrawLog.h"
#include "shell/Config.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindManager.h"
#include "shell/LevelBannerFlag.h"
#include "ui/DeathScreen.h"
#include "ui/InventoryWindow.h"
#include "ui/MonsterHealthBar.h"
#include "ui/SaveFailureMessage.h"
#include "ui/WinScreen.h"

namespace mirefell::testing
{
namespace
{

// Linear light: a dark grey (about 50 of 255 on the screen), as dark as
// the title scene around the menus.
constexpr Color Backdrop{0.03f, 0.03f, 0.03f, 1.0f};

// The report of a failed save whose cause, in the player's words, is the
// longest the window shows.
const std::string LongestSaveFailure = std::string("the game was not saved: the game in save slot 1 "
                                                   "(saves/save0.mfv) was not kept: ") +
                                       GameSaveManager::NoBackupName;

// Edges: left and top inside, right and bottom outside.
struct Box
{
    float left, top, right, bottom;
    bool Overlaps(const Box& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Where a text's glyphs put ink: from its left edge to the measured width,
// from the highest glyph top to the lowest glyph bottom.
Box InkOf(const PainterDrawLog::Text& text)
{
    float top = std::numeric_limits<float>::max();
    float bottom = std::numeric_limits<float>::lowest();
    for (wchar_t c : text.text) {
        const SpriteGlyph* glyph = text.font->FindGlyph(c);
        if (glyph->bottom > glyph->top) {
            top = std::min(top, glyph->yOffset);
            bottom = std::max(bottom, glyph->yOffset + static_cast<float>(glyph->bottom - glyph->top));
        }
    }
    const float width = text.font->MeasureString(text.text.c_str()).x;
    return {text.position.x, text.position.y + top, text.position.x + width, text.position.y + bottom};
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

class ScreenLayoutTest : public AimingTestOf<MenuDrawTest>
{
protected:
    struct Screen
    {
        const char* name;
        std::function<void()> show;
        std::function<void(const PainterDrawLog&)> check = {}; // what else the screen must keep
    };

    // Saves in three slots (one with both modifiers, one whose permadeath
    // game ended), "Attack" unbound and "Use" on the longest key name.
    void SetUpGames()
    {
        std::filesystem::remove_all("saves");
        GameSaveManager& saves = GameSaveManager::GetInstance();
        const GameSave playing = saves.current;
        WriteSave(0, GameDifficulty::Normal, false, false);
        WriteSave(3, GameDifficulty::VeryHard, true, true, 1, true);
        WriteSave(4, GameDifficulty::Masochistic, true, true);
        saves.current = playing;
        KeybindManager& binds = KeybindManager::GetInstance();
        binds.bindings[KeybindAction::Attack].bound = false;
        binds.bindings[KeybindAction::Use] = Keybind::ForKey(0x08); // BACKSPACE
        Config::GetInstance().settings.screenWidth = 1920;          // the widest value of the resolution row
        Config::GetInstance().settings.screenHeight = 1080;
    }
    // The visible page of a menu's page tree.
    static MenuPanel* VisiblePage(const std::vector<std::unique_ptr<BaseUIComponent>>& pages)
    {
        for (const auto& page : pages) {
            auto* panel = dynamic_cast<MenuPanel*>(page.get());
            if (!panel)
                continue;
            if (panel->IsVisible())
                return panel;
            if (MenuPanel* found = VisiblePage(panel->subPages))
                return found;
        }
        return nullptr;
    }
    // Clicks through the rows named, each on the page then shown.
    void Follow(const std::vector<std::unique_ptr<BaseUIComponent>>& pages, const std::vector<std::wstring>& path)
    {
        for (const std::wstring& row : path)
            ClickRow(*VisiblePage(pages), row);
        MoveMouse(Vector2(0.0f, 0.0f)); // no hover, no cursor
        UiStep();
    }
    void TitlePage(const std::vector<std::wstring>& path)
    {
        Title().saveFailure.clear();
        ShowTitle();
        Input::GetInstance().SetMouseMode(Input::MouseModeAbsolute);
        UiStep(); // the cursor mode's first snapshot drops the position
        Follow(Title().pages, path);
    }
    // The in-game menu opened afresh, its main page shown.
    void PausePage(const std::vector<std::wstring>& path)
    {
        ShowPlay();
        for (const auto& page : Pause().pages)
            HideTree(*page);
        Pause().panel->Show();
        Pause().Show();
        UiStep(); // the cursor mode's first snapshot drops the position
        Follow(Pause().pages, path);
    }
    static void HideTree(BaseUIComponent& page)
    {
        page.Hide();
        if (auto* panel = dynamic_cast<MenuPanel*>(&page))
            for (const auto& sub : panel->subPages)
                HideTree(*sub);
    }

    // Play at full health with a shotgun, the inventory closed, nobody dead.
    void ShowPlay()
    {
        Pause().visible = false;
        ui->winScreen->visible = false;
        player->dead = false;
        GameStateManager::GetInstance().Request(GameState::Playing);
        if (inventoryWindowOpen)
            PressAndStep(KeyTab);
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.current.permadeath = false;
        saves.current.blackout = false;
        saves.current.difficulty = GameDifficulty::Normal;
        Input::GetInstance().SetMouseMode(Input::MouseModeRelative);
        UiStep();
    }
    // The HUD with everything it can show at once: the banner, the clock,
    // the monster's bar, the use prompt, and the three messages of a first
    // pickup of the boots.
    void ShowHud()
    {
        ShowPlay();
        showLevelBanner = true;
        ui->CreateHud();
        ui->Initialize(world.get());
        Aim();
        Config::GetInstance().settings.showLevelTimer = true;
        for (int i = 0; i < 200; ++i) // the counters settle; the banner is opaque
            UiStep();
        auto& messages = NotificationBox::GetMessages();
        NotificationBox::AddMessage(messages, L"Picked up Anti-Grav boots.", 300);
        NotificationBox::AddMessage(messages, L"You can review your map and inventory by pressing [TAB].", 600);
        NotificationBox::AddMessage(messages, L"Press [SPACE] to jump. Land on something living!", 600);
        UiStep();
    }
    // The inventory open over the automap, a tooltip shown, the mode with
    // both modifiers.
    void ShowInventory()
    {
        ShowPlay();
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.current.difficulty = GameDifficulty::VeryHard;
        saves.current.blackout = true;
        saves.current.permadeath = true;
        PressAndStep(KeyTab);
        ASSERT_TRUE(inventoryWindowOpen);
        // Over the health cube at cell (4, 6).
        const Vector2 corner = ui->inventoryWindow->GetPosition();
        PointAt(corner.x + 4.5f * ui->painter->unitSize.x, corner.y + 6.5f * ui->painter->unitSize.y);
        UiStep();
    }
    void ShowDeath(bool permadeath)
    {
        ShowPlay();
        GameSaveManager::GetInstance().current.permadeath = permadeath;
        player->dead = true;
        UiStep();
        ui->deathScreen->blinkOn = true;
    }
    // The statistics landed and the prompt shown.
    void ShowLevelComplete()
    {
        ShowPlay();
        player->CompleteLevel();
        GameStateManager::GetInstance().NotifyListeners();
        PressAndStep(KeyEnter);
        auto& screen = static_cast<WinScreen&>(*ui->winScreen);
        for (int update = 0; update < 63 && screen.promptHidden; ++update)
            UiStep();
    }

    // One frame of the screen in its state, its picture and its layout
    // checked.
    void DrawAndCheck(const Screen& screen, uint32_t width, uint32_t height, bool loading = false)
    {
        StartScreen(width, height, Backdrop, gpu::Format::R8G8B8A8_UNORM_SRGB);
        PainterDrawLog log;
        ui->painter->drawLog = &log;
        if (loading)
            ui->DrawLoadingScreen();
        else
            ui->Draw();
        ui->painter->drawLog = nullptr;
        Save("screens/" + std::to_string(width) + "x" + std::to_string(height) + "/" + screen.name);
        ASSERT_FALSE(log.texts.empty());
        CheckLayout(log, static_cast<float>(width), static_cast<float>(height));
        if (screen.check)
            screen.check(log);
    }

    static void CheckLayout(const PainterDrawLog& log, float width, float height)
    {
        std::vector<Box> inks;
        for (const PainterDrawLog::Text& text : log.texts) {
            const Box ink = InkOf(text);
            EXPECT_TRUE(ink.left >= 0 && ink.top >= 0 && ink.right <= width && ink.bottom <= height)
                << "\"" << Narrow(text.text) << "\" runs off the screen: (" << ink.left << ", " << ink.top << ")-("
                << ink.right << ", " << ink.bottom << ")";
            for (size_t i = 0; i < inks.size(); ++i)
                EXPECT_FALSE(ink.Overlaps(inks[i]))
                    << "\"" << Narrow(text.text) << "\" lies on \"" << Narrow(log.texts[i].text) << "\": x " << ink.left
                    << " to " << ink.right << ", y " << ink.top << " to " << ink.bottom << " on x " << inks[i].left
                    << " to " << inks[i].right << ", y " << inks[i].top << " to " << inks[i].bottom;
            for (const PainterDrawLog::Texture& icon : log.textures) {
                // Fills lie under texts by design, and so does the held
                // item's count on its own icon; the cursor is the cursor.
                if (icon.name == "white" || icon.name == "mouse" || icon.name.rfind("item_", 0) == 0)
                    continue;
                const Box box{static_cast<float>(icon.x), static_cast<float>(icon.y),
                              static_cast<float>(icon.x + icon.width), static_cast<float>(icon.y + icon.height)};
                EXPECT_FALSE(ink.Overlaps(box)) << "\"" << Narrow(text.text) << "\" lies on " << icon.name;
            }
            inks.push_back(ink);
        }
    }
};

TEST_F(ScreenLayoutTest, EveryScreenFitsAtEachSupportedSize)
{
    SetUpGames();
    auto shotgun = Weapons::MakeDoubleShotgun();
    Item* equipped = shotgun.get();
    player->inventory.AddItemAt(0, 0, std::move(shotgun));
    player->inventory.AddItemAt(4, 6, MakeHealthCube());
    player->UseItem(equipped);
    const std::vector<std::wstring> options = {L"Options"};
    const auto optionsPage = [&](const wchar_t* page) { return std::vector<std::wstring>{L"Options", page}; };
    const std::vector<std::wstring> keybinds = {L"Options", L"Controls", L"Modify keybinds"};
    // The slot pages' rows run in one font: a caption longer than its row
    // runs on over the empty screen beside it (the corner lines are in the
    // small font).
    const auto oneFont = [&](const PainterDrawLog& log) {
        const SpriteFont* rows = nullptr;
        for (const PainterDrawLog::Text& text : log.texts) {
            if (text.font == ui->painter->smallFont.get())
                continue;
            if (!rows)
                rows = text.font;
            EXPECT_EQ(text.font, rows) << "\"" << Narrow(text.text) << "\" is in another font";
        }
    };
    const std::vector<Screen> screens = {
        {"title", [&] { TitlePage({}); }},
        {"options", [&] { TitlePage(options); }},
        {"options_controls", [&] { TitlePage(optionsPage(L"Controls")); }},
        {"options_gameplay", [&] { TitlePage(optionsPage(L"Gameplay")); }},
        {"options_audio", [&] { TitlePage(optionsPage(L"Audio")); }},
        {"options_display", [&] { TitlePage(optionsPage(L"Display")); }},
        {"options_graphics", [&] { TitlePage(optionsPage(L"Graphics")); }},
        {"keybinds", [&] { TitlePage(keybinds); }},
        {"new_game", [&] { TitlePage({L"New game"}); }, oneFont},
        {"difficulty",
         [&] {
             TitlePage({L"New game", L"1 - Normal"});
         }},
        {"load_game", [&] { TitlePage({L"Load game"}); }, oneFont},
        {"level_select", [&] { TitlePage({L"Level select"}); }, oneFont},
        {"level_page",
         [&] {
             TitlePage({L"Level select", L"1 - Normal"});
         }},
        // What a failed save tells on the title: the longest of the causes
        // named, and the system's longest words for one.
        {"title_save_failed",
         [&] {
             TitlePage({});
             Title().saveFailure = SaveFailureMessage(LongestSaveFailure);
         }},
        {"title_save_failed_system_words",
         [&] {
             TitlePage({});
             Title().saveFailure = SaveFailureMessage("the game was not saved: can't write file (saves/save0.mfv: " +
                                                      std::string(std::strerror(EILSEQ)) + ")");
         }},
        {"ingame_menu", [&] { PausePage({}); }},
        {"ingame_options", [&] { PausePage(options); }},
        {"ingame_options_controls", [&] { PausePage(optionsPage(L"Controls")); }},
        {"ingame_options_gameplay", [&] { PausePage(optionsPage(L"Gameplay")); }},
        {"ingame_options_audio", [&] { PausePage(optionsPage(L"Audio")); }},
        {"ingame_options_display", [&] { PausePage(optionsPage(L"Display")); }},
        {"ingame_options_graphics", [&] { PausePage(optionsPage(L"Graphics")); }},
        {"ingame_keybinds", [&] { PausePage(keybinds); }},
        {"hud", [&] { ShowHud(); },
         [&](const PainterDrawLog& log) {
             // The messages' boxes (black, 0.75, a line and two margins
             // high: taller than the segments' shadows) keep clear of the
             // monster's health bar.
             const float barLeft = MonsterHealthBar::RowLeft(*ui->painter);
             const float barBottom = MonsterHealthBar::RowBottom(*ui->painter);
             for (const PainterDrawLog::Texture& fill : log.textures) {
                 if (fill.name == "white" && fill.color.a == 0.75f && fill.height > 32) {
                     EXPECT_TRUE(fill.x + fill.width <= barLeft || fill.y >= barBottom)
                         << "a message box at (" << fill.x << ", " << fill.y << ") lies on the monster's bar";
                 }
             }
         }},
        {"hud_save_failed",
         [&] {
             ShowHud();
             NotificationBox::AddMessage(NotificationBox::GetMessages(), SaveFailureMessage(LongestSaveFailure), 600);
             UiStep();
         }},
        {"inventory", [&] { ShowInventory(); }},
        {"death", [&] { ShowDeath(false); }},
        {"death_permadeath", [&] { ShowDeath(true); }},
        {"level_complete", [&] { ShowLevelComplete(); }},
    };
    const std::pair<uint32_t, uint32_t> sizes[] = {{800, 600}, {1280, 720}, {1920, 1080}};
    for (const auto& [width, height] : sizes) {
        for (const Screen& screen : screens) {
            SCOPED_TRACE(std::string(screen.name) + " at " + std::to_string(width) + "x" + std::to_string(height));
            StartScreen(width, height, Backdrop); // the layout of the size before the first update
            screen.show();
            DrawAndCheck(screen, width, height);
        }
        DrawAndCheck({"loading", [] {}}, width, height, true);
    }
}

} // namespace
} // namespace mirefell::testing
