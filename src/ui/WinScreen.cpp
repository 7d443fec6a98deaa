// WinScreen: the statistics of a completed level, their slide and the way on.
#include "ui/WinScreen.h"

#include <algorithm>
#include <cmath>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/VirtualKey.h"
#include "render/Painter.h"
#include "shell/GameStateManager.h"
#include "shell/Helpers.h"
#include "shell/Input.h"
#include "shell/Screen.h"
#include "shell/SoundManager.h"
#include "ui/HudState.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

constexpr int32_t Centre = 5;
constexpr int32_t BottomRight = 9;
constexpr float TitleRise = -335.0f; // the title's place above the screen centre
constexpr float ColumnHalfWidth = 350.0f;
constexpr float PromptAndRows = 8.0f; // the seven statistics and the prompt
constexpr float BlankLines = 5.0f;
constexpr float StepPerHeight = 0.02f;
constexpr float BlinkStep = 0.1f;
constexpr int32_t TitleFont = 2;
constexpr int32_t RowFont = 1;
constexpr int32_t AlignStart = 1;
constexpr int32_t AlignMiddle = 2;
constexpr int32_t AlignEnd = 3;
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};
constexpr const char* LandingSound = "shotgun_fire";
constexpr const wchar_t* Separator = L" / ";

// The prompt's blink: 0 at start-up and at every Prepare.
float blinkPhase = 0.0f;

std::wstring Ratio(int64_t done, int64_t total)
{
    return std::to_wstring(done) + Separator + std::to_wstring(total);
}

} // namespace

WinScreen::WinScreen(Painter* painter_) : BaseUIComponent(painter_), listenerTarget(std::make_shared<WinScreen*>(this))
{
    visible = false;
    rowOffsets.reserve(SlotCount);
    rowLanded.reserve(SlotCount);
    GameStateManager::GetInstance().AddListener(
        [target = std::weak_ptr<WinScreen*>(listenerTarget)](GameState newState, GameState) {
            if (const std::shared_ptr<WinScreen*> screen = target.lock())
                (*screen)->OnGameStateChanged(newState);
        });
}

WinScreen::~WinScreen() = default;

void WinScreen::OnGameStateChanged(GameState newState)
{
    if (newState == GameState::LevelComplete)
        Prepare();
}

void WinScreen::Prepare()
{
    GameSave& save = GameSaveManager::GetInstance().current;
    const GameSaveLevelData& record = save.levels[save.levelId];
    const Player* player = PlayerOf(context);

    difficultyValue = GameSaveManager::GetModeLabel(save);
    monstersValue = Ratio(player ? player->killCount : 0, context ? context->monsterCount : 0);
    itemsValue = Ratio(player ? player->itemsCollected : 0, context ? context->itemCount : 0);
    powerupsValue = Ratio(static_cast<int64_t>(record.pickedUpItemIds.size()), record.itemCount);
    timeSpentValue = FormatTime(player ? static_cast<int32_t>(player->levelClock.ElapsedSeconds()) : 0);
    personalBestValue = FormatTime(record.bestTime);
    totalScoreValue = std::to_wstring(save.GetScore());

    visible = true;
    blinkPhase = 0.0f;
    rowOffsets.clear();
    rowLanded.clear();
    const float height = painter->GetAnchorPoint(BottomRight).y;
    for (int32_t i = 0; i < SlotCount; ++i) {
        rowOffsets.emplace_back(0.0f, height + static_cast<float>(i) * height / 2.0f);
        rowLanded.push_back(false);
    }
    // Below 50 pixels of height the fraction rounds to nothing; the rows
    // must still move.
    step = std::max(1.0f, std::floor(static_cast<float>(ScreenHeight) * StepPerHeight));
    allLanded = false;
}

