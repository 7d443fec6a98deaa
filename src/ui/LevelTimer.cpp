// LevelTimer: the level clock's text and its drawing.
#include "ui/LevelTimer.h"

#include <cwchar>

#include "gameplay/Player.h"
#include "render/Painter.h"
#include "shell/Config.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t ClockFont = 1;
constexpr int32_t TopRight = 3;
constexpr int32_t AlignEnd = 3;
constexpr int32_t AlignTop = 1;
constexpr size_t TextCapacity = 32;
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

LevelTimer::LevelTimer(Painter* painter_) : BaseUIComponent(painter_)
{
    // Room for any duration, so the text changes in place every step.
    text.reserve(TextCapacity);
}

LevelTimer::~LevelTimer() = default;

bool LevelTimer::IsShown() const
{
    return visible && !inventoryWindowOpen && Config::GetInstance().settings.showLevelTimer;
}

void LevelTimer::Update()
{
    const Player* player = PlayerOf(context);
    if (!player || !IsShown())
        return;
    // Hours, then minutes and seconds of two digits each, as the level
    // records show durations; written into the reserved text.
    const int64_t seconds = player->levelClock.ElapsedSeconds();
    wchar_t buffer[TextCapacity];
    std::swprintf(buffer, TextCapacity, L"%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
    text.assign(buffer);
}

void LevelTimer::Draw()
{
    if (!IsShown())
        return;
    painter->DrawText(ClockFont, false,
                      painter->GetAnchorPoint(TopRight, -2.0f * painter->margin, 2.0f * painter->margin), text.c_str(),
                      White, AlignEnd, AlignTop, true);
}

} // namespace mirefell
