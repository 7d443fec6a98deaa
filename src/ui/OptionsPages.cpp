// OptionsPages: the rows of the options tree and what each change reaches.
#include "ui/OptionsPages.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>

#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "render/Camera.h"
#include "render/PostFXChain.h"
#include "shell/Config.h"
#include "shell/Helpers.h"
#include "shell/SettingRanges.h"
#include "shell/SoundManager.h"
#include "shell/TitleSubPageFlag.h"
#include "ui/HudState.h"
#include "ui/KeybindsPage.h"
#include "ui/MenuButton.h"
#include "ui/MenuPanel.h"
#include "ui/MenuSlider.h"
#include "ui/MenuToggle.h"

namespace mirefell
{

namespace
{

constexpr float MouseSensitivityStep = 0.05f;
constexpr float VolumeStep = 0.1f;
constexpr float BrightnessStep = 0.0025f;
constexpr float ContrastStep = 0.0025f;
constexpr float FovStep = 5.0f;
constexpr int32_t SsaoStep = 1;
constexpr int32_t BloodDecalsStep = 100;
constexpr double VolumeScale = 10.0; // the pages show volumes from 0 to 10

Settings& Current()
{
    return Config::GetInstance().settings;
}
Settings& Pending()
{
    return Config::GetInstance().pending;
}

// Adds `step` to the field, then clamps it to its range. The file may hold
// a value far beyond the range (an "ssao" of 2147483647): the sum is taken
// wide enough not to overflow, so such a value steps to the nearer limit
// as the clamp says.
template <class T> void Step(T& field, T step, const SettingRange<T>& range)
{
    if constexpr (std::is_integral_v<T>) {
        const int64_t sum = static_cast<int64_t>(field) + step;
        field = static_cast<T>(std::clamp<int64_t>(sum, range.lowest, range.highest));
    } else {
        field = range.Clamp(static_cast<T>(field + step));
    }
}

std::unique_ptr<MenuPanel> MakePage(Painter* painter, const MenuPanel* parent)
{
    auto page = MenuPanel::CreateWithAlignment(painter, parent->centred);
    page->Hide();
    return page;
}

// A page switch from `page` to `target`, through a button on `page`.
void AddPageButton(MenuPanel& page, std::wstring caption, MenuPanel* target, std::function<void()> before = {})
{
    MenuPanel* self = &page;
    page.AddButton(std::move(caption), [self, target, before = std::move(before)] {
        if (before)
            before();
        self->SwitchTo(*target);
    });
}

// "Back" to the parent page, after `before`.
void AddBack(MenuPanel& page, MenuPanel* parent, std::function<void()> before = {})
{
    AddPageButton(page, L"Back", parent, std::move(before));
}

// A toggle that flips one field of a settings record.
MenuToggle* AddFlag(MenuPanel& page, std::wstring caption, bool Settings::*field, Settings& (*record)(),
                    std::function<void()> after = {})
{
    return page.AddToggle(
        std::move(caption), [field, record] { return record().*field; },
        [field, record, after = std::move(after)] {
            record().*field = !(record().*field);
            if (after)
                after();
        });
}

// A slider over one field of the current settings: each click adds or
// takes away `step`, clamps to `range`, then runs `after` when given.
template <class T>
MenuSlider* AddStepSlider(MenuPanel& page, std::wstring caption, std::function<std::wstring()> valueText,
                          T Settings::*field, T step, SettingRange<T> range, void (*after)() = nullptr)
{
    const auto stepBy = [field, range, after](T amount) {
        Step(Current().*field, amount, range);
        if (after)
            after();
    };
    return page.AddSlider(
        std::move(caption), std::move(valueText), [stepBy, step] { stepBy(static_cast<T>(-step)); },
        [stepBy, step] { stepBy(step); });
}

// A volume on the page's scale, in whole steps. Taken as a double: the file
// may hold any finite float, and ten times the largest is none.
std::wstring VolumeText(float volume)
{
    std::wostringstream text;
    text << std::fixed << std::setprecision(0) << volume * VolumeScale;
    return text.str();
}

// The mouse settings reach the running level's player at once.
void PushMouseSettings()
{
    const Settings& settings = Current();
    Player* player = PlayerOf(Config::GetInstance().world);
    if (!player || !player->controller)
        return;
    player->controller->sensitivity = settings.mouseSensitivity;
    player->controller->invertY = settings.mouseInvertY;
}

// The field of view reaches the main camera at once, clamped or not.
void PushFieldOfView()
{
    if (Camera* camera = Config::GetInstance().camera) {
        camera->fieldOfView = Current().fov;
        camera->UpdateProjection();
    }
}

// A quality of 0 to 3 reaches the post chain at once; "off" needs nothing:
// the renderer skips the occlusion while the setting is negative.
void PushSsaoQuality()
{
    if (Current().ssao < 0)
        return;
    if (PostFXChain* postFX = Config::GetInstance().postFX)
        postFX->UpdateSsaoSettings();
}

} // namespace

void ResetPendingDisplaySettings()
{
    Config& config = Config::GetInstance();
    config.pending.screenWidth = config.settings.screenWidth;
    config.pending.screenHeight = config.settings.screenHeight;
    config.pending.windowed = config.settings.windowed;
    config.pending.borderless = config.settings.borderless;
    config.displayDirty = false;
}

void StepPendingResolution(int32_t direction)
{
    Config& config = Config::GetInstance();
    const auto count = static_cast<int32_t>(config.displayModes.size());
    if (count == 0)
        return; // nothing to choose from: the pending size stays as it is
    int32_t index = config.GetDisplayModeIndex() + direction;
    if (index < 0)
        index = count - 1;
    else if (index >= count)
        index = 0;
    const DisplaySize& mode = config.displayModes[static_cast<size_t>(index)];
    config.pending.screenWidth = static_cast<int32_t>(mode.width);
    config.pending.screenHeight = static_cast<int32_t>(mode.height);
    config.displayDirty = true;
}

std::wstring SsaoQualityText(int32_t ssao)
{
    if (ssao < 0)
        return L"off"; // the renderer skips the occlusion for every negative value
    switch (ssao) {
    case 0:
        return L"low";
    case 1:
        return L"medium";
    case 2:
        return L"high";
    case 3:
        return L"max";
    default:
        return L"";
    }
}

std::unique_ptr<MenuPanel> BuildOptionsPage(Painter* painter, MenuPanel* parent, bool bloodDecalsEditable)
{
    auto page = MakePage(painter, parent);
    MenuPanel* self = page.get();
    auto controls = BuildControlsPage(painter, self);
    auto gameplay = BuildGameplayPage(painter, self);
    auto audio = BuildAudioPage(painter, self);
    auto display = BuildDisplayPage(painter, self);
    auto graphics = BuildGraphicsPage(painter, self, bloodDecalsEditable);
    const struct
    {
        const wchar_t* caption;
        std::unique_ptr<MenuPanel>& target;
        void (*before)();
    } buttons[] = {{L"Controls", controls, nullptr},
                   {L"Gameplay", gameplay, nullptr},
                   {L"Audio", audio, nullptr},
                   {L"Display", display, &ResetPendingDisplaySettings},
                   {L"Graphics", graphics, nullptr}};
    for (const auto& button : buttons) {
        MenuPanel* target = button.target.get();
        page->AddSubPage(std::move(button.target));
        AddPageButton(*page, button.caption, target, button.before);
    }
    page->AddBlank();
    AddBack(*page, parent, [] { titleSubPageOpen = false; });
    return page;
}

std::unique_ptr<MenuPanel> BuildControlsPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    auto keybinds = BuildKeybindsPage(painter, page.get());
    MenuPanel* keybindsPage = keybinds.get();
    page->AddSubPage(std::move(keybinds));

