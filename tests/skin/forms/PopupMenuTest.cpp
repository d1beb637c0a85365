// Skinned popup menus on a form, driven through the UI driver: where the
// menu opens and how large, one menu open at a time, the frame hosting each
// level with the menu's options, the first window alone taking the show
// animation, and blending over a changing screen with and without a
// compositing manager.

#include "platform/classlib/Timers.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_popup.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

class PopupMenuTest : public FrameTest {
protected:
    TTePopupMenu* MakeMenu(std::initializer_list<const char*> captions) {
        auto* menu = new TTePopupMenu(form_);
        for (const char* c : captions) {
            auto* item = new TTeItem(form_);
            item->SetCaption(Utf8ToWide(c));
            menu->Items()->Add(item);
        }
        return menu;
    }
    static TTePopupWindow* WindowOf(TTePopupMenu* menu) {
        TTeItemView* v = menu->Items()->GetItem(0)->View;
        return v && v->InLoop ? dynamic_cast<TTePopupWindow*>(v->CaptureControl) : nullptr;
    }
};

TEST_F(PopupMenuTest, AMenuOpensAtThePointSizedToItsContentAndASecondMenuClosesTheFirst) {
    MakeForm(true);
    TTePopupMenu* first = MakeMenu({"&Copy", "&Paste", "-", "Select &All"});
    TTePopupMenu* second = MakeMenu({"&Refresh"});
    ui_.Backend().MouseMove(TPoint{20, 20});
    TRect bounds;
    TPoint content;
    TTePopupWindow* firstWindow = nullptr;
    bool firstHidden = false, secondActive = false;
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(50);
    ui_.WhenModal([&] {
        firstWindow = WindowOf(first);
        ASSERT_TRUE(firstWindow);
        bounds = WindowRect(firstWindow->Handle());
        content = TPoint{firstWindow->View()->ContentWidth, firstWindow->View()->ContentHeight};
        // A timer's handler opens the second while the first is open.
        timer.OnTimer = [&](TObject*) {
            timer.SetEnabled(false);
            second->Popup(320, 260);
        };
        timer.SetEnabled(true);
        ui_.Backend().AdvanceClock(60);
    });
    ui_.WhenModal([&] {
        firstHidden = !IsWindowVisible(firstWindow->Handle());
        secondActive = ActivePopupMenu == second && WindowOf(second) != nullptr;
        ui_.PressKey(VK_ESCAPE);
    });
    first->Popup(300, 200);
    const int shadow = 4;
    EXPECT_EQ(bounds, (TRect{300, 200, 300 + content.x + 6 + shadow, 200 + content.y + 6 + shadow}));
    EXPECT_EQ(content.y, 3 * MenuItemHeight + 15);
    EXPECT_TRUE(firstHidden);
    EXPECT_TRUE(secondActive);
    EXPECT_EQ(ActivePopupMenu, nullptr);
    EXPECT_EQ(MenuLoopLevel(), 0);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, OnlyTheFirstWindowTakesTheAnimationAndEveryOneHasAShadow) {
    MakeForm(true);
    TTePopupMenu* menu = MakeMenu({"&More"});
    auto* inner = new TTeItem(form_);
    inner->SetCaption(u"Inner");
    menu->Items()->GetItem(0)->Add(inner);
    menu->PopupMenuOptions()->Animation()->SetEnabled(true);
    menu->PopupMenuOptions()->Shadow()->SetEnabled(false);
    struct Play {
        TPoint at;
        TSize size;
        uint32_t entry, freeCorner;
    };
    std::vector<Play> played;
    SetShowAnimation([&](TCanvas*, int x, int y, TteBitmap*, TteBitmap* image, TteShowAnimationRec*) {
        const int w = image->Width(), h = image->Height();
        played.push_back(Play{{x, y}, {w, h}, image->GetPixel(w / 2, h / 2), image->GetPixel(w - 1, 0)});
    });
    std::vector<bool> animated, shadowed;
    auto look = [&] {
        TTeItemView* v = menu->Items()->GetItem(0)->View;
        while (v->ChildView) v = v->ChildView;
        auto* w = static_cast<TTePopupWindow*>(v->CaptureControl);
        animated.push_back(w->Frame()->TookAnimation());
        shadowed.push_back(w->Frame()->Shadow()->Enabled());
    };
    ui_.WhenModal([&] {
        look();
        ui_.PressKey(VK_RETURN);
    });
    ui_.WhenModal([&] {
        look();
        ui_.PressKey(VK_ESCAPE);
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    EXPECT_EQ(animated, (std::vector<bool>{true, false}));
    EXPECT_EQ(shadowed, (std::vector<bool>{true, true}));
    // The first window played its picture where it opened; the inner one did not.
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].at, (TPoint{300, 200}));
    EXPECT_GT(played[0].size.cx, 20);
    EXPECT_NE(played[0].entry, kShadowKey);
    EXPECT_EQ(played[0].freeCorner, kShadowKey);
    // The next Popup animates its first window again.
    animated.clear();
    ui_.WhenModal([&] {
        look();
        ui_.PressKey(VK_ESCAPE);
    });
    menu->Popup(300, 200);
    EXPECT_EQ(animated, std::vector<bool>{true});
    EXPECT_EQ(played.size(), 2u);
    EXPECT_TRUE(ui_.Problems().empty());
    SetShowAnimation(nullptr);
}

