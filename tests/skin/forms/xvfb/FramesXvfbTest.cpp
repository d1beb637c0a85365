// The skinned frames through the SDL backend on an Xvfb of its own: the
// full frame active, inactive, maximized and rolled up, a dialog with the
// light frame, and a window whose menu bar has a menu and a sub-menu open,
// in the flat theme and in the tool's own skin file, an MDI parent with three
// children (one of them maximized in a second picture), saved
// under screenshots/ in the build folder for people to look at and compared
// with their references; and a blended menu over a window that changes
// beneath it, with and without a compositing manager.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <SDL2/SDL.h>
#include <sys/stat.h>

#include "platform/base/Ticks.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_label.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame2.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_menuview.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel {
namespace {

// The flat and skin-file themes and the frames' unit.
class FramesOnX11 : public testing::SkinXvfbTest {
protected:
    void StartUnits() override {
        InitThemeFlat();
        InitThemeSkinFile();
        InitControlBases();
        InitForms();
    }
    void StopUnits() override {
        DoneForms();
        DoneControlBases();
    }
    // A framed form, shown, with a white panel filling it and a half-blended
    // edit menu ready to pop up; `content` is the panel.
    TTePopupMenu* ShowFormWithBlendedMenu(TPanel*& content) {
        auto* form = new TForm(Application);
        form->SetCaption("Battery modules");
        TTePopupMenu* menu = nullptr;
        {
            TLoadingScope scope(form);
            TTeThemeLink* link = testing::LinkToLook(form, testing::kLooks[0]);
            auto* frame = new TTeForm(form);
            frame->SetThemeLink(link);
            content = new TPanel(form);
            content->SetParent(form);
            content->SetAlign(alClient);
            content->SetBevelOuter(bvNone);
            content->SetCaption("");
            content->SetColor(clWhite);
            menu = new TTePopupMenu(form);
            menu->SetThemeLink(link);
            for (const char* caption : {"&Copy", "&Paste", "-", "Select &All"}) {
                auto* item = new TTeItem(form);
                item->SetCaption(Utf8ToWide(caption));
                menu->Items()->Add(item);
            }
            menu->PopupMenuOptions()->Blending()->SetValue(128);
            menu->PopupMenuOptions()->Blending()->SetEnabled(true);
            scope.Finish();
        }
        form->SetBounds(60, 60, 420, 300);
        form->Show();
        Settle(form->Handle());
        return menu;
    }
};

using testing::kLooks;
using testing::LinkToLook;
using testing::Look;

TEST_F(FramesOnX11, FramesInEachStateAndTheLightDialogInTheFlatThemeAndTheSkinFile) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        auto shot = [&](HWND h, const char* state) {
            ComparedShot(h, std::string("frame_") + look.suffix + "_" + state + ".png");
        };

        auto* form = new TForm(Application);
        form->SetCaption("Battery modules");
        form->SetColor(clWhite);
        TTeForm* frame = nullptr;
        {
            TLoadingScope scope(form);
            frame = new TTeForm(form);
            frame->SetThemeLink(LinkToLook(form, look));
            frame->SetPerformance(qvfpDoubleBuffer);
            scope.Finish();
        }
        form->SetBounds(60, 60, 480, 320);
        form->Show();
        SetForegroundWindow(form->Handle());
        ASSERT_TRUE(frame->Active() && frame->Themed());
        shot(form->Handle(), "active");

        SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0);
        EXPECT_FALSE(frame->FrameActive());
        shot(form->Handle(), "inactive");
        SendMessage(form->Handle(), WM_NCACTIVATE, 1, 0);

        frame->Maximize();
        EXPECT_EQ(WindowRect(form->Handle()), frame->GetMaximizedRect());
        shot(form->Handle(), "maximized");

        frame->Restore();
        const int captionOnly = frame->GetRollupRect().Height();
        frame->Rollup();
        EXPECT_EQ(WindowRect(form->Handle()).Height(), captionOnly);
        shot(form->Handle(), "rolled_up");
        frame->Restore();

        auto* dialog = new TForm(Application);
        dialog->SetCaption("Port settings");
        dialog->SetColor(clWhite);
        dialog->SetBorderStyle(bsDialog);
        dialog->SetBorderIcons(TBorderIcons{biSystemMenu});
        {
            TLoadingScope scope(dialog);
            auto* light = new TTeForm2(dialog);
            light->SetThemeLink(LinkToLook(dialog, look));
            scope.Finish();
        }
        dialog->SetBounds(600, 120, 320, 220);
        dialog->Show();
        SetForegroundWindow(dialog->Handle());
        shot(dialog->Handle(), "light_dialog");

        delete dialog;
        delete form;
    }
}

// Real keys through the server, pressed and let go.
void Press(const char* key) {
    XKey(key, true);
    XKey(key, false);
}

