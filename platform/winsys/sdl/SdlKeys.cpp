#include "platform/winsys/sdl/SdlKeys.h"

#include <SDL2/SDL.h>

#include <cstring>

#include "platform/winsys/WinConstants.h"

namespace tarvel {

namespace {

struct KeyRow {
    SDL_Keycode sym;
    UINT vk;
    UINT scanCode;
};

// Keys other than letters, digits and function keys. Scan codes are the PC
// keyboard's (set 1); the extended keys share their codes with the keypad.
const KeyRow kKeys[] = {
    {SDLK_RETURN, VK_RETURN, 0x1C},
    {SDLK_ESCAPE, VK_ESCAPE, 0x01},
    {SDLK_BACKSPACE, VK_BACK, 0x0E},
    {SDLK_TAB, VK_TAB, 0x0F},
    {SDLK_SPACE, VK_SPACE, 0x39},
    {SDLK_MINUS, VK_OEM_MINUS, 0x0C},
    {SDLK_EQUALS, VK_OEM_PLUS, 0x0D},
    {SDLK_LEFTBRACKET, VK_OEM_4, 0x1A},
    {SDLK_RIGHTBRACKET, VK_OEM_6, 0x1B},
    {SDLK_BACKSLASH, VK_OEM_5, 0x2B},
    {SDLK_SEMICOLON, VK_OEM_1, 0x27},
    {SDLK_QUOTE, VK_OEM_7, 0x28},
    {SDLK_BACKQUOTE, VK_OEM_3, 0x29},
    {SDLK_COMMA, VK_OEM_COMMA, 0x33},
    {SDLK_PERIOD, VK_OEM_PERIOD, 0x34},
    {SDLK_SLASH, VK_OEM_2, 0x35},
    {SDLK_CAPSLOCK, VK_CAPITAL, 0x3A},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT, 0x37},
    {SDLK_SCROLLLOCK, VK_SCROLL, 0x46},
    {SDLK_PAUSE, VK_PAUSE, 0x45},
    {SDLK_INSERT, VK_INSERT, 0x52},
    {SDLK_HOME, VK_HOME, 0x47},
    {SDLK_PAGEUP, VK_PRIOR, 0x49},
    {SDLK_DELETE, VK_DELETE, 0x53},
    {SDLK_END, VK_END, 0x4F},
    {SDLK_PAGEDOWN, VK_NEXT, 0x51},
    {SDLK_RIGHT, VK_RIGHT, 0x4D},
    {SDLK_LEFT, VK_LEFT, 0x4B},
    {SDLK_DOWN, VK_DOWN, 0x50},
    {SDLK_UP, VK_UP, 0x48},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK, 0x45},
    {SDLK_KP_DIVIDE, VK_DIVIDE, 0x35},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY, 0x37},
    {SDLK_KP_MINUS, VK_SUBTRACT, 0x4A},
    {SDLK_KP_PLUS, VK_ADD, 0x4E},
    {SDLK_KP_ENTER, VK_RETURN, 0x1C},
    {SDLK_APPLICATION, VK_APPS, 0x5D},
    {SDLK_LCTRL, VK_CONTROL, 0x1D},
    {SDLK_RCTRL, VK_CONTROL, 0x1D},
    {SDLK_LSHIFT, VK_SHIFT, 0x2A},
    {SDLK_RSHIFT, VK_SHIFT, 0x36},
    {SDLK_LALT, VK_MENU, 0x38},
    {SDLK_RALT, VK_MENU, 0x38},
    {SDLK_LGUI, VK_LWIN, 0x5B},
    {SDLK_RGUI, VK_RWIN, 0x5C},
};

// The keypad with num lock on (digits) and off (the keys printed under them).
struct KeypadRow {
    SDL_Keycode sym;
    UINT digit, navigation, scanCode;
};

