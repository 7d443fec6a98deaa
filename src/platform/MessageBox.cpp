#include "platform/MessageBox.h"

#include <SDL.h>

namespace mirefell
{

void ShowErrorMessageBox(const std::string& title, const std::string& message)
{
    // Works before and after SDL's own start-up; fails quietly without a
    // display (the message is already on stderr then).
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), nullptr);
}

} // namespace mirefell
