#pragma once
// Tables from SDL's keys and cursors to the window system's virtual keys,
// scan codes and standard cursors.

#include <cstdint>

#include "platform/winsys/WinTypes.h"

namespace tarvel {

struct VirtualKey {
    UINT vk = 0;        // 0: a key with no virtual key here (its text still arrives)
    UINT scanCode = 0;  // the PC keyboard's code, for bits 16-23 of the key data
};

// `sym` is an SDL_Keycode, `mod` SDL's modifier bits (num lock turns the
// keypad digits into digits).
VirtualKey VirtualKeyOf(int32_t sym, uint16_t mod);

// An SDL_SystemCursor for a standard cursor (IDC_*); -1 for none known.
int SystemCursorOf(int standardCursor);

}  // namespace tarvel