const KeypadRow kKeypad[] = {
    {SDLK_KP_0, VK_NUMPAD0 + 0, VK_INSERT, 0x52},  {SDLK_KP_1, VK_NUMPAD0 + 1, VK_END, 0x4F},
    {SDLK_KP_2, VK_NUMPAD0 + 2, VK_DOWN, 0x50},    {SDLK_KP_3, VK_NUMPAD0 + 3, VK_NEXT, 0x51},
    {SDLK_KP_4, VK_NUMPAD0 + 4, VK_LEFT, 0x4B},    {SDLK_KP_5, VK_NUMPAD0 + 5, VK_CLEAR, 0x4C},
    {SDLK_KP_6, VK_NUMPAD0 + 6, VK_RIGHT, 0x4D},   {SDLK_KP_7, VK_NUMPAD0 + 7, VK_HOME, 0x47},
    {SDLK_KP_8, VK_NUMPAD0 + 8, VK_UP, 0x48},      {SDLK_KP_9, VK_NUMPAD0 + 9, VK_PRIOR, 0x49},
    {SDLK_KP_PERIOD, VK_DECIMAL, VK_DELETE, 0x53},
};

// Letters by their place on the PC keyboard: each row's first scan code.
UINT LetterScanCode(char letter) {
    static const struct {
        const char* keys;
        UINT first;
    } rows[] = {{"qwertyuiop", 0x10}, {"asdfghjkl", 0x1E}, {"zxcvbnm", 0x2C}};
    for (const auto& row : rows)
        if (const char* at = std::strchr(row.keys, letter))
            return row.first + static_cast<UINT>(at - row.keys);
    return 0;
}

}  // namespace

VirtualKey VirtualKeyOf(int32_t sym, uint16_t mod) {
    if (sym >= SDLK_a && sym <= SDLK_z) {
        char letter = static_cast<char>(sym);
        return VirtualKey{static_cast<UINT>(letter - 'a' + 'A'), LetterScanCode(letter)};
    }
    if (sym >= SDLK_0 && sym <= SDLK_9) {
        UINT digit = static_cast<UINT>(sym - SDLK_0);
        return VirtualKey{'0' + digit, digit == 0 ? 0x0Bu : 0x01u + digit};
    }
    if (sym >= SDLK_F1 && sym <= SDLK_F12) {
        UINT n = static_cast<UINT>(sym - SDLK_F1);
        return VirtualKey{VK_F1 + n, n < 10 ? 0x3B + n : 0x57 + (n - 10)};
    }
    if (sym >= SDLK_F13 && sym <= SDLK_F24)
        return VirtualKey{VK_F1 + 12 + static_cast<UINT>(sym - SDLK_F13), 0};
    for (const KeypadRow& k : kKeypad)
        if (k.sym == sym) return VirtualKey{(mod & KMOD_NUM) ? k.digit : k.navigation, k.scanCode};
    for (const KeyRow& k : kKeys)
        if (k.sym == sym) return VirtualKey{k.vk, k.scanCode};
    return VirtualKey{};
}

int SystemCursorOf(int standardCursor) {
    static const struct {
        int idc;
        SDL_SystemCursor sdl;
    } table[] = {
        {IDC_ARROW, SDL_SYSTEM_CURSOR_ARROW},
        {IDC_IBEAM, SDL_SYSTEM_CURSOR_IBEAM},
        {IDC_WAIT, SDL_SYSTEM_CURSOR_WAIT},
        {IDC_CROSS, SDL_SYSTEM_CURSOR_CROSSHAIR},
        {IDC_UPARROW, SDL_SYSTEM_CURSOR_ARROW},
        {IDC_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENWSE},
        {IDC_SIZENESW, SDL_SYSTEM_CURSOR_SIZENESW},
        {IDC_SIZEWE, SDL_SYSTEM_CURSOR_SIZEWE},
        {IDC_SIZENS, SDL_SYSTEM_CURSOR_SIZENS},
        {IDC_SIZEALL, SDL_SYSTEM_CURSOR_SIZEALL},
        {IDC_NO, SDL_SYSTEM_CURSOR_NO},
        {IDC_HAND, SDL_SYSTEM_CURSOR_HAND},
        {IDC_APPSTARTING, SDL_SYSTEM_CURSOR_WAITARROW},
        {IDC_HELP, SDL_SYSTEM_CURSOR_ARROW},
    };
    for (const auto& row : table)
        if (row.idc == standardCursor) return row.sdl;
    return -1;
}

}  // namespace tarvel