TEST_F(FramesOnX11, MenuBarWithAnOpenMenuAndSubMenuInTheFlatThemeAndTheSkinFile) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        auto* form = new TForm(Application);
        form->SetCaption("Battery modules");
        form->SetColor(clWhite);
        TTeMenuBar* bar = nullptr;
        TTeItem* recent = nullptr;
        {
            TLoadingScope scope(form);
            TTeThemeLink* link = LinkToLook(form, look);
            auto* frame = new TTeForm(form);
            frame->SetThemeLink(link);
            bar = new TTeMenuBar(form);
            bar->SetAlign(alTop);
            bar->SetParent(form);
            auto add = [&](TTeItem* parent, const char* caption) {
                auto* item = new TTeItem(form);
                item->SetCaption(Utf8ToWide(caption));
                parent->Add(item);
                return item;
            };
            TTeItem* file = add(bar->Items(), "&File Option");
            add(file, "&Open Records...");
            recent = add(file, "&Recent");
            add(recent, "Module A.csv");
            add(recent, "Module B.csv");
            add(file, "-");
            add(file, "E&xit");
            add(add(bar->Items(), "&Port Setting"), "&Serial Port...");
            add(add(bar->Items(), "&Version Exchange"), "&Read Version");
            add(add(bar->Items(), "&About Project"), "&About...");
            // As form data has it: the link reaches the bar after its items.
            bar->SetThemeLink(link);
            frame->SetMenuBar(bar);
            scope.Finish();
            ASSERT_TRUE(frame->Active() && frame->Themed()) << "the theme defines the window";
        }
        form->SetBounds(60, 60, 520, 360);
        form->Show();
        Settle(form->Handle());
        ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
        Settle(form->Handle());

        // Alt+F opens File; down to Recent and Enter opens its sub-menu.
        TTeItem* inner = nullptr;
        bool saved = false;
        std::deque<std::function<void()>> steps{
            [] { Press("Down"); },
            [] { Press("Return"); },
            [&] {
                TTeItemView* v = bar->View();
                while (v->ChildView) v = v->ChildView;
                inner = v->RootItem;
                // The window with room for the menus on its right.
                TRect area = WindowRect(form->Handle());
                area.right += 200;
                EXPECT_TRUE(
                    ScreenMatchesReferenceNow(area, std::string("menubar_xvfb_") + look.suffix + ".png"));
                saved = true;
                Press("Escape");
            },
            [] { Press("Escape"); },
            [] { Press("Escape"); },
        };
        DWORD next = GetTickCount() + 400;
        Application->OnIdle = [&](TObject*, bool& done) {
            if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
            steps.front()();
            steps.pop_front();
            next = GetTickCount() + 400;
            done = false;
        };
        // Keys alone drive the menus: the pointer stays off them.
        ASSERT_TRUE(XMovePointer(1023, 767));
        XKey("Alt_L", true);
        Press("f");
        XKey("Alt_L", false);
        const DWORD start = GetTickCount();
        while (!steps.empty() && GetTickCount() - start < 10000) Application->ProcessMessages();
        Application->OnIdle = nullptr;
        EXPECT_TRUE(steps.empty()) << "the menus did not open";
        EXPECT_TRUE(saved);
        EXPECT_EQ(inner, recent);
        delete form;
    }
}

// The screen's `area` saved as `name` under the screenshots.
bool SaveScreenArea(SdlBackend* sdl, const TRect& area, const std::string& name) {
    std::unique_ptr<Surface> screen = sdl->ScreenPixels();
    if (!screen) return false;
    Surface part(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            part.SetPixel(x, y, screen->Pixel(area.left + x, area.top + y));
    return WritePng(part, (std::string(TARVEL_BINARY_DIR) + "/screenshots/" + name).c_str());
}

// The topmost shown window of ours other than `besides`.
HWND TopShownWindowBesides(HWND besides) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h != besides && IsWindowVisible(h)) return h;
    return nullptr;
}

