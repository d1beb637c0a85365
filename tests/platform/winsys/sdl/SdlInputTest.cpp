// SDL's events, pushed into SDL's own queue, arrive as the window system's
// messages: mouse, wheel, keys, text, close, minimize, restore, focus,
// dropped files.

#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

class SdlInput : public SdlTest {
protected:
    void SetUp() override {
        SdlTest::SetUp();
        if (HasFatalFailure()) return;
        tree.Build(*probe);
        PumpFor(50);
        probe->log.clear();
    }
    void PushDrop(HWND top, Uint32 type, const char* file = nullptr) {
        SDL_Event ev{};
        ev.type = type;
        ev.drop.windowID = IdOf(top);
        ev.drop.file = file ? SDL_strdup(file) : nullptr;  // the backend frees it, as SDL's own
        SDL_PushEvent(&ev);
    }
    WindowTree tree;
};

TEST_F(SdlInput, AClickArrivesAtTheChildInItsClientCoordinates) {
    PushClick(tree.form, OnScreen(tree.button, TPoint{5, 6}));
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_LBUTTONUP); }));
    const Logged* down = probe->Last(tree.button, WM_LBUTTONDOWN);
    ASSERT_TRUE(down);
    EXPECT_EQ(PointFromLParam(down->lParam), (TPoint{5, 6}));
    EXPECT_EQ(probe->Messages(tree.panel, {WM_LBUTTONDOWN, WM_LBUTTONUP}), std::vector<UINT>{});
}

TEST_F(SdlInput, TwoQuickClicksMakeADoubleClick) {
    TPoint p = OnScreen(tree.side, TPoint{10, 10});
    PushClick(tree.form, p);
    PushClick(tree.form, p);
    ASSERT_TRUE(PumpUntil([&] { return probe->Messages(tree.side, {WM_LBUTTONUP}).size() == 2; }));
    EXPECT_EQ(probe->Messages(tree.side, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(SdlInput, TheWheelGoesToTheFocusInNotches) {
    struct Case {
        int y;
        bool flipped;
        int delta;
    } cases[] = {{1, false, 120}, {-2, false, -240}, {1, true, -120}};
    for (const Case& c : cases) {
        probe->log.clear();
        PushWheel(tree.form, OnScreen(tree.side, TPoint{5, 5}), c.y, c.flipped);
        ASSERT_TRUE(PumpUntil([&] { return Got(tree.button, WM_MOUSEWHEEL); }));
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(probe->Last(tree.button, WM_MOUSEWHEEL)->wParam), c.delta);
    }
}

TEST_F(SdlInput, KeysAndTextGiveEachCharacterOnce) {
    struct Case {
        const char* what;
        std::vector<std::pair<SDL_Keycode, bool>> keys;
        const char* text;
        std::vector<UINT> keyDowns;
        std::u16string chars, sysChars;
    } cases[] = {
        {"a letter", {{SDLK_a, true}}, "a", {'A'}, u"a", u""},
        {"a shifted digit", {{SDLK_LSHIFT, true}, {SDLK_1, true}}, "!", {VK_SHIFT, '1'}, u"!", u""},
        {"the input method", {}, "你好", {}, u"你好", u""},
        {"another layout's key", {{SDLK_AMPERSAND, true}}, "&", {}, u"&", u""},
        {"a key without text", {{SDLK_LEFT, true}}, nullptr, {VK_LEFT}, u"", u""},
        {"Alt with a letter (no text from the display)",
         {{SDLK_LALT, true}, {SDLK_f, true}},
         nullptr,
         {},
         u"",
         u"f"},
        {"Ctrl with a letter",
         {{SDLK_LCTRL, true}, {SDLK_c, true}},
         nullptr,
         {VK_CONTROL, 'C'},
         u"\x03",
         u""},
    };
    for (const Case& c : cases) {
        probe->log.clear();
        for (auto [sym, down] : c.keys) PushKey(sym, down);
        if (c.text) PushText(c.text);
        for (auto it = c.keys.rbegin(); it != c.keys.rend(); ++it) PushKey(it->first, false);
        PumpFor(60);
        std::vector<UINT> downs;
        std::u16string chars, sysChars;
        for (const Logged& l : probe->log) {
            if (l.hwnd != tree.button) continue;
            if (l.msg == WM_KEYDOWN) downs.push_back(static_cast<UINT>(l.wParam));
            if (l.msg == WM_CHAR) chars.push_back(static_cast<char16_t>(l.wParam));
            if (l.msg == WM_SYSCHAR) sysChars.push_back(static_cast<char16_t>(l.wParam));
        }
        EXPECT_EQ(downs, c.keyDowns) << c.what;
        EXPECT_EQ(chars, c.chars) << c.what;
        EXPECT_EQ(sysChars, c.sysChars) << c.what;
    }
}

TEST_F(SdlInput, AltAloneAndF10OpenTheKeyboardMenuAndAltF4Closes) {
    auto keyMenus = [&] {
        int n = 0;
        for (const Logged& l : probe->log)
            if (l.hwnd == tree.form && l.msg == WM_SYSCOMMAND && (l.wParam & 0xFFF0) == SC_KEYMENU) ++n;
        return n;
    };
    PushKey(SDLK_LALT, true);
    PushKey(SDLK_LALT, false);
    ASSERT_TRUE(PumpUntil([&] { return keyMenus() == 1; }));
    PushKey(SDLK_F10, true);
    PushKey(SDLK_F10, false);
    ASSERT_TRUE(PumpUntil([&] { return keyMenus() == 2; }));

    PushKey(SDLK_LALT, true);
    PushKey(SDLK_F4, true);
    PushKey(SDLK_F4, false);
    PushKey(SDLK_LALT, false);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(tree.form); }));
    EXPECT_EQ(keyMenus(), 2);  // Alt with a key between is no keyboard menu
    EXPECT_TRUE(Got(tree.form, WM_CLOSE));
}

