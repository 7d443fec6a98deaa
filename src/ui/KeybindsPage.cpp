// KeybindsPage: the binding rows, "Revert to defaults" and "Back".
#include "ui/KeybindsPage.h"

#include "platform/Lookup.h"
#include "shell/KeybindManager.h"
#include "ui/MenuButton.h"
#include "ui/MenuPanel.h"

namespace mirefell
{

namespace
{
constexpr int32_t RowTextSize = 0;
constexpr float RowScale = 0.75f;
} // namespace

std::wstring GetBindingText(KeybindAction action)
{
    const KeybindManager& keys = KeybindManager::GetInstance();
    if (keys.capturing && keys.pendingAction == action)
        return L"???";
    const Keybind& binding = MapAt(keys.bindings, action);
    if (!binding.bound)
        return KeybindManager::NotBoundLabel;
    return KeybindManager::GetKeyName(binding);
}

std::unique_ptr<MenuPanel> BuildKeybindsPage(Painter* painter, MenuPanel* parent)
{
    auto page = MenuPanel::CreateWithAlignment(painter, parent->centred);
    page->Hide();
    page->textSize = RowTextSize;
    page->scaleText = false;
    page->rowScale = RowScale;

    for (const auto& [action, binding] : KeybindManager::GetInstance().bindings) {
        const KeybindAction rowAction = action;
        MenuButton* row = page->AddButton(L"", [rowAction] { KeybindManager::GetInstance().StartCapture(rowAction); });
        row->twoColumn = true;
        row->textProvider = [rowAction] { return GetBindingText(rowAction); };
        row->valueProvider = [rowAction] { return KeybindManager::GetActionLabel(rowAction); };
    }
    page->AddBlank();
    page->AddButton(L"Revert to defaults", [] {
        KeybindManager& keys = KeybindManager::GetInstance();
        keys.capturing = false;
        keys.ResetToDefaults();
    });
    page->AddBlank();
    MenuPanel* self = page.get();
    page->AddButton(L"Back", [self, parent] {
        self->SwitchTo(*parent);
        KeybindManager::GetInstance().capturing = false;
    });
    return page;
}

} // namespace mirefell
