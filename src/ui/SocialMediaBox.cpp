// SocialMediaBox: the buttons' addresses and their layout.
#include "ui/SocialMediaBox.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/UrlOpener.h"
#include "render/Painter.h"
#include "ui/SocialMediaButton.h"

namespace mirefell
{

namespace
{

constexpr int32_t BottomRight = 9;
// The main menu's version line starts this far above the bottom edge.
constexpr float VersionLineTop = 105.0f;
constexpr float Gap = 10.0f; // pixels right of the buttons and between small ones

// The page every button opens: the README in the folder the game runs from,
// as a file address (characters outside the safe set percent-encoded).
std::string ProjectPageAddress()
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    const std::string path = (folder / "README.md").generic_string();
    std::string address = "file://";
    for (const unsigned char c : path) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                          c == '-' || c == '_' || c == '.' || c == '~';
        if (safe) {
            address += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            address += escaped;
        }
    }
    return address;
}

std::unique_ptr<SocialMediaButton> MakeButton(Painter* painter, std::string texture, std::string address)
{
    auto button = std::make_unique<SocialMediaButton>(painter);
    button->textureName = std::move(texture);
    button->onClick = [address = std::move(address)] { GetUrlOpener().Open(address); };
    return button;
}

} // namespace

const std::vector<std::pair<std::string, std::string>>& SocialMediaBox::SocialLinks()
{
    static const std::vector<std::pair<std::string, std::string>> links = {
        {"sm_twitter", ProjectPageAddress()},
        {"sm_facebook", ProjectPageAddress()},
        {"sm_tumblr", ProjectPageAddress()},
        {"sm_youtube", ProjectPageAddress()},
    };
    return links;
}

const std::string& SocialMediaBox::StorePageAddress()
{
    static const std::string address = ProjectPageAddress();
    return address;
}

const std::string& SocialMediaBox::SignUpPageAddress()
{
    static const std::string address = ProjectPageAddress();
    return address;
}

ScreenArea SocialMediaBox::Area(const Painter& painter)
{
    // As Update places them: both large buttons 4u wide and the row of small
    // ones end Gap left of the edge; the store button is the top, the small
    // buttons the bottom, m above the version line.
    const float u = painter.unitSize.x;
    const float m = painter.margin;
    const Vector2 corner = painter.GetAnchorPoint(BottomRight);
    const auto n = static_cast<float>(SocialLinks().size());
    ScreenArea area;
    area.left = corner.x - std::max(4.0f * u + Gap, n * u + n * Gap);
    area.top = corner.y - VersionLineTop - 3.0f * m - 5.0f * u;
    area.right = corner.x - Gap;
    area.bottom = corner.y - VersionLineTop - m;
    return area;
}

SocialMediaBox::SocialMediaBox(Painter* painter_) : BaseUIComponent(painter_)
{
    for (const auto& [texture, address] : SocialLinks())
        linkButtons.push_back(MakeButton(painter_, texture, address));
    storeButton = MakeButton(painter_, "steam", StorePageAddress());
    signUpButton = MakeButton(painter_, "subscribe", SignUpPageAddress());
}

SocialMediaBox::~SocialMediaBox() = default;

void SocialMediaBox::Update()
{
    const float u = painter->unitSize.x;
    const float m = painter->margin;
    const Vector2 corner = painter->GetAnchorPoint(BottomRight);
    const Vector2 largeSize(painter->unitSize.x * 4.0f, painter->unitSize.y * 2.0f);

    storeButton->position = corner + Vector2(-4.0f * u - Gap, -VersionLineTop - 3.0f * m - 5.0f * u);
    storeButton->size = largeSize;
    storeButton->Update();
    signUpButton->position = Vector2(storeButton->position.x, storeButton->position.y + 2.0f * u + m);
    signUpButton->size = largeSize;
    signUpButton->Update();

    const auto n = static_cast<float>(linkButtons.size());
    for (size_t i = 0; i < linkButtons.size(); ++i) {
        SocialMediaButton& button = *linkButtons[i];
        button.position = Vector2(corner.x - (n * u + n * Gap) + static_cast<float>(i) * (u + Gap),
                                  corner.y - VersionLineTop - m - u);
        button.size = painter->unitSize;
        button.Update();
    }
}

void SocialMediaBox::Draw()
{
    storeButton->Draw();
    signUpButton->Draw();
    for (const auto& button : linkButtons)
        button->Draw();
}

} // namespace mirefell
