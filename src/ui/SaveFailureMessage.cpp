// SaveFailureMessage: the report's cause, found by the system's words for it.
#include "ui/SaveFailureMessage.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "gameplay/GameSaveManager.h"
#include "shell/BinaryArchive.h"

namespace mirefell
{

namespace
{

constexpr const wchar_t* Opening = L"The game could not be saved: ";
// The longest cause given in the system's words: the whole message must fit
// one line of the HUD's messages left of the level clock at 800 x 600.
constexpr size_t LongestReason = 30;

// The reports quote the system's message for the error (strerror, or the
// same text through std::error_code), in this process's language.
bool Says(const std::string& report, std::initializer_list<int> errors)
{
    for (const int error : errors)
        if (report.find(std::strerror(error)) != std::string::npos)
            return true;
    return false;
}

// The last reason in the report ("...: No such device)" gives "no such
// device"), printable ASCII only: the message font has nothing else. Empty
// when there is none, or none short enough.
std::wstring LastReason(const std::string& report)
{
    std::string reason = report;
    const size_t colon = reason.rfind(": ");
    if (colon != std::string::npos)
        reason.erase(0, colon + 2);
    while (!reason.empty() && (reason.back() == ')' || reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    std::wstring wide;
    for (const char c : reason)
        wide += c >= ' ' && c <= '~' ? static_cast<wchar_t>(c) : L'?';
    if (wide.size() > LongestReason)
        return {};
    if (!wide.empty() && wide[0] >= L'A' && wide[0] <= L'Z')
        wide[0] = static_cast<wchar_t>(wide[0] - L'A' + L'a');
    return wide;
}

} // namespace

std::wstring SaveFailureMessage(const std::string& report)
{
    std::wstring why;
    if (Says(report, {ENOSPC, EDQUOT}))
        why = L"the disk is full";
    else if (Says(report, {EROFS}))
        why = L"the disk is read-only";
    else if (Says(report, {EACCES, EPERM}))
        why = L"the game folder is read-only";
    else if (Says(report, {EIO}))
        why = L"the disk reported an error";
    else if (Says(report, {EEXIST, ENOTDIR}))
        why = L"a file blocks the save folder";
    else if (report.find(MoreThanItsReaderTakes) != std::string::npos)
        why = L"the save is too large to load";
    else if (report.find(GameSaveManager::NotASaveNotKept) != std::string::npos)
        why = L"its slot holds a damaged file";
    else if (report.find(GameSaveManager::NoBackupName) != std::string::npos)
        why = L"the slot's old game can't be kept";
    else
        why = LastReason(report);
    if (why.empty())
        why = L"the system refused to write it";
    return Opening + why + L".";
}

} // namespace mirefell
