// BaseUIComponent: the widget protocol's base operations.
#include "ui/BaseUIComponent.h"

namespace mirefell
{

BaseUIComponent::BaseUIComponent(Painter* painter_) : painter(painter_) {}

BaseUIComponent::~BaseUIComponent() = default;

void BaseUIComponent::Initialize(World* context_)
{
    context = context_;
    for (const auto& child : children)
        child->Initialize(context_);
}

void BaseUIComponent::Update()
{
    for (const auto& child : children)
        child->Update();
}

void BaseUIComponent::Draw()
{
    for (const auto& child : children)
        child->Draw();
}

void BaseUIComponent::Show()
{
    visible = true;
}

void BaseUIComponent::Hide()
{
    visible = false;
}

void BaseUIComponent::SetVisible(bool visible_)
{
    if (visible_)
        Show();
    else
        Hide();
}

Vector2 BaseUIComponent::GetPosition()
{
    return {};
}

Vector2 BaseUIComponent::GetSize()
{
    return {};
}

bool BaseUIComponent::HitTestMouse(const Mouse::State& mouse)
{
    mousePosition = Vector2(static_cast<float>(mouse.x), static_cast<float>(mouse.y));
    const Vector2 position = GetPosition();
    if (!IsMouseInRect(position, GetSize()))
        return false;
    mouseOffset = mousePosition - position;
    return true;
}

bool BaseUIComponent::IsMouseInRect(Vector2 position, Vector2 size) const
{
    return position.x <= mousePosition.x && mousePosition.x < position.x + size.x && position.y <= mousePosition.y &&
           mousePosition.y < position.y + size.y;
}

void BaseUIComponent::AddChild(std::unique_ptr<BaseUIComponent> child)
{
    children.push_back(std::move(child));
}

} // namespace mirefell
