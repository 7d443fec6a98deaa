// UsePopup: the prompt under the crosshair while the player aims at a door or
// switch it can use: the Use key's name in square brackets followed by
// " Use", centred one margin and half a unit below the screen centre. The
// text follows the current binding at once, so a key bound in the options
// shows the next time the prompt does. Not hidden on "Masochistic".
#pragma once

#include <string>

#include "shell/Keybind.h"
#include "ui/BaseUIComponent.h"

namespace mirefell
{

class UsePopup : public BaseUIComponent
{
public:
    explicit UsePopup(Painter* painter_);
    ~UsePopup() override;

    void Update() override;
    void Draw() override;

    std::wstring text;
    float width = 0.0f; // pixels: the text's width plus two margins

private:
    // The Use binding the text was made for; the text is rebuilt only when
    // it changes, so showing the prompt allocates nothing step after step.
    Keybind textBinding;
};

} // namespace mirefell
