// Tray icons: adding, changing and removing them, the tip's limit, the
// user's mouse on them, and their end with their window.

#include <cstring>

#include "WinsysFixture.h"

namespace tarvel {
namespace {

constexpr UINT kTrayNotify = WM_USER + 0x16C;

class Tray : public WinsysTest {
protected:
    void SetUp() override {
        WinsysTest::SetUp();
        notify = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    }
    NOTIFYICONDATA Data(UINT flags, const char* tip = "") const {
        NOTIFYICONDATA d;
        d.hWnd = notify;
        d.uID = 7;
        d.uFlags = flags;
        d.uCallbackMessage = kTrayNotify;
        std::strncpy(d.szTip, tip, sizeof d.szTip);
        return d;
    }
    HeadlessBackend::TrayIcon Shown() const {
        auto icons = backend->TrayIcons();
        auto it = icons.find({notify, 7});
        return it == icons.end() ? HeadlessBackend::TrayIcon{} : it->second;
    }
    HWND notify = nullptr;
};

TEST_F(Tray, AnIconIsAddedChangedAndRemoved) {
    NOTIFYICONDATA d = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, "BMS host");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    EXPECT_EQ(Shown().tip, "BMS host");
    EXPECT_EQ(Shown().callbackMessage, kTrayNotify);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d));  // there already

    // A change keeps what it does not name.
    NOTIFYICONDATA tip = Data(NIF_TIP, "Module 3");
    tip.uCallbackMessage = 0;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &tip));
    EXPECT_EQ(Shown().tip, "Module 3");
    EXPECT_EQ(Shown().callbackMessage, kTrayNotify);

    ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
    EXPECT_TRUE(backend->TrayIcons().empty());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &d));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &tip));
}

TEST_F(Tray, BadRequestsFail) {
    NOTIFYICONDATA d = Data(NIF_MESSAGE);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
    EXPECT_FALSE(Shell_NotifyIcon(3, &d));
    d.hWnd = reinterpret_cast<HWND>(0x1234);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d));
    EXPECT_TRUE(backend->TrayIcons().empty());
}

TEST_F(Tray, TheTipKeepsAtMost63CharactersAndNoBrokenOne) {
    struct Case {
        const char* what;
        std::string tip;
        std::string shown;
    } cases[] = {
        {"short", "BMS", "BMS"},
        {"64 characters", std::string(64, 'x'), std::string(63, 'x')},
        {"wide characters count as one", std::string(62, 'x') + "电池", std::string(62, 'x') + "电"},
        {"unterminated", std::string(256, 'x'), std::string(63, 'x')},
        {"a broken character at the end", "BMS\xE7\x94", "BMS"},
    };
    for (const Case& c : cases) {
        NOTIFYICONDATA d = Data(NIF_MESSAGE | NIF_TIP);
        std::memcpy(d.szTip, c.tip.data(), std::min(c.tip.size(), sizeof d.szTip));
        if (c.tip.size() < sizeof d.szTip) d.szTip[c.tip.size()] = '\0';
        ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d)) << c.what;
        EXPECT_EQ(Shown().tip, c.shown) << c.what;
        Shell_NotifyIcon(NIM_DELETE, &d);
    }
}

TEST_F(Tray, ADoubleClickOnTheIconPostsItsCallback) {
    NOTIFYICONDATA d = Data(NIF_MESSAGE | NIF_TIP, "BMS host");
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    log.clear();
    ASSERT_TRUE(backend->ClickTrayIcon(notify, 7, WM_LBUTTONDBLCLK));
    EXPECT_FALSE(backend->ClickTrayIcon(notify, 8, WM_LBUTTONDBLCLK));
    Pump();
    const Logged* got = Last(notify, kTrayNotify);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->wParam, 7u);
    EXPECT_EQ(got->lParam, static_cast<LPARAM>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(Messages(notify, {kTrayNotify}).size(), 1u);
}

TEST_F(Tray, TheIconGoesWithItsWindow) {
    NOTIFYICONDATA d = Data(NIF_MESSAGE);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    d.uID = 8;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    HWND other = Create(WS_POPUP, Bounds(0, 0, 10, 10));
    d.hWnd = other;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    DestroyWindow(notify);
    auto icons = backend->TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons.begin()->first.first, other);
}

}  // namespace
}  // namespace tarvel
