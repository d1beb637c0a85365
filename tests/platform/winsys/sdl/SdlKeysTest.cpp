// SDL's keys as virtual keys and PC scan codes.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "platform/winsys/WinConstants.h"
#include "platform/winsys/sdl/SdlKeys.h"

namespace tarvel {
namespace {

TEST(SdlKeys, KeysMapToVirtualKeysAndScanCodes) {
    struct Case {
        SDL_Keycode sym;
        uint16_t mod;
        UINT vk, scanCode;
    } cases[] = {
        {SDLK_a, 0, 'A', 0x1E},
        {SDLK_q, 0, 'Q', 0x10},
        {SDLK_m, KMOD_SHIFT, 'M', 0x32},
        {SDLK_0, 0, '0', 0x0B},
        {SDLK_1, 0, '1', 0x02},
        {SDLK_F1, 0, VK_F1, 0x3B},
        {SDLK_F10, 0, VK_F10, 0x44},
        {SDLK_F12, 0, VK_F12, 0x58},
        {SDLK_F24, 0, VK_F24, 0},
        {SDLK_LALT, 0, VK_MENU, 0x38},
        {SDLK_RCTRL, 0, VK_CONTROL, 0x1D},
        {SDLK_RSHIFT, 0, VK_SHIFT, 0x36},
        {SDLK_RETURN, 0, VK_RETURN, 0x1C},
        {SDLK_ESCAPE, 0, VK_ESCAPE, 0x01},
        {SDLK_SEMICOLON, 0, VK_OEM_1, 0x27},
        {SDLK_KP_7, KMOD_NUM, VK_NUMPAD0 + 7, 0x47},  // num lock on: a digit
        {SDLK_KP_7, 0, VK_HOME, 0x47},                // off: the key printed under it
        {SDLK_KP_PERIOD, 0, VK_DELETE, 0x53},
        {SDLK_KP_ENTER, 0, VK_RETURN, 0x1C},
        {SDLK_AMPERSAND, 0, 0, 0},  // a key of another layout: its text only
    };
    for (const Case& c : cases) {
        VirtualKey k = VirtualKeyOf(c.sym, c.mod);
        EXPECT_EQ(k.vk, c.vk) << SDL_GetKeyName(c.sym);
        EXPECT_EQ(k.scanCode, c.scanCode) << SDL_GetKeyName(c.sym);
    }
}

TEST(SdlKeys, StandardCursorsHaveSystemCursors) {
    EXPECT_EQ(SystemCursorOf(IDC_ARROW), SDL_SYSTEM_CURSOR_ARROW);
    EXPECT_EQ(SystemCursorOf(IDC_SIZENS), SDL_SYSTEM_CURSOR_SIZENS);
    EXPECT_EQ(SystemCursorOf(IDC_SIZEWE), SDL_SYSTEM_CURSOR_SIZEWE);
    EXPECT_EQ(SystemCursorOf(IDC_SIZENWSE), SDL_SYSTEM_CURSOR_SIZENWSE);
    EXPECT_EQ(SystemCursorOf(IDC_SIZENESW), SDL_SYSTEM_CURSOR_SIZENESW);
    EXPECT_EQ(SystemCursorOf(12345), -1);
}

}  // namespace
}  // namespace tarvel
