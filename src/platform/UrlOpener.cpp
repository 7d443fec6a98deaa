#include "platform/UrlOpener.h"

#include <SDL.h>

namespace mirefell
{

void SystemUrlOpener::Open(const std::string& url)
{
    // A failure (no handler for the address, no desktop) is ignored: the
    // button simply does nothing.
    SDL_OpenURL(url.c_str());
}

namespace
{
SystemUrlOpener systemOpener;
IUrlOpener* currentOpener = &systemOpener;
} // namespace

IUrlOpener& GetUrlOpener()
{
    return *currentOpener;
}

void SetUrlOpener(IUrlOpener* opener)
{
    currentOpener = opener ? opener : &systemOpener;
}

} // namespace mirefell
