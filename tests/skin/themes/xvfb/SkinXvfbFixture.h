#pragma once
// The SDL backend on the test program's own Xvfb, with an application and the
// skin library's theme core started; pictures go to screenshots/ in the build
// folder for people to look at. A fixture names the units it starts over the
// core in StartUnits and stops them in StopUnits. Each test program that uses
// it runs its tests through RunTestsOnXvfb and compiles SkinXvfbFixture.cpp
// and XServerFixture.cpp.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/classlib/Application.h"
#include "platform/winsys/WinTypes.h"
#include "tests/skin/themes/DaraSkinFixture.h"

namespace tarvel {
class SdlBackend;
class TTeThemeLink;
}  // namespace tarvel

namespace tarvel::testing {

class SkinXvfbTest : public ::testing::Test {
protected:
    // The X11 backend (a failure naming why when the server takes no client),
    // the window system, the application, the theme core, then the units.
    void SetUp() override;
    // The current theme released, the units stopped, the theme core, then
    // the application and the window system.
    void TearDown() override;

    // The units the fixture starts after the theme core, and stops before it.
    virtual void StartUnits() {}
    virtual void StopUnits() {}

    // Runs the messages until `done` holds (true) or `ms` pass (false).
    static bool RunUntil(const std::function<bool()>& done, DWORD ms = 5000);
    // Runs the messages for `ms`.
    static void Run(DWORD ms);
    // Runs the messages until the window is on the screen, five seconds at
    // the most, and `ms` more for the server.
    void Settle(HWND h, DWORD ms = 300);
    // Saves the window as it is on the screen as `name` under dir.
    bool Save(HWND h, const std::string& name) const;
    bool Save(TCustomForm* form, const std::string& name) const { return Save(form->Handle(), name); }
    // Saves it, failing the test when it cannot.
    void Shot(HWND h, const std::string& name) const { EXPECT_TRUE(Save(h, name)) << name; }
    // Where the pointer is while a window is compared: away from it, or
    // kept where the test put it for a hot face whose fade has ended.
    enum class Pointer { Away, Stays };
    // Takes what depends on timing out of the window's picture: the pointer
    // leaves it (no hover) and the caret is hidden (no blink phase). Calm
    // does it alone, for a test inside a modal loop that lets the window
    // settle on its own; Still settles the window too. Unstill shows the
    // caret again.
    void Calm(HWND h, Pointer pointer = Pointer::Away);
    void Still(HWND h, Pointer pointer = Pointer::Away) {
        Calm(h, pointer);
        Settle(h);
    }
    void Unstill();
    // The window as it is now saved as `name` under dir and compared with its
    // reference skin/xvfb/<name> in tests/fixtures/reference, within the
    // sheets' tolerance; a missing reference, or TARVEL_UPDATE_REFERENCES=1,
    // writes it.
    ::testing::AssertionResult MatchesReferenceNow(HWND h, const std::string& name) const;
    // The same of the screen's `area`, for menus and other windows over a
    // window.
    ::testing::AssertionResult ScreenMatchesReferenceNow(const TRect& area, const std::string& name) const;
    // The same of the still window.
    ::testing::AssertionResult MatchesReference(HWND h, const std::string& name,
                                                Pointer pointer = Pointer::Away) {
        Still(h, pointer);
        ::testing::AssertionResult matches = MatchesReferenceNow(h, name);
        Unstill();
        return matches;
    }
    // Saves and compares, failing the test on a mismatch.
    void ComparedShot(HWND h, const std::string& name, Pointer pointer = Pointer::Away) {
        EXPECT_TRUE(MatchesReference(h, name, pointer));
    }

    SdlBackend* sdl = nullptr;
    std::unique_ptr<TApplication> app;
    bool caretHidden_ = false;
    const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
};

// The two looks pictured: the flat theme and the tool's skin file (a program
// that pictures it depends on the skin's build target).
struct Look {
    const char* suffix;
    const char* theme;  // none: the tool's skin file
};
inline constexpr Look kLooks[] = {{"flat", "Flat"}, {"dara", nullptr}};

// Makes the look the current theme.
inline void UseLook(const Look& look) {
    if (look.theme)
        ChangeTheme(std::string_view(look.theme));
    else
        ASSERT_TRUE(ChangeToDaraSkin()) << DaraSkinPath();
    ASSERT_NE(CurrentTheme, nullptr);
}

// A link of the owner's to the look, for controls that draw it through a
// link of their own instead of the current theme.
TTeThemeLink* LinkToLook(TComponent* owner, const Look& look);

}  // namespace tarvel::testing
