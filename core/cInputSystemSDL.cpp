// Button sampling, and the SDL keyboard as a key source.
#include "core/cInputSystemSDL.h"

#include <SDL.h>

#include <array>
#include <cstdlib>

namespace qvr {

namespace {

struct cKeyBinding {
    eInputKey key;
    int32_t slot;          // -1: not a button
    SDL_Scancode scancode;
};

// In the order keys are queried; Escape ends the sample where it comes.
const cKeyBinding kBindings[] = {
    {kKeyLeft, 0, SDL_SCANCODE_LEFT},   {kKeyRight, 1, SDL_SCANCODE_RIGHT},
    {kKeyUp, 2, SDL_SCANCODE_UP},       {kKeyDown, 3, SDL_SCANCODE_DOWN},
    {kKeySpace, 6, SDL_SCANCODE_SPACE}, {kKeyZ, 7, SDL_SCANCODE_Z},
    {kKeyEscape, -1, SDL_SCANCODE_ESCAPE}, {kKeyX, 9, SDL_SCANCODE_X},
    {kKey2, 4, SDL_SCANCODE_2},         {kKey3, 5, SDL_SCANCODE_3},
    {kKeyF1, 8, SDL_SCANCODE_F1},       {kKeyF3, 11, SDL_SCANCODE_F3},
};

std::array<bool, SDL_NUM_SCANCODES>& keyLatch()
{
    static std::array<bool, SDL_NUM_SCANCODES> latch{};
    return latch;
}

class cSdlKeySource : public cKeySource {
public:
    bool queryKey(eInputKey key) override
    {
        for (const cKeyBinding& binding : kBindings) {
            if (binding.key == key) {
                int count = 0;
                const Uint8* held = SDL_GetKeyboardState(&count);
                bool& latched = keyLatch()[binding.scancode];
                const bool down = (binding.scancode < count && held[binding.scancode]) || latched;
                latched = false;
                return down;
            }
        }
        return false;
    }
};

} // namespace

cKeySource& getKeyboardKeySource()
{
    static cSdlKeySource source;
    return source;
}

cInputSystemSDL::cInputSystemSDL(cKeySource* source) : mSource(source ? source : &getKeyboardKeySource())
{
}

void cInputSystemSDL::poll()
{
    for (int32_t slot = 0; slot < kSlots; ++slot) {
        mPrevious[slot] = mCurrent[slot];
        mCurrent[slot] = 0;
    }
    for (const cKeyBinding& binding : kBindings) {
        if (!mSource->queryKey(binding.key)) {
            continue;
        }
        if (binding.key == kKeyEscape) {
            std::exit(1);
        }
        mCurrent[binding.slot] = 1;
    }
}

cInputSystem& getInputSystem()
{
    static cInputSystemSDL* input = new cInputSystemSDL();
    return *input;
}

void latchKeyDown(int32_t scancode)
{
    if (scancode >= 0 && scancode < SDL_NUM_SCANCODES) {
        keyLatch()[static_cast<size_t>(scancode)] = true;
    }
}

} // namespace qvr
