// The widget base: the half-open hit test and what it stores, SetVisible
// through a widget's own Show and Hide, and children in the order added.
#include <gtest/gtest.h>

#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{
namespace
{

class Box final : public BaseUIComponent
{
public:
    explicit Box(std::string* log_ = nullptr, char name_ = ' ') : BaseUIComponent(nullptr), log(log_), name(name_) {}
    Vector2 GetPosition() override { return {10.0f, 20.0f}; }
    Vector2 GetSize() override { return {30.0f, 40.0f}; }
    void Draw() override { *log += name; }
    void Hide() override
    {
        BaseUIComponent::Hide();
        ++hides;
    }
    std::string* log;
    char name;
    int hides = 0;
};

Mouse::State At(int32_t x, int32_t y)
{
    Mouse::State state;
    state.x = x;
    state.y = y;
    return state;
}

TEST(BaseUIComponent, TheHitTestTakesTheLeftAndTopEdgesButNotTheRightAndBottom)
{
    Box box;
    EXPECT_TRUE(box.HitTestMouse(At(10, 20)));
    EXPECT_EQ(box.mouseOffset, Vector2(0.0f, 0.0f));
    EXPECT_TRUE(box.HitTestMouse(At(39, 59)));
    EXPECT_EQ(box.mouseOffset, Vector2(29.0f, 39.0f));

    // A miss stores the position but keeps the last offset.
    EXPECT_FALSE(box.HitTestMouse(At(40, 30)));
    EXPECT_FALSE(box.HitTestMouse(At(15, 60)));
    EXPECT_EQ(box.mousePosition, Vector2(15.0f, 60.0f));
    EXPECT_EQ(box.mouseOffset, Vector2(29.0f, 39.0f));
    EXPECT_TRUE(box.IsMouseInRect({0.0f, 50.0f}, {16.0f, 11.0f}));

    // A plain component has no rectangle and is never hit.
    BaseUIComponent plain(nullptr);
    EXPECT_FALSE(plain.HitTestMouse(At(0, 0)));
}

TEST(BaseUIComponent, APlainComponentDrawsItsChildrenInOrderWhateverItsFlagSays)
{
    std::string log;
    BaseUIComponent parent(nullptr);
    parent.AddChild(std::make_unique<Box>(&log, 'a'));
    parent.AddChild(std::make_unique<Box>(&log, 'b'));
    parent.visible = false;
    parent.Draw();
    EXPECT_EQ(log, "ab");

    // SetVisible runs the widget's own Hide.
    auto& child = static_cast<Box&>(*parent.children[0]);
    child.SetVisible(false);
    EXPECT_EQ(child.hides, 1);
    EXPECT_FALSE(child.IsVisible());
}

} // namespace
} // namespace mirefell
