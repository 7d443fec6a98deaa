// SocialMediaButton: a textured button of the title screen's social-media
// box. It is drawn faint (a tenth of its opacity) until the mouse is over
// it, then fully opaque, and on the press of the left button it runs its
// action (opening its web address) and consumes the click; it plays no
// sound. The box places it before every update.
#pragma once

#include <functional>
#include <string>

#include "platform/math/Color.h"
#include "ui/BaseUIComponent.h"

namespace mirefell
{

class SocialMediaButton : public BaseUIComponent
{
public:
    explicit SocialMediaButton(Painter* painter_);
    ~SocialMediaButton() override;

    void Update() override;
    void Draw() override;
    Vector2 GetPosition() override { return position; }
    Vector2 GetSize() override { return size; }

    std::function<void()> onClick;
    std::string textureName;
    Color normalColour{1.0f, 1.0f, 1.0f, 0.1f};
    Color hoverColour{1.0f, 1.0f, 1.0f, 1.0f};
    Vector2 position;
    Vector2 size;
};

} // namespace mirefell