// Minimized to the tray of a notification area of the test's own: the
// icon with the form's text as its tip; its right click opens the built
// menu, skinned, with Restore and Close; Restore brings the form back, its
// double click as well, and Close closes it, all through the server.
TEST_F(FramesOnX11, TheTrayIconItsSkinnedMenuRestoreAndClose) {
    std::string why;
    const TRect area = Bounds(700, 0, 72, 24);
    std::unique_ptr<XTrayHost> host = XTrayHost::Start(area, 24, why);
    ASSERT_TRUE(host) << why;
    auto* form = new TForm(Application);
    form->SetCaption("Battery modules");
    form->SetColor(clWhite);
    bool closed = false;
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    TTeForm* frame = nullptr;
    {
        TLoadingScope scope(form);
        frame = new TTeForm(form);
        frame->SetThemeLink(LinkToLook(form, kLooks[1]));
        frame->MinimizeApplication = false;
        scope.Finish();
    }
    form->SetBounds(60, 60, 400, 260);
    form->Show();
    Settle(form->Handle());
    ASSERT_TRUE(frame->Active() && frame->Themed());

    // The hidden window's keyboard goes, and the program learns it has lost
    // it a moment later; a person's next click on the icon comes after that.
    auto toTray = [&] {
        frame->MinToTray();
        const bool docked = RunUntil([&] { return host->Icons().size() == 1; });
        Run(500);
        return docked;
    };
    ASSERT_TRUE(toTray());
    EXPECT_EQ(frame->WindowState(), kwsTray);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    XTrayHost::Icon icon = host->Icons()[0];
    EXPECT_EQ(host->IconName(icon.window), "Battery modules");
    // The application's picture, not the area's bare background.
    auto differs = [&] {
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        if (!screen) return false;
        for (int y = icon.place.top; y < icon.place.bottom; ++y)
            for (int x = icon.place.left; x < icon.place.right; ++x)
                if ((screen->Pixel(x, y) & 0xFFFFFF) != 0x304050u) return true;
        return false;
    };
    EXPECT_TRUE(RunUntil(differs, 3000));
    EXPECT_TRUE(SaveScreenArea(sdl, area, "tray_icon_dara.png"));

    // The pointer onto the open built menu's entry; the click is the next step.
    auto pointAtEntry = [&](int index) {
        TTePopupMenu* menu = frame->SystemMenu();
        HWND shown = TopShownWindowBesides(form->Handle());
        ASSERT_TRUE(menu && shown && index < menu->Items()->Count());
        const TRect r = menu->Items()->GetItem(index)->ItemRect;
        ASSERT_FALSE(r.IsEmpty());
        TPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(shown, p);
        ASSERT_TRUE(XMovePointer(p.x, p.y));
    };
    auto click = [] { ASSERT_TRUE(XButton(1, true) && XButton(1, false)); };

    // Right click: the built menu, in the skin, under the pointer.
    std::vector<std::string> captions;
    bool pictured = false;
    std::deque<std::function<void()>> steps{
        [&] {
            if (TTePopupMenu* menu = frame->SystemMenu())
                for (int i = 0; i < menu->Items()->Count(); ++i)
                    captions.push_back(WideToUtf8(menu->Items()->GetItem(i)->Caption()));
            HWND shown = TopShownWindowBesides(form->Handle());
            ASSERT_TRUE(shown);
            TRect r = WindowRect(shown);
            TRect both{std::min(r.left, area.left) - 8, 0, std::max(r.right, area.right) + 8, r.bottom + 8};
            pictured = SaveScreenArea(sdl, both, "tray_menu_dara.png");
            pointAtEntry(0);  // Restore
        },
        click,
    };
    DWORD next = GetTickCount() + 400;
    Application->OnIdle = [&](TObject*, bool& done) {
        if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
        steps.front()();
        steps.pop_front();
        next = GetTickCount() + 400;
        done = false;
    };
    const TPoint on{icon.place.left + 12, icon.place.top + 12};
    ASSERT_TRUE(XMovePointer(on.x, on.y));
    ASSERT_TRUE(XButton(3, true) && XButton(3, false));
    EXPECT_TRUE(RunUntil([&] { return steps.empty() && MenuLoopLevel() == 0; }, 10000)) << "no menu opened";
    EXPECT_TRUE(pictured);
    EXPECT_EQ(captions, (std::vector<std::string>{"&Restore", "-", "&Close"}));
    EXPECT_TRUE(RunUntil([&] { return IsWindowVisible(form->Handle()); }));
    EXPECT_EQ(frame->WindowState(), kwsNormal);
    EXPECT_TRUE(RunUntil([&] { return host->Icons().empty(); }));

    // Back to the tray; the icon's double click restores.
    ASSERT_TRUE(toTray());
    icon = host->Icons()[0];
    ASSERT_TRUE(XMovePointer(icon.place.left + 12, icon.place.top + 12));
    Run(600);  // no double click with the clicks before
    ASSERT_TRUE(XButton(1, true) && XButton(1, false) && XButton(1, true) && XButton(1, false));
    EXPECT_TRUE(RunUntil([&] { return IsWindowVisible(form->Handle()); }));
    EXPECT_EQ(frame->WindowState(), kwsNormal);

    // And the menu's Close closes the form.
    ASSERT_TRUE(toTray());
    icon = host->Icons()[0];
    steps = {[&] { pointAtEntry(2); }, click};  // Close
    next = GetTickCount() + 400;
    ASSERT_TRUE(XMovePointer(icon.place.left + 12, icon.place.top + 12));
    ASSERT_TRUE(XButton(3, true) && XButton(3, false));
    EXPECT_TRUE(RunUntil([&] { return closed; }, 10000));
    Application->OnIdle = nullptr;
    delete form;
    EXPECT_TRUE(RunUntil([&] { return host->Icons().empty(); }));
}

