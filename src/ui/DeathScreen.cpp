// DeathScreen: the blink and the death texts.
#include "ui/DeathScreen.h"

#include <cmath>

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "render/Painter.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t TitleFont = 3;
constexpr int32_t PromptFont = 1;
constexpr int32_t Centre = 5;
constexpr int32_t AlignCentre = 2;
constexpr int32_t AlignTop = 1;
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

DeathScreen::DeathScreen(Painter* painter_) : BaseUIComponent(painter_)
{
    blinkPhase = 0.0f;
}

DeathScreen::~DeathScreen() = default;

void DeathScreen::Update()
{
    blinkPhase += BlinkStep;
    blinkOn = std::sin(blinkPhase) > 0.0f;
}

void DeathScreen::Draw()
{
    Player* player = PlayerOf(context);
    if (!player || !player->IsDead())
        return;
    const Vector2 centre = painter->GetAnchorPoint(Centre, 0.0f, 0.0f);
    const float title = painter->GetLineHeight(TitleFont);
    const float prompt = painter->GetLineHeight(PromptFont);
    if (GameSaveManager::GetInstance().current.permadeath) {
        // Two title lines centred on the screen.
        float y = centre.y - title;
        painter->DrawText(TitleFont, false, Vector2(centre.x, y), L"You died.", White, AlignCentre, AlignTop, true);
        y += title;
        painter->DrawText(TitleFont, false, Vector2(centre.x, y), L"Permanently.", White, AlignCentre, AlignTop, true);
        return;
    }
    // The title, a blank of one prompt line and the prompt, centred; the
    // title keeps its place while the prompt blinks.
    float y = centre.y - title * 0.5f - prompt;
    painter->DrawText(TitleFont, false, Vector2(centre.x, y), L"You died.", White, AlignCentre, AlignTop, true);
    y += title;
    if (blinkOn) {
        y += prompt;
        painter->DrawText(PromptFont, false, Vector2(centre.x, y), L"[ENTER] to restart", White, AlignCentre, AlignTop,
                          true);
    }
}

} // namespace mirefell