TEST_F(PopupMenuTest, EachLevelIsHostedByAFrameOfItsOwnThatTakesTheMenusOptions) {
    MakeForm(false);
    TTePopupMenu* menu = MakeMenu({"&Copy", "&Paste"});
    auto* link = new TTeThemeLink(form_);
    link->SetThemeBuilding("Flat");
    menu->SetThemeLink(link);
    TTePopupMenuOptions* options = menu->PopupMenuOptions();
    options->Blending()->SetValue(150);
    options->Blending()->SetEnabled(true);
    options->Shadow()->SetSize(6);
    options->Shadow()->SetEnabled(false);  // a menu casts one all the same
    TTePopupForm* frame = nullptr;
    TTePopupWindow* window = nullptr;
    TRect bounds, cb;
    TPoint content;
    ui_.WhenModal([&] {
        window = WindowOf(menu);
        ASSERT_TRUE(window);
        frame = window->Frame();
        bounds = WindowRect(window->Handle());
        content = TPoint{window->View()->ContentWidth, window->View()->ContentHeight};
        EXPECT_EQ(frame->Owner(), window);
        EXPECT_EQ(frame->Window(), window);
        EXPECT_TRUE(frame->Active());
        EXPECT_EQ(frame->GetForm(), window);
        EXPECT_EQ(frame->ThemeLink(), link);
        EXPECT_EQ(frame->OwnerControl(), form_);
        EXPECT_EQ(frame->BorderStyle(), kbsNone);
        EXPECT_FALSE(frame->Dragging()->Sizeable || frame->Dragging()->Moveable);
        EXPECT_TRUE(frame->Blending()->Enabled());
        EXPECT_EQ(frame->Blending()->Value(), 150);
        EXPECT_TRUE(frame->Shadow()->Enabled());
        EXPECT_EQ(frame->Shadow()->Size(), 6);
        EXPECT_FALSE(frame->TookAnimation());
        frame->RememberFormSize(1000, 1000);
        cb = frame->GetClientBounds();
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    // The flat theme's menu edge and the frame's shadow make the window's size.
    EXPECT_EQ(bounds.Width(), content.x + cb.left + 1000 - cb.right + 6);
    EXPECT_EQ(bounds.Height(), content.y + cb.top + 1000 - cb.bottom + 6);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, ActivatingOrClickingTheMenuWindowKeepsTheOwnersCaptionActive) {
    TTeDefaultForm* owner = MakeForm(false);
    TTePopupMenu* menu = MakeMenu({"&Copy"});
    std::vector<bool> kept;
    LRESULT clicked = 0;
    ui_.WhenModal([&] {
        HWND h = WindowOf(menu)->Handle();
        for (UINT msg : {WM_ACTIVATE, WM_MOUSEACTIVATE}) {
            SendMessage(Window(), WM_NCACTIVATE, 0, 0);
            ASSERT_FALSE(owner->FrameActive());
            const LRESULT r = SendMessage(h, msg, msg == WM_ACTIVATE ? WA_ACTIVE : 0, 0);
            if (msg == WM_MOUSEACTIVATE) clicked = r;
            kept.push_back(owner->FrameActive());
        }
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    EXPECT_EQ(kept, (std::vector<bool>{true, true}));
    // A click never takes the keyboard from the owner.
    EXPECT_EQ(clicked, MA_NOACTIVATE);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, WithACompositorABlendedMenuShowsWhatChangesBeneathItWithoutOneTheSnapshot) {
    MakeForm(false);  // white beneath
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    for (bool composing : {true, false}) {
        SCOPED_TRACE(composing ? "compositor" : "none");
        ui_.Backend().SetComposing(composing);
        form_->SetColor(clWhite);
        UpdateWindow(Window());
        TTePopupMenu* menu = MakeMenu({"&Copy", "&Paste"});
        menu->PopupMenuOptions()->Blending()->SetValue(128);
        menu->PopupMenuOptions()->Blending()->SetEnabled(true);
        uint32_t before[2] = {}, after[2] = {};
        bool alphaShown = false;
        ui_.WhenModal([&] {
            HWND h = WindowOf(menu)->Handle();
            alphaShown = ui_.Backend().SurfaceInfo(h).perPixelAlpha;
            const TRect at = WindowRect(h);
            // An entry's ground and the shadow's inner column.
            const TPoint points[2] = {{at.right - 12, at.top + 8}, {at.right - 4, (at.top + at.bottom) / 2}};
            for (int i : {0, 1}) before[i] = PixelAt(ui_, points[i]);
            // What lies beneath turns blue while the menu is open.
            form_->SetColor(clBlue);
            UpdateWindow(Window());
            for (int i : {0, 1}) after[i] = PixelAt(ui_, points[i]);
            ui_.PressKey(VK_ESCAPE);
        });
        ui_.Backend().MouseMove(TPoint{20, 20});
        menu->Popup(300, 200);
        delete menu;
        EXPECT_EQ(alphaShown, composing);
        if (!composing) {
            EXPECT_EQ(after[0], before[0]);
            EXPECT_EQ(after[1], before[1]);
            continue;
        }
        // Half the menu over blue instead of white: red and green lose half
        // of white's, blue keeps it.
        for (int shift : {8, 16}) EXPECT_NEAR(channel(after[0], shift), channel(before[0], shift) - 127, 2);
        EXPECT_NEAR(channel(after[0], 0), channel(before[0], 0), 2);
        // The shadow darkens the blue at half strength.
        EXPECT_NEAR(channel(after[1], 16), 0x3F * 128 / 255, 2);
        EXPECT_NEAR(channel(after[1], 0), (0x3F * 128 + 0xFF * 127) / 255, 2);
    }
    ui_.Backend().SetComposing(false);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, UsingTheMenuKeepsTheOwnersCaptionActive) {
    TTeDefaultForm* frame = MakeForm(false);
    TTePopupMenu* menu = MakeMenu({"&Copy", "-", "&Paste"});
    std::vector<bool> active;
    auto look = [&] { active.push_back(frame->FrameActive() && GetActiveWindow() == Window()); };
    ui_.WhenModal([&] {
        look();
        // A click on the separator chooses nothing and leaves the menu open.
        const TRect sep = menu->Items()->GetItem(1)->ItemRect;
        ui_.ClickAt(WindowOf(menu), TPoint{sep.left + 10, (sep.top + sep.bottom) / 2});
    });
    ui_.WhenModal([&] {
        look();
        ui_.PressKey(VK_ESCAPE);
    });
    SetActiveWindow(Window());
    ui_.RunUntilIdle();
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    look();
    EXPECT_EQ(active, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, ShadowAndBlendingMixTheMenuWithWhatLiesBeneathIt) {
    // The classic frame's client is the form's white.
    MakeForm(false);
    auto channel = [](uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    std::vector<uint32_t> runs[2];
    TRect at;
    for (bool blended : {false, true}) {
        TTePopupMenu* menu = MakeMenu({"&Copy", "&Paste"});
        menu->PopupMenuOptions()->Blending()->SetValue(128);
        menu->PopupMenuOptions()->Blending()->SetEnabled(blended);
        ui_.WhenModal([&] {
            at = WindowRect(WindowOf(menu)->Handle());
            const auto screen = ui_.Backend().ScreenPixels();
            const int midY = (at.top + at.bottom) / 2;
            // Edge, an entry's ground, the shadow's inner and outer columns.
            for (TPoint p : {TPoint{at.left + 1, at.top + 1}, TPoint{at.right - 12, at.top + 8},
                             TPoint{at.right - 4, midY}, TPoint{at.right - 1, midY}})
                runs[blended].push_back(screen->Pixel(p.x, p.y));
            ui_.PressKey(VK_ESCAPE);
        });
        ui_.Backend().MouseMove(TPoint{20, 20});
        menu->Popup(300, 200);
        delete menu;
    }
    const std::vector<uint32_t>& opaque = runs[0];
    const std::vector<uint32_t>& blended = runs[1];
    ASSERT_EQ(blended.size(), 4u);
    for (int shift : {0, 8, 16}) {
        // The shadow darkens the white beneath at half strength inside, faintly outside.
        EXPECT_NEAR(channel(opaque[2], shift), (0x3F * 128 + 0xFF * 127) / 255, 2);
        EXPECT_NEAR(channel(opaque[3], shift), (0x3F * 8 + 0xFF * 247) / 255, 2);
        // Blended, the menu is half its own colour and half the white beneath.
        for (int i : {0, 1})
            EXPECT_NEAR(channel(blended[i], shift), (channel(opaque[i], shift) * 128 + 0xFF * 127) / 255, 2)
                << i;
    }
    EXPECT_NE(opaque[0], blended[0]);
}

TEST_F(PopupMenuTest, TheFrameSizesPaintsAndCopiesTheMenusWindowThroughItsMessages) {
    MakeForm(false);
    auto* link = new TTeThemeLink(form_);
    link->SetThemeBuilding("Flat");
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "flat" : "classic");
        TTePopupMenu* menu = MakeMenu({"&Copy", "&Paste"});
        if (themed) menu->SetThemeLink(link);
        TRect window, client, cb;
        uint32_t edgeBefore = 0, edgeAfter = 0, shadowBefore = 0, shadowAfter = 0;
        LRESULT copied = 0;
        int differing = -1;
        std::vector<LRESULT> hits;
        ui_.WhenModal([&] {
            TTePopupWindow* w = WindowOf(menu);
            HWND h = w->Handle();
            TTePopupForm* frame = w->Frame();
            window = WindowRect(h);
            const TPoint origin = w->ClientToScreen(TPoint{0, 0});
            client = ::tarvel::Bounds(origin.x, origin.y, w->ClientWidth(), w->ClientHeight());
            cb = frame->GetClientBounds();
            // The edge and the shadow are the frame's to paint: spoil both,
            // then ask for the non-client area again.
            const TPoint edge{window.left + 1, window.top + 1}, shadow{window.right - 2, window.top + 20};
            edgeBefore = PixelAt(ui_, edge);
            shadowBefore = PixelAt(ui_, shadow);
            // The menu has no caption or border for the mouse: a press on its
            // edge is a press in the menu, never one outside it.
            for (TPoint p : {edge, TPoint{window.right - 6, window.bottom - 6},
                             TPoint{window.left + 20, window.top + 8}})
                hits.push_back(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
            HDC dc = GetWindowDC(h);
            {
                CanvasOnDc on(dc);
                FillRect(on.canvas, TRect{0, 0, window.Width(), window.Height()}, clRed);
            }
            ReleaseDC(h, dc);
            SendMessage(h, WM_NCPAINT, 1, 0);
            edgeAfter = PixelAt(ui_, edge);
            shadowAfter = PixelAt(ui_, shadow);
            // Painted into a bitmap, the menu is what the screen shows.
            ::tarvel::InvalidateRect(h, nullptr, true);
            UpdateWindow(h);
            TteBitmap picture;
            picture.SetSize(frame->FormWidth(), frame->FormHeight());
            copied = SendMessage(h, CM_PAINTTOBITMAP, 0, static_cast<LPARAM>(picture.DC().Value()));
            differing = 0;
            const auto screen = ui_.Backend().ScreenPixels();
            for (int y = 0; y < picture.Height(); ++y)
                for (int x = 0; x < picture.Width(); ++x)
                    if ((picture.GetPixel(x, y) & 0xFFFFFF) !=
                        (screen->Pixel(window.left + x, window.top + y) & 0xFFFFFF))
                        ++differing;
            ui_.PressKey(VK_ESCAPE);
        });
        ui_.Backend().MouseMove(TPoint{20, 20});
        menu->Popup(300, 200);
        // The client area lies inside the menu's edge; the shadow is non-client.
        const int shadow = 4;
        if (!themed) EXPECT_EQ(cb, (TRect{3, 3, window.Width() - shadow - 3, window.Height() - shadow - 3}));
        EXPECT_GT(cb.left, 0);
        EXPECT_EQ(client, (TRect{window.left + cb.left, window.top + cb.top, window.left + cb.right,
                                 window.top + cb.bottom}));
        EXPECT_NE(edgeBefore, static_cast<uint32_t>(clRed));
        EXPECT_EQ(edgeAfter, edgeBefore);
        EXPECT_EQ(shadowAfter, shadowBefore);
        EXPECT_EQ(copied, 1);
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(hits, (std::vector<LRESULT>{HTCLIENT, HTCLIENT, HTCLIENT}));
        delete menu;
    }
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, InvalidatingTheViewRepaintsTheMenuBeforeAnyMessageIsServed) {
    MakeForm(false);
    TTePopupMenu* menu = MakeMenu({"&Copy", "&Paste"});
    uint32_t before = 0, spoiled = 0, after = 0;
    ui_.WhenModal([&] {
        TTePopupWindow* w = WindowOf(menu);
        const TRect entry = menu->Items()->GetItem(1)->ItemRect;
        const TPoint at = w->ClientToScreen(TPoint{entry.right - 4, (entry.top + entry.bottom) / 2});
        before = PixelAt(ui_, at);
        HDC dc = GetDC(w->Handle());
        {
            CanvasOnDc on(dc);
            FillRect(on.canvas, TRect{0, 0, w->ClientWidth(), w->ClientHeight()}, clRed);
        }
        ReleaseDC(w->Handle(), dc);
        spoiled = PixelAt(ui_, at);
        w->View()->InvalidateView();
        after = PixelAt(ui_, at);
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.Backend().MouseMove(TPoint{20, 20});
    menu->Popup(300, 200);
    EXPECT_EQ(spoiled, 0xFF0000u);
    EXPECT_NE(before, spoiled);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(PopupMenuTest, TheMenuWindowTracksNoSmallerThan20By20UnlessItIsBeingRead) {
    MakeForm(false);
    auto* root = new TTeItem(form_);
    auto* entry = new TTeItem(form_);
    entry->SetCaption(u"&Copy");
    root->Add(entry);
    auto* window = new TTePopupWindow(form_, root, nullptr);
    window->Constraints()->SetMaxWidth(300);
    window->HandleNeeded();
    HWND h = window->Handle();
    auto ask = [&] {
        MINMAXINFO mmi;
        mmi.ptMinTrackSize = TPoint{1, 1};
        mmi.ptMaxTrackSize = TPoint{5000, 5000};
        SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        return mmi;
    };
    MINMAXINFO mmi = ask();
    EXPECT_EQ(mmi.ptMinTrackSize, (TPoint{20, 20}));
    // The class library's answer stays: the window's constraints.
    EXPECT_EQ(mmi.ptMaxTrackSize, (TPoint{300, 5000}));
    // The frame moves the window no smaller, nor wider than it may be.
    window->Frame()->MoveWindow(40, 50, 5, 8);
    EXPECT_EQ(WindowRect(h), (TRect{40, 50, 60, 70}));
    window->Frame()->MoveWindow(40, 50, 900, 30);
    EXPECT_EQ(WindowRect(h).Width(), 300);
    {
        TLoadingScope reading(window);
        mmi = ask();
    }
    EXPECT_EQ(mmi.ptMinTrackSize, (TPoint{1, 1}));
    delete window;
    EXPECT_TRUE(ui_.Problems().empty());
}

}  // namespace
}  // namespace tarvel::testing
