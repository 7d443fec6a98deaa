#include "gameplay/CheatCodeInput.h"

#include <array>
#include <map>
#include <string_view>

#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "shell/INotificationService.h"
#include "shell/Input.h"

namespace mirefell
{

namespace
{

enum class Cheat
{
    Fly,
    Noclip,
    GodMode,
    Finish,
    GiveAll,
    Face,
};

struct CheatCode
{
    std::wstring_view code;
    Cheat cheat;
};

// In the order of comparison.
constexpr std::array<CheatCode, 6> Codes = {{
    {L"kwzyp", Cheat::Fly},
    {L"trubnelk", Cheat::Noclip},
    {L"pozim", Cheat::GodMode},
    {L"dralu", Cheat::Finish},
    {L"vestombra", Cheat::GiveAll},
    {L"zupfa", Cheat::Face},
}};

// The letter keys "A" to "Z" (virtual-key codes 65 to 90) and the lower-case
// letters they type.
const std::map<int32_t, wchar_t>& LetterKeys()
{
    static const std::map<int32_t, wchar_t> letters = [] {
        std::map<int32_t, wchar_t> made;
        for (int32_t key = 'A'; key <= 'Z'; ++key)
            made[key] = static_cast<wchar_t>(key - 'A' + 'a');
        return made;
    }();
    return letters;
}

void Notify(const wchar_t* text)
{
    GetNotificationService().Notify(text, CheatCodeInput::MessageSteps);
}

} // namespace

CheatCodeInput::CheatCodeInput(Player* player_) : player(player_)
{
    typed.reserve(MaxLetters);
}

void CheatCodeInput::Update()
{
    const GameSave& save = GameSaveManager::GetInstance().current;
    if (save.difficulty == GameDifficulty::Masochistic || save.permadeath)
        return;
    ReadKeys();
    for (size_t i = 0; i < Codes.size(); ++i) {
        if (typed == Codes[i].code) {
            Apply(i);
            Clear();
            return;
        }
    }
}

void CheatCodeInput::ReadKeys()
{
    if (idleStepsLeft > 0 && --idleStepsLeft == 0)
        Clear();
    // Letters that went down in this step, in the order they were typed: at
    // a slow frame several arrive together.
    const std::map<int32_t, wchar_t>& letters = LetterKeys();
    for (const uint8_t key : Input::GetInstance().keyboardTracker.PressedInOrder()) {
        const auto letter = letters.find(key);
        if (letter != letters.end() && typed.size() < MaxLetters) {
            typed.push_back(letter->second);
            idleStepsLeft = IdleSteps;
        }
    }
}

void CheatCodeInput::Clear()
{
    typed.clear();
    idleStepsLeft = IdleSteps;
}

void CheatCodeInput::Apply(size_t index)
{
    GameSave& save = GameSaveManager::GetInstance().current;
    WeaponView& view = *player->weaponView;
    switch (Codes[index].cheat) {
    case Cheat::Fly:
        player->fly = !player->fly;
        if (player->controller)
            player->controller->flying = player->fly;
        view.bobEnabled = !player->fly;
        view.headBobEnabled = !player->fly;
        Notify(player->fly ? L"fly mode enabled" : L"fly mode disabled");
        save.cheater = true;
        break;
    case Cheat::Noclip:
        player->noclip = !player->noclip;
        Notify(player->noclip ? L"noclip enabled" : L"noclip disabled");
        save.cheater = true;
        break;
    case Cheat::GodMode:
        player->godMode = !player->godMode;
        Notify(player->godMode ? L"godmode enabled" : L"godmode disabled");
        save.cheater = true;
        break;
    case Cheat::Finish:
        if (player->dead)
            break; // no level is completed from death
        save.cheater = true;
        player->CompleteLevel();
        break;
    case Cheat::GiveAll:
        Notify(L"there you go");
        player->GiveAllItems();
        save.cheater = true;
        break;
    case Cheat::Face:
        view.face = !view.face;
        Notify(view.face ? L":D" : L":(");
        break;
    }
}

} // namespace mirefell
