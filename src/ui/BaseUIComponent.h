// BaseUIComponent: the base of every widget, HUD element, menu, menu row and
// screen. It carries what all of them share: the Painter they draw with (not
// owned), the level's World they read game state from (null until
// Initialize), a visible and a hovered flag, the mouse position seen by the
// last hit test and the offset of that position inside the component, and
// the child components it owns.
//
// The class is concrete: a plain component is a container that initialises,
// updates and draws its children in the order they were added. No base
// operation looks at the visible flag; each widget decides in its own Update
// and Draw whether it is shown. A widget that overrides Update or Draw and
// still wants its children handled calls the base operation itself.
//
// Calling order: constructed by its owner's maker, Initialize once with the
// level's World before the first Update (widgets that never read the world,
// such as the menus and the mouse cursor, are never initialised), then
// Update once per step and Draw once per frame (inside the painter's sprite
// batch) while the owner runs it. Window thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/Mouse.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Painter;
class World;

class BaseUIComponent
{
public:
    explicit BaseUIComponent(Painter* painter_);
    virtual ~BaseUIComponent();
    BaseUIComponent(const BaseUIComponent&) = delete;
    BaseUIComponent& operator=(const BaseUIComponent&) = delete;

    // Stores the context, then initialises every child with it.
    virtual void Initialize(World* context_);
    // Every child's Update, in order.
    virtual void Update();
    // Every child's Draw, in order.
    virtual void Draw();
    virtual void Show();
    virtual void Hide();
    // Show or Hide through the virtual operations, so a widget's own runs.
    void SetVisible(bool visible_);
    bool IsVisible() const { return visible; }
    // The component's top-left corner and size in pixels; (0, 0) for both
    // here, so a plain component is never hit.
    virtual Vector2 GetPosition();
    virtual Vector2 GetSize();
    // Stores the mouse position; true when it lies in the component's
    // rectangle (left and top edges inside, right and bottom outside), and
    // then also stores the offset from the top-left corner.
    bool HitTestMouse(const Mouse::State& mouse);
    // The same half-open test of the stored mouse position against any
    // rectangle; stores nothing.
    bool IsMouseInRect(Vector2 position, Vector2 size) const;
    void ResetHover() { hovered = false; }
    // The component owns the child from now on.
    void AddChild(std::unique_ptr<BaseUIComponent> child);

    Painter* const painter;
    World* context = nullptr;
    bool visible = true;
    bool hovered = false;
    Vector2 mousePosition;
    Vector2 mouseOffset;
    std::vector<std::unique_ptr<BaseUIComponent>> children;
};

} // namespace mirefell