void WinScreen::Update()
{
    if (!visible)
        return;
    if (Input::GetInstance().keyboardTracker.IsKeyPressed(KeyEnter)) {
        if (allLanded) {
            GameSaveManager::GetInstance().AdvanceToNextLevel();
            Hide();
            return;
        }
        allLanded = true; // every row at its place at once, without a shot
        for (Vector2& offset : rowOffsets)
            offset.y = 0.0f;
    }

    blinkPhase += BlinkStep;
    promptHidden = std::sin(blinkPhase) > 0.0f;
    if (allLanded)
        return;

    allLanded = true;
    for (size_t i = 0; i < rowOffsets.size(); ++i) {
        float& y = rowOffsets[i].y;
        y -= step;
        if (y <= 0.0f) {
            // Reaching the place exactly is landing too: some heights make
            // the offsets whole multiples of the step.
            y = 0.0f;
            if (!rowLanded[i]) {
                rowLanded[i] = true;
                SoundManager::GetInstance().PlaySound(LandingSound);
            }
        }
        if (y > 0.0f)
            allLanded = false;
    }
}

void WinScreen::Draw()
{
    if (!visible || rowOffsets.size() < static_cast<size_t>(SlotCount))
        return;
    // The block: the title, seven rows and the prompt, with five blank
    // lines between its groups, starting 335 pixels above the centre. A
    // screen too short for that (under 678 pixels) gets shorter blank lines,
    // so that the block fits between two margins, centred.
    float rowGap = painter->GetLineHeight(RowFont);
    rowIndex = 0;
    position = painter->GetAnchorPoint(Centre, 0.0f, TitleRise);
    const float height = painter->GetAnchorPoint(BottomRight).y;
    const float lines = painter->GetLineHeight(TitleFont) + PromptAndRows * painter->GetLineHeight(RowFont);
    if (position.y < 0.0f || position.y + lines + BlankLines * rowGap > height) {
        rowGap = std::max(0.0f, std::floor((height - 2.0f * painter->margin - lines) / BlankLines));
        position.y = std::floor((height - lines - BlankLines * rowGap) * 0.5f);
    }
    DrawTitleRow(L"Level complete!");
    position.y += rowGap;
    DrawStatRow(L"Difficulty", difficultyValue);
    position.y += rowGap;
    DrawStatRow(L"Monsters killed", monstersValue);
    DrawStatRow(L"Items picked up", itemsValue);
    DrawStatRow(L"Powerups picked up", powerupsValue);
    position.y += rowGap;
    DrawStatRow(L"Time spent", timeSpentValue);
    DrawStatRow(L"Personal best", personalBestValue);
    position.y += rowGap;
    DrawStatRow(L"Total score", totalScoreValue);
    position.y += rowGap;
    if (allLanded)
        DrawPrompt(L"[ENTER] to continue");
}

void WinScreen::DrawTitleRow(const wchar_t* text)
{
    // Centred on the row's point, with the painter's two-pixel outline.
    const Vector2 point = position + rowOffsets[static_cast<size_t>(rowIndex)];
    painter->DrawText(TitleFont, false, point, text, White, AlignMiddle, AlignStart, true);
    position.y += painter->GetLineHeight(TitleFont);
    ++rowIndex;
}

void WinScreen::DrawStatRow(const wchar_t* label, const std::wstring& value)
{
    const Vector2 offset = rowOffsets[static_cast<size_t>(rowIndex)];
    painter->DrawText(RowFont, false, position + Vector2(-ColumnHalfWidth, 0.0f) + offset, label, White, AlignStart,
                      AlignStart, true);
    painter->DrawText(RowFont, false, position + Vector2(ColumnHalfWidth, 0.0f) + offset, value.c_str(), White,
                      AlignEnd, AlignStart, true);
    position.y += painter->GetLineHeight(RowFont);
    ++rowIndex;
}

void WinScreen::DrawPrompt(const wchar_t* text)
{
    if (!promptHidden)
        painter->DrawText(RowFont, false, position, text, White, AlignMiddle, AlignStart, true);
    position.y += painter->GetLineHeight(RowFont);
}

} // namespace mirefell
