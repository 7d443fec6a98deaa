// LevelNotification: the banner with the level's number and name at the
// bottom-left when a level is entered from the title screen or from the
// previous level (the shell's showLevelBanner flag, which every banner reads
// and clears when it is made, so a restart after death shows none). It
// waits half a second, fades in over 2.5 s, stands 1.5 s and fades out over
// 2.5 s, counting down while the inventory is open though not drawn then.
#pragma once

#include <cstdint>
#include <string>

#include "platform/math/Color.h"
#include "ui/BaseUIComponent.h"

namespace mirefell
{

class LevelNotification : public BaseUIComponent
{
public:
    // Phases in update steps, counted down from Duration.
    static constexpr int32_t Duration = 420;
    static constexpr int32_t FadeInStart = 390;
    static constexpr int32_t FadeInEnd = 240;
    static constexpr int32_t FadeOutStart = 150;

    // Visible, with the current game's level named, when showLevelBanner is
    // set; clears the flag. Throws "invalid map<K, T> key" when the current
    // game names no level of the level table.
    explicit LevelNotification(Painter* painter_);
    ~LevelNotification() override;

    void Update() override;
    void Draw() override;

    int32_t countdown = Duration;
    Color color{0.0f, 0.0f, 0.0f, 0.0f};
    std::wstring line1; // "Level " + number
    std::wstring line2; // the display name in single quotes
};

} // namespace mirefell
