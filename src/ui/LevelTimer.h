// LevelTimer: the time spent in the level, h:mm:ss, at the top-right while
// the player has the level clock switched on (showLevelTimer) and the
// inventory is closed. The text is refreshed only while it is shown, so
// switching the clock on shows the current time from the next update.
#pragma once

#include <cstdint>
#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class LevelTimer : public BaseUIComponent
{
public:
    explicit LevelTimer(Painter* painter_);
    ~LevelTimer() override;

    void Update() override;
    void Draw() override;

    std::wstring text;

private:
    bool IsShown() const;
};

} // namespace mirefell