// A press made by the server on a frame's caption or border closes a
// skinned combo box's open list, on the full and the light frame. (On X11
// the list window loses the activation first and closes itself; the frame's
// own close is the guard where it does not, tested in FrameInputTest.)
TEST_F(FramesOnX11, APressOnTheFramesCaptionOrBorderClosesAnOpenComboList) {
    for (bool light : {false, true}) {
        SCOPED_TRACE(light ? "light frame" : "full frame");
        auto* form = new TForm(Application);
        form->SetCaption("Port settings");
        form->SetColor(clWhite);
        TTeComboBox* combo = nullptr;
        {
            TLoadingScope scope(form);
            TTeThemeLink* link = LinkToLook(form, kLooks[0]);
            if (light) {
                auto* frame = new TTeForm2(form);
                frame->SetThemeLink(link);
            } else {
                auto* frame = new TTeForm(form);
                frame->SetThemeLink(link);
            }
            combo = new TTeComboBox(form);
            combo->SetParent(form);
            combo->SetBounds(20, 20, 160, 21);
            for (const char* port : {"COM1", "COM2", "/dev/ttyUSB0"}) combo->Items()->Add(port);
            scope.Finish();
        }
        form->SetBounds(80, 80, 360, 240);
        form->Show();
        Settle(form->Handle());
        ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
        Settle(form->Handle());

        const TRect window = WindowRect(form->Handle());
        const TPoint caption{window.left + window.Width() / 3, window.top + 8};
        const TPoint border{window.left + 1, window.top + window.Height() / 2};
        for (TPoint press : {caption, border}) {
            // The list opens with a click on the box's button, as a user opens it.
            const TRect button = combo->GetButtonRect();
            const TPoint onButton = combo->ClientToScreen(
                TPoint{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
            ASSERT_TRUE(XMovePointer(onButton.x, onButton.y));
            ASSERT_TRUE(XButton(1, true));
            ASSERT_TRUE(XButton(1, false));
            ASSERT_TRUE(RunUntil([&] { return combo->DroppedDown(); })) << "the list did not open";
            EXPECT_EQ(ActiveComboBox, combo);
            Run(200);
            ASSERT_TRUE(combo->DroppedDown());

            ASSERT_TRUE(XMovePointer(press.x, press.y));
            ASSERT_TRUE(XButton(1, true));
            ASSERT_TRUE(XButton(1, false));
            EXPECT_TRUE(RunUntil([&] { return !combo->DroppedDown(); }))
                << "pressed at " << press.x << "," << press.y;
            EXPECT_EQ(ActiveComboBox, nullptr);
            EXPECT_FALSE(static_cast<bool>(DoCloseActiveComboBox));
            Run(200);
        }
        EXPECT_EQ(WindowRect(form->Handle()), window) << "the presses moved or sized nothing";
        delete form;
        Run(100);
    }
}

// A blended menu open over a window whose content turns from white to blue
// while the menu is open: with a compositing manager on the server the
// menu and its shadow show the blue through them (read back from the root
// window), without one they keep the white that lay beneath when the menu
// opened.
TEST_F(FramesOnX11, ABlendedMenuOverAChangingWindowShowsItsNewContentOnlyWithACompositor) {
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    for (bool composing : {true, false}) {
        SCOPED_TRACE(composing ? "compositor" : "none");
        std::string why;
        if (composing) ASSERT_TRUE(StartCompositor(why)) << why;
        struct Stop {
            ~Stop() { StopCompositor(); }
        } stop;
        EXPECT_EQ(DesktopComposited(), composing);

        TPanel* content = nullptr;
        TTePopupMenu* menu = ShowFormWithBlendedMenu(content);
        TForm* form = static_cast<TForm*>(content->Owner());
        ASSERT_TRUE(XMovePointer(1023, 767));

        uint32_t before[2] = {}, after[2] = {};
        bool read = false;
        std::deque<std::function<void()>> steps{
            [&] {
                TTeItemView* v = menu->Items()->GetItem(0)->View;
                ASSERT_TRUE(v && v->CaptureControl);
                const TRect at = WindowRect(v->CaptureControl->Handle());
                // An entry's ground and the shadow's inner column.
                const TPoint points[2] = {{at.right - 12, at.top + 8},
                                          {at.right - 4, (at.top + at.bottom) / 2}};
                std::unique_ptr<Surface> screen = sdl->ScreenPixels();
                ASSERT_TRUE(screen);
                for (int i : {0, 1}) before[i] = screen->Pixel(points[i].x, points[i].y) & 0xFFFFFF;
                content->SetColor(clBlue);
                steps.push_back([&, points] {
                    std::unique_ptr<Surface> shown = sdl->ScreenPixels();
                    ASSERT_TRUE(shown);
                    for (int i : {0, 1}) after[i] = shown->Pixel(points[i].x, points[i].y) & 0xFFFFFF;
                    read = true;
                    if (composing) {
                        mkdir(dir.c_str(), 0755);
                        EXPECT_TRUE(sdl->SaveScreenPng(dir + "/menu_blended_composited_xvfb.png"));
                    }
                    Press("Escape");
                });
            },
        };
        DWORD next = GetTickCount() + 400;
        Application->OnIdle = [&](TObject*, bool& done) {
            if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
            auto step = std::move(steps.front());
            steps.pop_front();
            step();
            next = GetTickCount() + 400;
            done = false;
        };
        menu->Popup(200, 150);
        Application->OnIdle = nullptr;
        ASSERT_TRUE(read) << "the menu did not open";
        if (composing) {
            // Half the menu over blue instead of white: red and green lose
            // half of white's, blue keeps it; the shadow darkens the blue.
            for (int shift : {8, 16})
                EXPECT_NEAR(channel(after[0], shift), channel(before[0], shift) - 127, 3);
            EXPECT_NEAR(channel(after[0], 0), channel(before[0], 0), 3);
            EXPECT_NEAR(channel(after[1], 16), 0x3F * 128 / 255, 3);
            EXPECT_NEAR(channel(after[1], 0), (0x3F * 128 + 0xFF * 127) / 255, 3);
        } else {
            EXPECT_EQ(after[0], before[0]);
            EXPECT_EQ(after[1], before[1]);
        }
        delete form;
        Run(100);
    }
}

// A skinned popup menu used with the pointer through the server: the entry
// under the pointer, placed by the frame inside the menu's edge, lights up,
// and a click on it closes the menu and runs it.
TEST_F(FramesOnX11, APopupMenuIsUsedWithThePointerThroughItsFrame) {
    auto* form = new TForm(Application);
    form->SetCaption("Battery modules");
    form->SetColor(clWhite);
    TTePopupMenu* menu = nullptr;
    std::vector<std::string> chosen;
    {
        TLoadingScope scope(form);
        TTeThemeLink* link = LinkToLook(form, kLooks[0]);
        auto* frame = new TTeForm(form);
        frame->SetThemeLink(link);
        menu = new TTePopupMenu(form);
        menu->SetThemeLink(link);
        for (const char* caption : {"&Copy", "&Paste", "-", "Select &All"}) {
            auto* item = new TTeItem(form);
            item->SetCaption(Utf8ToWide(caption));
            item->OnClick = [&chosen, caption](TObject*) { chosen.push_back(caption); };
            menu->Items()->Add(item);
        }
        scope.Finish();
    }
    form->SetBounds(60, 60, 420, 300);
    form->Show();
    Settle(form->Handle());
    ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
    ASSERT_TRUE(XMovePointer(1023, 767));

    TRect paste;
    bool lit = false;
    auto window = [&] { return menu->Items()->GetItem(0)->View->CaptureControl; };
    std::deque<std::function<void()>> steps{
        [&] {
            const TRect r = menu->Items()->GetItem(1)->ItemRect;
            const TPoint at = window()->ClientToScreen(TPoint{r.left, r.top});
            paste = Bounds(at.x, at.y, r.Width(), r.Height());
            ASSERT_TRUE(XMovePointer(paste.left + 30, (paste.top + paste.bottom) / 2));
        },
        [&] {
            lit = menu->Items()->GetItem(0)->View->HotItem == menu->Items()->GetItem(1);
            const TRect w = WindowRect(window()->Handle());
            const TRect area{w.left - 10, w.top - 10, w.right + 10, w.bottom + 10};
            EXPECT_TRUE(SaveScreenArea(sdl, area, "menu_popup_pointer_xvfb.png"));
            ASSERT_TRUE(XButton(1, true));
            ASSERT_TRUE(XButton(1, false));
        },
    };
    DWORD next = GetTickCount() + 400;
    Application->OnIdle = [&](TObject*, bool& done) {
        if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
        auto step = std::move(steps.front());
        steps.pop_front();
        step();
        next = GetTickCount() + 400;
        done = false;
    };
    menu->Popup(200, 150);
    Application->OnIdle = nullptr;
    const DWORD start = GetTickCount();
    while (chosen.empty() && GetTickCount() - start < 3000) Application->ProcessMessages();
    EXPECT_TRUE(steps.empty()) << "the menu closed early";
    EXPECT_TRUE(lit);
    EXPECT_EQ(chosen, std::vector<std::string>{"&Paste"});
    EXPECT_EQ(MenuLoopLevel(), 0);
    delete form;
    Run(100);
}

// A blended skinned frame with its shadow over a window that turns from red
// to green: with a compositing manager both show the green at once.
TEST_F(FramesOnX11, ABlendedFrameAndItsShadowShowAChangingWindowBehindThemWithACompositor) {
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    std::string why;
    ASSERT_TRUE(StartCompositor(why)) << why;
    struct Stop {
        ~Stop() { StopCompositor(); }
    } stop;
    auto* under = new TForm(Application);
    under->SetBorderStyle(bsNone);
    under->SetColor(TColor(0x0000FF));
    under->SetBounds(0, 0, 1024, 700);
    under->Show();
    Settle(under->Handle());

    auto* form = new TForm(Application);
    form->SetCaption("Battery modules");
    TTeForm* frame = nullptr;
    {
        TLoadingScope scope(form);
        frame = new TTeForm(form);
        frame->SetThemeLink(LinkToLook(form, kLooks[0]));
        frame->Blending()->SetValue(128);
        frame->Blending()->SetEnabled(true);
        frame->Shadow()->SetSize(4);
        frame->Shadow()->SetEnabled(true);
        scope.Finish();
    }
    form->SetBounds(100, 100, 404, 304);
    form->Show();
    Settle(form->Handle());
    ASSERT_TRUE(XMovePointer(1023, 767));
    Run(300);
    EXPECT_TRUE(frame->Composited());
    EXPECT_EQ(XWindowDepth(sdl->SdlWindowOf(form->Handle())), 32);
    const TRect w = WindowRect(form->Handle());
    const TPoint points[2] = {{w.left + 200, w.top + 200}, {w.right - 4, (w.top + w.bottom) / 2}};
    auto read = [&](uint32_t* out) {
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        ASSERT_TRUE(screen);
        for (int i : {0, 1}) out[i] = screen->Pixel(points[i].x, points[i].y) & 0xFFFFFF;
    };
    uint32_t overRed[2] = {}, overGreen[2] = {};
    read(overRed);
    under->SetColor(TColor(0x00FF00));
    Run(400);
    read(overGreen);
    mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(sdl->SaveScreenPng(dir + "/frame_blended_composited_xvfb.png"));
    // The form's ground and the shadow's inner column take half of the green now.
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(channel(overGreen[i], 16), channel(overRed[i], 16) - 127, 3);
        EXPECT_NEAR(channel(overGreen[i], 8), channel(overRed[i], 8) + 127, 3);
        EXPECT_NEAR(channel(overGreen[i], 0), channel(overRed[i], 0), 3);
    }
    delete form;
    delete under;
    Run(100);
}

// A blended menu opened with no compositing manager: one that comes while
// the menu is open has it mix with the window beneath as that turns from
// white to blue; once it goes the menu shows the white it opened over again.
TEST_F(FramesOnX11, ABlendedMenuFollowsACompositorThatComesAndGoesWhileItIsOpen) {
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    struct Stop {
        ~Stop() { StopCompositor(); }
    } stop;
    TPanel* content = nullptr;
    TTePopupMenu* menu = ShowFormWithBlendedMenu(content);
    TForm* form = static_cast<TForm*>(content->Owner());
    ASSERT_TRUE(XMovePointer(1023, 767));

    HWND window = nullptr;
    TPoint point;
    uint32_t opened = 0, overWhite = 0, overBlue = 0, gone = 0;
    int depth = 0;
    bool done = false;
    auto pixel = [&] {
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        return screen ? screen->Pixel(point.x, point.y) & 0xFFFFFF : 0u;
    };
    std::deque<std::function<void()>> steps{
        [&] {
            TTeItemView* v = menu->Items()->GetItem(0)->View;
            ASSERT_TRUE(v && v->CaptureControl);
            window = v->CaptureControl->Handle();
            const TRect at = WindowRect(window);
            point = TPoint{at.right - 12, at.top + 8};  // an entry's ground
            opened = pixel();
            std::string why;
            ASSERT_TRUE(StartCompositor(why)) << why;
        },
        [&] {
            depth = XWindowDepth(sdl->SdlWindowOf(window));
            overWhite = pixel();
            content->SetColor(clBlue);
        },
        [&] {
            overBlue = pixel();
            mkdir(dir.c_str(), 0755);
            EXPECT_TRUE(sdl->SaveScreenPng(dir + "/menu_compositor_came_xvfb.png"));
            StopCompositor();
        },
        [&] {
            gone = pixel();
            EXPECT_TRUE(sdl->SaveScreenPng(dir + "/menu_compositor_gone_xvfb.png"));
            done = true;
            Press("Escape");
        },
    };
    DWORD next = GetTickCount() + 400;
    Application->OnIdle = [&](TObject*, bool& idle) {
        if (MenuLoopLevel() == 0 || steps.empty() || GetTickCount() < next) return;
        auto step = std::move(steps.front());
        steps.pop_front();
        step();
        next = GetTickCount() + 800;
        idle = false;
    };
    menu->Popup(200, 150);
    Application->OnIdle = nullptr;
    ASSERT_TRUE(done) << "the menu did not stay open";
    EXPECT_EQ(depth, 32);
    // Live: white at first as in the snapshot, then half of the blue.
    for (int shift : {0, 8, 16}) EXPECT_NEAR(channel(overWhite, shift), channel(opened, shift), 3);
    for (int shift : {8, 16}) EXPECT_NEAR(channel(overBlue, shift), channel(opened, shift) - 127, 3);
    EXPECT_NEAR(channel(overBlue, 0), channel(opened, 0), 3);
    // The snapshot of the white it opened over, though blue lies beneath now.
    EXPECT_EQ(gone, opened);
    delete form;
    Run(100);
}

// A blended frame with its shadow and a transparent label, open while a
// compositing manager comes and goes, over a window that changes colour:
// when it comes the frame mixes with the live window beneath (the label's
// ground too), when it goes the frame shows the snapshot taken when it was
// shown again, and through both it keeps its place, the keyboard and its
// content; a repaint right after the manager is gone does no harm.
TEST_F(FramesOnX11, ABlendedFrameFollowsACompositorThatComesAndGoesWhileItIsOpen) {
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    struct Stop {
        ~Stop() { StopCompositor(); }
    } stop;
    auto* under = new TForm(Application);
    under->SetBorderStyle(bsNone);
    under->SetColor(TColor(0x0000FF));
    under->SetBounds(0, 0, 1024, 700);
    under->Show();
    Settle(under->Handle());

    auto* form = new TForm(Application);
    form->SetCaption("Battery modules");
    form->SetColor(clWhite);
    TTeForm* frame = nullptr;
    TLabel* label = nullptr;
    TTeLabel* skinned = nullptr;
    {
        TLoadingScope scope(form);
        frame = new TTeForm(form);
        frame->SetThemeLink(LinkToLook(form, kLooks[0]));
        frame->Blending()->SetValue(128);
        frame->Blending()->SetEnabled(true);
        frame->Shadow()->SetSize(4);
        frame->Shadow()->SetEnabled(true);
        label = new TLabel(form);
        label->SetParent(form);
        label->SetCaption("Cell voltages");
        label->SetTransparent(true);
        label->SetAutoSize(false);
        label->SetBounds(40, 40, 200, 30);
        skinned = new TTeLabel(form);  // transparent unless told otherwise
        skinned->SetParent(form);
        skinned->SetCaption(u"Pack current");
        skinned->SetAutoSize(false);
        skinned->SetBounds(40, 90, 200, 30);
        scope.Finish();
    }
    form->SetBounds(100, 100, 404, 304);
    form->Show();
    SetForegroundWindow(form->Handle());
    Settle(form->Handle());
    ASSERT_TRUE(XMovePointer(1023, 767));
    Run(300);
    ASSERT_FALSE(frame->Composited());
    HWND h = form->Handle();
    const TRect placed = WindowRect(h);
    const TRect client = ClientRect(h);
    TPoint origin{0, 0};
    ClientToScreen(h, origin);
    // The form's ground, a pixel of each label's ground right of its text,
    // and the shadow's inner column.
    const TPoint points[4] = {{placed.left + 200, placed.top + 200},
                              {origin.x + 40 + 190, origin.y + 40 + 25},
                              {origin.x + 40 + 190, origin.y + 90 + 25},
                              {placed.right - 4, (placed.top + placed.bottom) / 2}};
    auto read = [&](uint32_t* out) {
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        ASSERT_TRUE(screen);
        for (int i : {0, 1, 2, 3}) out[i] = screen->Pixel(points[i].x, points[i].y) & 0xFFFFFF;
    };
    auto waitFor = [&](bool composited) {
        for (DWORD end = GetTickCount() + 5000; frame->Composited() != composited && GetTickCount() < end;)
            Run(50);
        Run(300);
        return frame->Composited() == composited;
    };
    auto expectKept = [&] {
        EXPECT_EQ(WindowRect(h), placed);
        EXPECT_EQ(ClientRect(h), client);
        int x = 0, y = 0;
        SDL_GetWindowPosition(sdl->SdlWindowOf(h), &x, &y);
        EXPECT_EQ((TPoint{x, y}), (TPoint{placed.left, placed.top}));
        EXPECT_EQ(GetActiveWindow(), h);
        EXPECT_EQ(SDL_GetKeyboardFocus(), sdl->SdlWindowOf(h));
        EXPECT_EQ(label->Caption(), "Cell voltages");
    };
    uint32_t snapshot[4] = {}, overRed[4] = {}, overGreen[4] = {}, gone[4] = {};
    read(snapshot);

    std::string why;
    ASSERT_TRUE(StartCompositor(why)) << why;
    ASSERT_TRUE(waitFor(true)) << "the frame did not hear the compositor come";
    EXPECT_EQ(XWindowDepth(sdl->SdlWindowOf(h)), 32);
    expectKept();
    read(overRed);
    under->SetColor(TColor(0x00FF00));
    Run(400);
    read(overGreen);
    mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(sdl->SaveScreenPng(dir + "/frame_compositor_came_xvfb.png"));
    // The form's ground, the labels' ground and the shadow take half of the green now.
    for (int i : {0, 1, 2, 3}) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(channel(overGreen[i], 16), channel(overRed[i], 16) - 127, 3);
        EXPECT_NEAR(channel(overGreen[i], 8), channel(overRed[i], 8) + 127, 3);
        EXPECT_NEAR(channel(overGreen[i], 0), channel(overRed[i], 0), 3);
    }
    // Mixing live, white over red at half gives what the snapshot gave.
    for (int i : {0, 1, 2}) {
        SCOPED_TRACE(i);
        for (int shift : {0, 8, 16}) EXPECT_NEAR(channel(overRed[i], shift), channel(snapshot[i], shift), 3);
    }

    StopCompositor();
    // Painted at once, before the window system has heard the manager go.
    under->SetColor(TColor(0xFF0000));
    form->Invalidate();
    UpdateWindow(h);
    ASSERT_TRUE(waitFor(false)) << "the frame did not hear the compositor go";
    expectKept();
    read(gone);
    EXPECT_TRUE(sdl->SaveScreenPng(dir + "/frame_compositor_gone_xvfb.png"));
    // The snapshot of the red beneath, taken when the frame was shown, again.
    for (int i : {0, 1, 2, 3}) {
        SCOPED_TRACE(i);
        for (int shift : {0, 8, 16}) EXPECT_NEAR(channel(gone[i], shift), channel(snapshot[i], shift), 3);
    }
    delete form;
    delete under;
    Run(100);
}