    AddPageButton(*page, L"Modify keybinds", keybindsPage);
    page->AddBlank();
    AddStepSlider(
        *page, L"Mouse sensitivity", [] { return FloatToWString(Current().mouseSensitivity, 2); },
        &Settings::mouseSensitivity, MouseSensitivityStep, MouseSensitivityRange, &PushMouseSettings);
    AddFlag(*page, L"Mouse invert Y", &Settings::mouseInvertY, &Current, &PushMouseSettings);
    page->AddBlank();
    AddBack(*page, parent);
    return page;
}

std::unique_ptr<MenuPanel> BuildGameplayPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    AddFlag(*page, L"Show HUD", &Settings::showHud, &Current);
    AddFlag(*page, L"Show level timer", &Settings::showLevelTimer, &Current);
    page->AddBlank();
    AddBack(*page, parent);
    return page;
}

std::unique_ptr<MenuPanel> BuildAudioPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    // Each sound is played at the volume of its moment; only the music that
    // already plays needs telling.
    AddStepSlider(
        *page, L"Sound volume", [] { return VolumeText(Current().soundVolume); }, &Settings::soundVolume, VolumeStep,
        VolumeRange);
    AddStepSlider(
        *page, L"Music volume", [] { return VolumeText(Current().musicVolume); }, &Settings::musicVolume, VolumeStep,
        VolumeRange, [] { SoundManager::GetInstance().ApplyMusicVolume(); });
    page->AddBlank();
    AddBack(*page, parent);
    return page;
}

