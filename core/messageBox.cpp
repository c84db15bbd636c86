// Message boxes through SDL, which opens its own connection to the display.
#include "core/messageBox.h"

#include <SDL.h>

namespace qvr {

bool showMessage(const char* text, const char* caption)
{
    return SDL_ShowSimpleMessageBox(0, caption, text, nullptr) == 0;
}

bool askYesNo(const char* text, const char* caption)
{
    enum { kNo = 0, kYes = 1 };
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNo, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.title = caption;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = buttons;
    int pressed = kNo;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        return false;
    }
    return pressed == kYes;
}

} // namespace qvr
