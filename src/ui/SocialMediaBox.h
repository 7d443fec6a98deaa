// SocialMediaBox: the column of textured buttons in the bottom-right corner
// of the title screen, above the main menu's version line: a large store
// button, a large mailing-list button and a row of small buttons, one per
// social page. Each opens its address through the process URL opener
// (platform/UrlOpener.h); whatever the desktop makes of it, the game goes on.
//
// The addresses are the project's own pages (see the table in the source):
// the game has no store, mailing list or social accounts of its own, so
// every button opens the game's README, shipped in its run folder, until it
// has. The layout follows the window size on every update.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/BaseUIComponent.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

class SocialMediaButton;

class SocialMediaBox : public BaseUIComponent
{
public:
    // Texture name and address of each small button, in row order.
    static const std::vector<std::pair<std::string, std::string>>& SocialLinks();
    static const std::string& StorePageAddress();
    static const std::string& SignUpPageAddress();
    // What the buttons cover on the current screen, from the store button's
    // top to the small buttons' bottom.
    static ScreenArea Area(const Painter& painter);

    explicit SocialMediaBox(Painter* painter_);
    ~SocialMediaBox() override;

    // Places each button, then updates it: store, sign-up, the small ones.
    void Update() override;
    void Draw() override;

    std::unique_ptr<SocialMediaButton> storeButton;
    std::unique_ptr<SocialMediaButton> signUpButton;
    std::vector<std::unique_ptr<SocialMediaButton>> linkButtons;
};

} // namespace mirefell