std::unique_ptr<MenuPanel> BuildDisplayPage(Painter* painter, MenuPanel* parent)
{
    auto page = MakePage(painter, parent);
    const auto markDirty = [] { Config::GetInstance().displayDirty = true; };

    MenuSlider* resolution = page->AddSlider(
        L"Screen resolution",
        [] { return std::to_wstring(Pending().screenWidth) + L"x" + std::to_wstring(Pending().screenHeight); },
        [] { StepPendingResolution(-1); }, [] { StepPendingResolution(+1); });
    resolution->wideValue = true;
    resolution->isDisabled = [] { return Pending().windowed && Pending().borderless; };
    AddFlag(*page, L"Windowed", &Settings::windowed, &Pending, markDirty);
    AddFlag(*page, L"Borderless window", &Settings::borderless, &Pending, markDirty)->isDisabled = [] {
        return !Pending().windowed;
    };
    page->AddButton(L"Apply change", [] { Config::GetInstance().ApplyDisplaySettings(); })->isDisabled = [] {
        return !Config::GetInstance().displayDirty;
    };
    page->AddBlank();
    AddStepSlider(
        *page, L"Brightness", [] { return FloatToWString(Current().brightness, 3); }, &Settings::brightness,
        BrightnessStep, BrightnessRange);
    AddStepSlider(
        *page, L"Contrast", [] { return FloatToWString(Current().contrast, 3); }, &Settings::contrast, ContrastStep,
        ContrastRange);
    AddStepSlider(
        *page, L"Field of view", [] { return FloatToWString(Current().fov, 0); }, &Settings::fov, FovStep, FovRange,
        &PushFieldOfView);
    AddFlag(*page, L"Vertical sync", &Settings::vsync, &Current);
    AddFlag(*page, L"Frame limiter", &Settings::frameLimiter, &Current)->isDisabled = [] { return Current().vsync; };
    page->AddBlank();
    AddBack(*page, parent, &ResetPendingDisplaySettings);
    return page;
}

std::unique_ptr<MenuPanel> BuildGraphicsPage(Painter* painter, MenuPanel* parent, bool bloodDecalsEditable)
{
    auto page = MakePage(painter, parent);
    AddStepSlider(
        *page, L"Adaptive SSAO", [] { return SsaoQualityText(Current().ssao); }, &Settings::ssao, SsaoStep, SsaoRange,
        &PushSsaoQuality)
        ->wideValue = true;
    AddFlag(*page, L"Bloom", &Settings::bloom, &Current);
    AddFlag(*page, L"FXAA", &Settings::fxaa, &Current);
    AddStepSlider(
        *page, L"Blood decals", [] { return std::to_wstring(Current().maxBloodDecals); }, &Settings::maxBloodDecals,
        BloodDecalsStep, BloodDecalsRange)
        ->isDisabled = [bloodDecalsEditable] { return !bloodDecalsEditable; };
    page->AddBlank();
    AddBack(*page, parent);
    return page;
}

} // namespace mirefell