TEST_F(FramesOnX11, MdiParentWithThreeChildrenOneOfThemMaximizedInTheSkinFile) {
    TForm* parent = nullptr;
    Application->CreateForm(parent);
    parent->SetFormStyle(fsMDIForm);
    parent->SetCaption("Battery modules");
    TTeThemeLink* link = nullptr;
    TTeMenuBar* bar = nullptr;
    TTeForm* frame = nullptr;
    {
        TLoadingScope scope(parent);
        link = new TTeThemeLink(parent);
        link->SetThemeFile(testing::DaraSkinPath().string());
        frame = new TTeForm(parent);
        frame->SetThemeLink(link);
        bar = new TTeMenuBar(parent);
        bar->SetAlign(alTop);
        bar->SetParent(parent);
        for (const char* caption : {"&File Option", "&Window"}) {
            auto* item = new TTeItem(parent);
            item->SetCaption(Utf8ToWide(caption));
            bar->Items()->Add(item);
        }
        bar->SetThemeLink(link);
        frame->SetMenuBar(bar);
        scope.Finish();
    }
    parent->SetBounds(40, 40, 760, 540);
    parent->Show();
    std::vector<TForm*> children;
    const char* captions[] = {"Module 1", "Module 2", "Module 3"};
    for (int i = 0; i < 3; ++i) {
        auto* child = new TForm(Application);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(captions[i]);
        TTeMDIChild* childFrame = nullptr;
        {
            TLoadingScope scope(child);
            childFrame = new TTeMDIChild(child);
            childFrame->SetThemeLink(link);
            childFrame->SetActive(true);
            scope.Finish();
        }
        child->SetBounds(20 + 150 * i, 20 + 60 * i, 300, 220);
        child->Show();
        ASSERT_TRUE(childFrame->Themed()) << "the skin file defines the child's window";
        children.push_back(child);
    }
    SetForegroundWindow(parent->Handle());
    Settle(parent->Handle());
    ComparedShot(parent->Handle(), "mdi_three_children_dara.png");

    children[1]->SetWindowState(wsMaximized);
    Settle(parent->Handle());
    EXPECT_TRUE(bar->MDISysItem->Visible() && bar->MDICloseButton->Visible());
    ComparedShot(parent->Handle(), "mdi_child_maximized_dara.png");

    // Restored, with a child past the client's right and bottom edges: the
    // skin's scroll bars and the grip between them.
    children[1]->SetWindowState(wsNormal);
    children[2]->SetBounds(560, 360, 300, 220);
    Settle(parent->Handle());
    for (int b : {SB_VERT, SB_HORZ})
        EXPECT_TRUE(frame->MDIScrollHost(b) && frame->MDIScrollHost(b)->Visible());
    EXPECT_FALSE(frame->MDIGripperRect().IsEmpty());
    ComparedShot(parent->Handle(), "mdi_scrolled_dara.png");

    for (TForm* child : children) delete child;
    delete parent;
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the frames");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