TEST_F(SdlInput, KeyDataCarriesScanCodeAltRepeatAndRelease) {
    PushKey(SDLK_LALT, true);
    PushKey(SDLK_x, true);
    PushKey(SDLK_x, true);  // held: the display repeats it
    PushKey(SDLK_x, false);
    ASSERT_TRUE(PumpUntil([&] {
        return Got(tree.button, WM_SYSKEYUP) && probe->Messages(tree.button, {WM_SYSKEYDOWN}).size() >= 3;
    }));
    std::vector<LPARAM> xs;
    for (const Logged& l : probe->log)
        if (l.hwnd == tree.button && (l.msg == WM_SYSKEYDOWN || l.msg == WM_SYSKEYUP) && l.wParam == 'X')
            xs.push_back(l.lParam);
    ASSERT_EQ(xs.size(), 3u);
    for (LPARAM data : xs) {
        EXPECT_EQ((data >> 16) & 0xFF, 0x2D);
        EXPECT_TRUE(data & KF_ALTDOWN_BIT);
    }
    EXPECT_FALSE(xs[0] & KF_REPEAT_BIT);
    EXPECT_TRUE(xs[1] & KF_REPEAT_BIT);
    EXPECT_TRUE(xs[2] & KF_UP_BIT);
    EXPECT_LT(GetKeyState(VK_MENU), 0);  // Alt still held
}

TEST_F(SdlInput, TheDisplaysCloseButtonIsTheCloseCommand) {
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_CLOSE);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(tree.form); }));
    const Logged* cmd = probe->Last(tree.form, WM_SYSCOMMAND);
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->wParam & 0xFFF0, SC_CLOSE);
}

TEST_F(SdlInput, TheDisplayMinimizesAndRestoresThroughSystemCommands) {
    auto commands = [&](WPARAM which) {
        int n = 0;
        for (const Logged& l : probe->log)
            if (l.hwnd == tree.form && l.msg == WM_SYSCOMMAND && (l.wParam & 0xFFF0) == which) ++n;
        return n;
    };
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_MINIMIZED);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(tree.form); }));
    EXPECT_EQ(commands(SC_MINIMIZE), 1);
    // The task bar (or the tray's stand-in) brings it back.
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_RESTORED);
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(tree.form); }));
    EXPECT_EQ(commands(SC_RESTORE), 1);

    // Our own minimize echoes back from the display and is no new command.
    ShowWindow(tree.form, SW_MINIMIZE);
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_MINIMIZED);
    PumpFor(60);
    EXPECT_EQ(commands(SC_MINIMIZE), 1);
    EXPECT_TRUE(IsIconic(tree.form));
}

TEST_F(SdlInput, LosingTheKeyboardToAnotherProgramDeactivatesAndReleasesCapture) {
    ASSERT_EQ(GetActiveWindow(), tree.form);
    SetCapture(tree.button);
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }, 2000));
    EXPECT_EQ(GetCapture(), nullptr);
    const Logged* act = probe->Last(tree.form, WM_ACTIVATE);
    ASSERT_TRUE(act);
    EXPECT_EQ(LOWORD(act->wParam), WA_INACTIVE);

    PushWindowEvent(tree.form, SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == tree.form; }));
}

TEST_F(SdlInput, FocusMovingBetweenOurWindowsDeactivatesNothing) {
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(tree.form, SDL_WINDOWEVENT_FOCUS_GAINED);
    PumpFor(300);
    EXPECT_EQ(GetActiveWindow(), tree.form);
    EXPECT_EQ(probe->Messages(tree.form, {WM_ACTIVATE}), std::vector<UINT>{});
}

TEST_F(SdlInput, TheFilesOfOneDropComeTogether) {
    DragAcceptFiles(tree.form, true);
    PushDrop(tree.form, SDL_DROPBEGIN);
    PushDrop(tree.form, SDL_DROPFILE, "/tmp/a.csv");
    PushDrop(tree.form, SDL_DROPTEXT, "not a file");
    PushDrop(tree.form, SDL_DROPFILE, "/tmp/数据.kb");
    PushDrop(tree.form, SDL_DROPCOMPLETE);
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.form, WM_DROPFILES); }));
    auto drop = reinterpret_cast<HDROP>(probe->Last(tree.form, WM_DROPFILES)->wParam);
    ASSERT_EQ(DragQueryFile(drop, kDragQueryCount, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileName(drop, 0), "/tmp/a.csv");
    EXPECT_EQ(DragQueryFileName(drop, 1), "/tmp/数据.kb");
    DragFinish(drop);
    EXPECT_EQ(probe->Messages(nullptr, {WM_DROPFILES}).size(), 1u);

    // A window that accepts nothing gets nothing.
    DragAcceptFiles(tree.form, false);
    probe->log.clear();
    PushDrop(tree.form, SDL_DROPFILE, "/tmp/b.csv");  // without a begin: one file, at once
    PumpFor(100);
    EXPECT_TRUE(probe->Messages(nullptr, {WM_DROPFILES}).empty());
}

}  // namespace
}  // namespace tarvel
