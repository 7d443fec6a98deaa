#include "shell/KeybindManager.h"

#include <cstdio>

#include <boost/serialization/map.hpp>
#include <boost/serialization/utility.hpp>

#include "platform/Lookup.h"
#include "shell/BinaryArchive.h"
#include "shell/FileKeeping.h"
#include "shell/Input.h"

namespace mirefell
{

namespace
{

std::map<int32_t, std::wstring> BuildKeyNames()
{
    std::map<int32_t, std::wstring> names = {
        {0x08, L"BACKSPACE"}, {0x09, L"TAB"},  {0x0D, L"ENTER"},  {0x13, L"PAUSE"},  {0x14, L"CAPSLOCK"},
        {0x20, L"SPACE"},     {0x21, L"PGUP"}, {0x22, L"PGDOWN"}, {0x23, L"END"},    {0x24, L"HOME"},
        {0x25, L"LEFT"},      {0x26, L"UP"},   {0x27, L"RIGHT"},  {0x28, L"DOWN"},   {0x2D, L"INSERT"},
        {0x2E, L"DELETE"},    {0x6A, L"MUL"},  {0x6B, L"ADD"},    {0x6C, L"SEP"},    {0x6D, L"SUB"},
        {0x6E, L"DEC"},       {0x6F, L"DIV"},  {0xA0, L"LSHIFT"}, {0xA1, L"RSHIFT"}, {0xA2, L"LCTRL"},
        {0xA3, L"RCTRL"},     {0xA4, L"LALT"}, {0xA5, L"RALT"},
    };
    for (int i = 0; i <= 9; ++i) {
        names[Key0 + i] = std::wstring(1, static_cast<wchar_t>(L'0' + i));
        names[KeyNumpad0 + i] = L"NUM" + std::to_wstring(i);
    }
    for (int i = 0; i < 26; ++i)
        names[KeyA + i] = std::wstring(1, static_cast<wchar_t>(L'A' + i));
    for (int f = 2; f <= 24; ++f) // F1 is the profiler's key and stays unbindable
        names[KeyF1 + f - 1] = L"F" + std::to_wstring(f);
    return names;
}

} // namespace

KeybindManager& KeybindManager::GetInstance()
{
    struct Loaded : KeybindManager
    {
        Loaded() { Load(); }
    };
    static Loaded instance;
    return instance;
}

KeybindManager::KeybindManager(std::string path) : filePath(std::move(path)) {}

std::map<KeybindAction, Keybind> KeybindManager::ReadBindings(const std::string& name, const std::string& bytes)
{
    std::map<KeybindAction, Keybind> loaded;
    ReadArchiveBytes(name, bytes, [&](ArchiveReader& ar) { ar >> loaded; });
    for (const auto& [action, binding] : loaded) {
        const int32_t value = static_cast<int32_t>(action);
        if (value < FirstKeybindAction || value > LastKeybindAction)
            throw ArchiveError("invalid archive", name + ": unknown action " + std::to_string(value));
    }
    for (int32_t value = FirstKeybindAction; value <= LastKeybindAction; ++value)
        loaded.try_emplace(static_cast<KeybindAction>(value), Keybind{});
    return loaded;
}

std::map<KeybindAction, Keybind> KeybindManager::ReadBindingsFile(const std::string& path)
{
    const PlayerFile file = ReadPlayerFile(path, LargestFile);
    if (file.status != PlayerFile::Status::Read)
        throw ArchiveError("can't access file",
                           path + ": " + (file.status == PlayerFile::Status::Missing ? "no such file" : file.problem));
    return ReadBindings(path, file.bytes);
}

KeybindManager::~KeybindManager()
{
    Save();
}

void KeybindManager::Load()
{
    bindings = DefaultBindings();
    fileUntouchable = false;
    if (filePath.empty())
        return;
    const PlayerFile file = ReadPlayerFile(filePath, LargestFile);
    if (file.status == PlayerFile::Status::Missing)
        return;
    if (file.status == PlayerFile::Status::Unreadable) {
        // Whatever is there may be good: it is neither read nor replaced.
        fileUntouchable = true;
        std::fprintf(stderr,
                     "%s cannot be read (%s); using the default key bindings, and the file is left as it is until "
                     "the game starts again\n",
                     filePath.c_str(), file.problem.c_str());
        return;
    }
    try {
        bindings = ReadBindings(filePath, file.bytes);
    } catch (const ArchiveError& error) {
        // Keep what was there: the file may come from a newer game.
        const std::string backup = KeepBackupCopy(filePath, LargestFile);
        std::fprintf(stderr, "%s does not hold key bindings (%s); using the defaults%s\n", filePath.c_str(),
                     error.Describe().c_str(),
                     backup.empty() ? " (could not keep a copy)"
                                    : (" (the old file is kept as " + backup + ")").c_str());
    }
}

void KeybindManager::Save() const
{
    if (filePath.empty() || fileUntouchable)
        return;
    try {
        WriteArchiveFile(
            filePath, [&](ArchiveWriter& ar) { ar << bindings; }, LargestFile);
    } catch (const std::exception& error) {
        const auto* archiveError = dynamic_cast<const ArchiveError*>(&error);
        std::fprintf(stderr, "could not save the key bindings: %s\n",
                     archiveError ? archiveError->Describe().c_str() : error.what());
    }
}

void KeybindManager::ResetToDefaults()
{
    bindings = DefaultBindings();
    Save();
}

void KeybindManager::Reset(std::string path)
{
    filePath = std::move(path);
    capturing = false;
    waitForRelease = false;
    pendingAction = KeybindAction::Attack;
    Load();
}

void KeybindManager::StartCapture(KeybindAction action)
{
    waitForRelease = true;
    capturing = true;
    pendingAction = action;
}

void KeybindManager::CaptureRebind(Input& input)
{
    using ButtonState = Mouse::ButtonStateTracker::ButtonState;
    // A left button that went down again since the last step was released
    // in between: that click already counts.
    if (input.mouseTracker.leftButton == ButtonState::Released || input.mouseState.WentDown(MouseButton::Left))
        waitForRelease = false;
    if (!capturing || waitForRelease)
        return;
    if (input.keyboardState.IsKeyDown(KeyEscape)) {
        capturing = false;
        return;
    }
    for (int32_t key = 0; key < 255; ++key) {
        if (!input.keyboardState.IsKeyDown(key))
            continue;
        capturing = false;
        if (KeyNames().contains(key))
            Assign(pendingAction, Keybind::ForKey(key));
        return;
    }
    MouseButton button;
    if (input.mouseTracker.leftButton == ButtonState::Pressed) {
        button = MouseButton::Left;
        input.clickConsumed = true; // the click that binds does nothing else
    } else if (input.mouseTracker.middleButton == ButtonState::Pressed) {
        button = MouseButton::Middle;
    } else if (input.mouseTracker.rightButton == ButtonState::Pressed) {
        button = MouseButton::Right;
    } else {
        return;
    }
    capturing = false;
    Assign(pendingAction, Keybind::ForMouse(button));
}

void KeybindManager::Assign(KeybindAction action, const Keybind& binding)
{
    for (auto& [other, existing] : bindings) {
        if (!existing.bound || existing.device != binding.device)
            continue;
        const bool same = binding.device == KeybindDevice::Keyboard
                              ? existing.keyCode == binding.keyCode
                              : existing.leftButton == binding.leftButton &&
                                    existing.middleButton == binding.middleButton &&
                                    existing.rightButton == binding.rightButton;
        if (same)
            existing.bound = false;
    }
    bindings[action] = binding;
}

std::wstring KeybindManager::GetKeyName(const Keybind& binding)
{
    if (binding.device == KeybindDevice::Mouse) {
        if (binding.leftButton)
            return L"LMB";
        if (binding.middleButton)
            return L"MMB";
        if (binding.rightButton)
            return L"RMB";
    }
    const auto name = KeyNames().find(binding.keyCode);
    if (name == KeyNames().end())
        return L"KEY " + std::to_wstring(static_cast<int32_t>(binding.keyCode));
    return name->second;
}

const std::wstring& KeybindManager::GetActionLabel(KeybindAction action)
{
    return MapAt(ActionLabels(), action);
}

std::wstring KeybindManager::GetUseKeyLabel() const
{
    const Keybind& use = MapAt(bindings, KeybindAction::Use);
    // An unbound action keeps the key it had, which may now do something
    // else: naming it would send the player to the wrong key.
    return L"[" + (use.bound ? GetKeyName(use) : std::wstring(NotBoundLabel)) + L"]";
}

const std::map<KeybindAction, Keybind>& KeybindManager::DefaultBindings()
{
    static const std::map<KeybindAction, Keybind> defaults = {
        {KeybindAction::Attack, Keybind::ForMouse(MouseButton::Left)},
        {KeybindAction::MoveForward, Keybind::ForKey('W')},
        {KeybindAction::MoveBackward, Keybind::ForKey('S')},
        {KeybindAction::StrafeLeft, Keybind::ForKey('A')},
        {KeybindAction::StrafeRight, Keybind::ForKey('D')},
        {KeybindAction::Inventory, Keybind::ForKey(KeyTab)},
        {KeybindAction::Use, Keybind::ForKey('E')},
        {KeybindAction::Block, Keybind::ForMouse(MouseButton::Right)},
        {KeybindAction::UseAntiGravBoots, Keybind::ForKey(KeySpace)},
        {KeybindAction::Sledgehammer, Keybind::ForKey('1')},
        {KeybindAction::DoubleShotgun, Keybind::ForKey('2')},
        {KeybindAction::HyperBlaster, Keybind::ForKey('3')},
        {KeybindAction::RocketLauncher, Keybind::ForKey('4')},
    };
    return defaults;
}

const std::map<int32_t, std::wstring>& KeybindManager::KeyNames()
{
    static const std::map<int32_t, std::wstring> names = BuildKeyNames();
    return names;
}

const std::map<KeybindAction, std::wstring>& KeybindManager::ActionLabels()
{
    static const std::map<KeybindAction, std::wstring> labels = {
        {KeybindAction::Attack, L"Attack"},
        {KeybindAction::MoveForward, L"Move forward"},
        {KeybindAction::MoveBackward, L"Move backward"},
        {KeybindAction::StrafeLeft, L"Strafe left"},
        {KeybindAction::StrafeRight, L"Strafe right"},
        {KeybindAction::Inventory, L"Inventory"},
        {KeybindAction::Use, L"Use"},
        {KeybindAction::Block, L"Block"},
        {KeybindAction::UseAntiGravBoots, L"Use Anti-Grav boots"},
        {KeybindAction::Sledgehammer, L"Sledgehammer"},
        {KeybindAction::DoubleShotgun, L"Double Shotgun"},
        {KeybindAction::HyperBlaster, L"HyperBlaster"},
        {KeybindAction::RocketLauncher, L"Rocket Launcher"},
    };
    return labels;
}

} // namespace mirefell
