// The menu bar on a framed form, driven through the UI driver: its height
// follows its items, Alt+letter, F10 and Alt alone enter it, the arrows
// move across its menus, and short-cuts reach its items.

#include <filesystem>

#include "platform/classlib/ActnList.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/winsys/PaintApi.h"
#include "skin/forms/te_forms_bandhost.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_popup.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "tests/skin/PaperFixture.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

// A band container as the menus know it: the real one, the control bar,
// belongs to a layer above them.
class TBandSite : public TTeControl, public TTeBandHost {
    TARVEL_CLASS(TBandSite, TTeControl)

public:
    using TTeControl::TTeControl;
};

// Notes the menu-bar and tool elements the bar's entries draw with.
class TItemRecordingTheme : public TteTheme {
    TARVEL_CLASS(TItemRecordingTheme, TteTheme)

public:
    struct TCall {
        String op;
        int state;
        TRect rect;
        bool operator==(const TCall&) const = default;
    };
    std::vector<TCall> Calls;
    std::vector<TCall> Of(const String& op) const {
        std::vector<TCall> out;
        for (const TCall& c : Calls)
            if (c.op == op) out.push_back(c);
        return out;
    }

    bool IsToolDefined(TteToolSubclass, const String&) override { return true; }
    bool IsMenuDefined(TteMenuSubclass s, const String&) override { return s == kmscMenuBar; }
    void ToolDrawItem(TteToolSubclass, TCanvas&, const TteToolItemInfo& info, const String&) override {
        Calls.push_back({"Tool", info.DrawState, info.Rect});
    }
    void ToolDrawItemText(TteToolSubclass, TCanvas&, const TteToolItemInfo& info, const TteTextInfo&,
                          const String&) override {
        Calls.push_back({"ToolText", info.DrawState, info.Rect});
    }
    void MenuDrawItem(TteMenuSubclass s, TCanvas&, const TteMenuItemInfo& info, const String&) override {
        if (s == kmscMenuBar) Calls.push_back({"MenuBar", info.DrawState, info.Rect});
    }
};

class MenuBarTest : public FrameTest {
protected:
    // The main window's bar: four menus, each with a few entries; on a
    // form with the light frame when `light`; given to the full frame while
    // the form data are read when `whileLoading`.
    TTeMenuBar* MakeBar(bool themed, bool light = false, bool whileLoading = false) {
        auto early = [this](TTeDefaultForm* frame) {
            bar_ = new TTeMenuBar(form_);
            frame->SetMenuBar(bar_);
        };
        TTeDefaultForm* frame =
            light ? MakeLightForm(bsSizeable, TBorderIcons{biSystemMenu, biMinimize, biMaximize}, themed,
                                  TSize{520, 360})
                  : MakeForm(themed, TTeBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize},
                             TSize{520, 360}, whileLoading ? early : std::function<void(TTeDefaultForm*)>{});
        if (!whileLoading) bar_ = new TTeMenuBar(form_);
        if (auto* skinned = dynamic_cast<TTeForm*>(frame)) bar_->SetThemeLink(skinned->ThemeLink());
        bar_->SetAlign(alTop);
        bar_->SetParent(form_);
        file_ = Add(bar_->Items(), "&File Option");
        Add(file_, "&Open Records...");
        TTeItem* recent = Add(file_, "&Recent");
        Add(recent, "Module A.csv");
        Add(recent, "Module B.csv");
        Add(file_, "-");
        Add(file_, "E&xit");
        port_ = Add(bar_->Items(), "&Port Setting");
        Add(port_, "&Serial Port...");
        Add(port_, "&Connect");
        TTeItem* version = Add(bar_->Items(), "&Version Exchange");
        Add(version, "&Read Version");
        Add(version, "&Write Version");
        about_ = Add(bar_->Items(), "&About Project");
        Add(about_, "&About...");
        hidden_ = Add(about_, "&Check");
        hidden_->SetVisible(false);
        hidden_->ShortCut = static_cast<TShortCut>('C' | scCtrl | scAlt);
        hidden_->OnClick = [this](TObject*) { ++checks_; };
        frame->SetMenuBar(bar_);
        edit_ = new TEdit(form_);
        edit_->SetParent(form_);
        // Away from where the menus open, so the mouse rests on none of them.
        edit_->SetBounds(300, 280, 200, 21);
        ui_.RunUntilIdle();
        ui_.Click(edit_);
        return bar_;
    }
    TTeItem* Add(TTeItem* parent, const char* caption) {
        auto* item = new TTeItem(form_);
        item->SetCaption(Utf8ToWide(caption));
        parent->Add(item);
        return item;
    }
    // The items of the innermost open menu level, or null.
    TTeItem* OpenMenu() {
        TTeItemView* v = bar_->View();
        while (v->ChildView) v = v->ChildView;
        return v == bar_->View() ? nullptr : v->RootItem;
    }

    TTeMenuBar* bar_ = nullptr;
    TTeItem* file_ = nullptr;
    TTeItem* port_ = nullptr;
    TTeItem* about_ = nullptr;
    TTeItem* hidden_ = nullptr;
    TEdit* edit_ = nullptr;
    int checks_ = 0;
};

TEST_F(MenuBarTest, TheHeightFollowsTheItemsAndTheMarginsOfTheBar) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "flat theme" : "classic");
        TTeMenuBar* bar = MakeBar(themed);
        const TRect view = bar->GetViewRect();
        const int margins = view.top + (bar->Height() - view.bottom);
        if (!themed) {
            EXPECT_EQ(margins, 2) << "room for the bevel below the items";
        }
        EXPECT_EQ(bar->Height(), bar->View()->ContentHeight + margins);
        EXPECT_GT(bar->View()->ContentHeight, 0);
        // The four menus stand in one row, left to right.
        TRect last{};
        for (TTeItem* item : {file_, port_, about_}) {
            EXPECT_EQ(item->ItemRect.top, view.top);
            EXPECT_GE(item->ItemRect.left, last.right);
            last = item->ItemRect;
        }
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(MenuBarTest, ItemsAddedAfterTheThemeLinkTakeIt) {
    MakeBar(true);
    TteCustomThemeLink* link = bar_->ThemeLink();
    ASSERT_NE(link, nullptr);
    TTeItem* late = Add(port_, "&Disconnect");
    TTeItem* lateMenu = Add(bar_->Items(), "&Help");
    Add(lateMenu, "&Index");
    for (TTeItem* item :
         {file_, file_->GetItem(1)->GetItem(0), hidden_, late, lateMenu, lateMenu->GetItem(0)})
        EXPECT_EQ(item->ThemeLink(), link) << WideToUtf8(item->Caption());
}

TEST_F(MenuBarTest, AltWithALetterOpensThatMenuAndTheArrowsMoveAcrossTheMenus) {
    MakeBar(true);
    std::vector<TTeItem*> open;
    auto look = [&](UINT next) {
        ui_.WhenModal([&, next] {
            open.push_back(OpenMenu());
            ui_.PressKey(next);
        });
    };
    look(VK_RIGHT);
    look(VK_LEFT);
    look(VK_LEFT);  // from the first menu round to the last
    look(VK_ESCAPE);
    ui_.WhenModal([&] {
        open.push_back(OpenMenu());
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.PressKey('F', {ssAlt});
    EXPECT_EQ(open, (std::vector<TTeItem*>{file_, port_, file_, about_, nullptr}));
    EXPECT_EQ(MenuLoopLevel(), 0);
    EXPECT_EQ(ActivePopupMenu, nullptr);
    EXPECT_TRUE(ui_.Problems().empty()) << ui_.Problems().front();
}

TEST_F(MenuBarTest, F10AndAltAloneEnterTheBarWithoutASystemMenuAfterwards) {
    const struct {
        const char* name;
        bool light, themed;
    } frames[] = {
        {"full frame", false, true}, {"light frame", true, true}, {"classic light frame", true, false}};
    for (const auto& f : frames)
        for (UINT key : {UINT{VK_F10}, UINT{VK_MENU}}) {
            SCOPED_TRACE(std::string(f.name) + " key " + std::to_string(key));
            MakeBar(f.themed, f.light);
            ASSERT_TRUE(GetParentQvForm(bar_)) << "the frame is hooked";
            TTeItem* hot = nullptr;
            int level = 0;
            ui_.WhenModal([&] {
                hot = bar_->View()->HotItem;
                level = MenuLoopLevel();
                ui_.PressKey(VK_ESCAPE);
            });
            ui_.PressKey(key);
            EXPECT_EQ(hot, file_);
            EXPECT_EQ(level, 1) << "the bar alone, no menu open";
            // A system menu after the bar would have waited with nothing to do.
            EXPECT_TRUE(ui_.Problems().empty());
            EXPECT_EQ(MenuLoopLevel(), 0);
            EXPECT_EQ(ActivePopupMenu, nullptr);
            delete form_;
            form_ = nullptr;
        }
}

TEST_F(MenuBarTest, CtrlAltShortCutsReachHiddenItemsOfTheBar) {
    for (bool whileLoading : {false, true}) {
        SCOPED_TRACE(whileLoading ? "bar set while loading" : "bar set after loading");
        checks_ = 0;
        MakeBar(false, false, whileLoading);
        ui_.PressKey('C', {ssCtrl, ssAlt});
        ui_.RunUntilIdle();
        EXPECT_EQ(checks_, 1);
        hidden_->SetEnabled(false);
        ui_.PressKey('C', {ssCtrl, ssAlt});
        ui_.RunUntilIdle();
        EXPECT_EQ(checks_, 1);
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(MenuBarTest, OnABandContainerTheEntriesAreToolButtonsOverItsFace) {
    MakeBar(false);
    auto* theme = new TItemRecordingTheme();
    ChangeTheme(theme);
    auto repaint = [&] {
        ui_.RunUntilIdle();
        theme->Calls.clear();
        bar_->Invalidate();
        ui_.RunUntilIdle();
    };
    repaint();
    EXPECT_EQ(theme->Of("MenuBar").size(), 4u);
    EXPECT_TRUE(theme->Of("Tool").empty());
    EXPECT_FALSE(file_->IsToolbar());

    auto* site = new TBandSite(form_);
    site->SetColor(clRed);
    site->SetAlign(alTop);
    site->SetHeight(40);
    site->SetParent(form_);
    bar_->SetAlign(alNone);
    bar_->SetAutoSize(false);
    bar_->SetParent(site);
    bar_->SetBounds(20, 5, 480, bar_->Height());
    bar_->ItemsChanged();
    EXPECT_TRUE(file_->IsToolbar());
    repaint();
    EXPECT_TRUE(theme->Of("MenuBar").empty());
    using Calls = std::vector<TItemRecordingTheme::TCall>;
    Calls normal;
    for (TTeItem* item : {file_, port_, port_->Parent()->GetItem(2), about_})
        normal.push_back({"Tool", mtidsNormal, item->ItemRect});
    EXPECT_EQ(theme->Of("Tool"), normal);
    EXPECT_EQ(theme->Of("ToolText").size(), 4u);

    // Hovered outside the loop the entry is hot; the whole bar repaints.
    theme->Calls.clear();
    ui_.Backend().MouseMove(bar_->ClientToScreen(Centre(port_->ItemRect)));
    ui_.RunUntilIdle();
    EXPECT_EQ(theme->Of("Tool").size(), 4u);
    EXPECT_EQ(theme->Of("Tool")[1], (TItemRecordingTheme::TCall{"Tool", mtidsHot, port_->ItemRect}));
    // Inside the loop the open entry is pressed.
    Calls open;
    ui_.WhenModal([&] {
        theme->Calls.clear();
        bar_->Invalidate();
        UpdateWindow(bar_->Handle());
        open = theme->Of("Tool");
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.WhenModal([&] { ui_.PressKey(VK_ESCAPE); });
    ui_.PressKey('F', {ssAlt});
    ASSERT_EQ(open.size(), 4u);
    EXPECT_EQ(open[0], (TItemRecordingTheme::TCall{"Tool", mtidsPressed, file_->ItemRect}));
    // The bar shows the container's face where no entry stands.
    ui_.RunUntilIdle();
    const TPoint free = bar_->ClientToScreen(TPoint{bar_->Width() - 2, 1});
    EXPECT_EQ(ui_.Backend().ScreenPixels()->Pixel(free.x, free.y) & 0xFFFFFF, Rgb(clRed));
    EXPECT_TRUE(ui_.Problems().empty());
}

TEST_F(MenuBarTest, BetweenBeginAndEndUpdateNothingRepaintsAndTheLastEndRepaintsTheWholeBar) {
    MakeBar(false);
    auto* theme = new TItemRecordingTheme();
    ChangeTheme(theme);
    ui_.RunUntilIdle();
    theme->Calls.clear();
    bar_->BeginUpdate();
    bar_->BeginUpdate();
    ui_.Backend().MouseMove(bar_->ClientToScreen(Centre(port_->ItemRect)));
    ui_.RunUntilIdle();
    EXPECT_TRUE(theme->Calls.empty()) << "a hover change while updating repaints nothing";
    bar_->EndUpdate();
    ui_.RunUntilIdle();
    EXPECT_TRUE(theme->Calls.empty()) << "still one update open";
    bar_->EndUpdate();
    ui_.RunUntilIdle();
    EXPECT_EQ(theme->Of("MenuBar").size(), 4u) << "the whole bar, once";
    EXPECT_EQ(bar_->UpdateCount(), 0);
    theme->Calls.clear();
    ui_.Backend().MouseMove(bar_->ClientToScreen(Centre(file_->ItemRect)));
    ui_.RunUntilIdle();
    EXPECT_FALSE(theme->Of("MenuBar").empty()) << "outside an update the hover repaints";
    bar_->EndUpdate();
    EXPECT_EQ(bar_->UpdateCount(), 0) << "an unmatched end does not go below zero";
}

TEST_F(MenuBarTest, OnlyAThemeObjectOtherThanDefaultLaysTheItemsOutAgain) {
    MakeBar(false);
    const TRect laidOut = file_->ItemRect;
    const TRect marker{0, 0, 1, 1};
    file_->ItemRect = marker;
    bar_->SetThemeObject("Other");
    EXPECT_EQ(file_->ItemRect, laidOut);
    file_->ItemRect = marker;
    bar_->SetThemeObject("default");
    EXPECT_EQ(bar_->ThemeObject(), "default");
    EXPECT_EQ(file_->ItemRect, marker) << "the default object keeps the layout";
}

TEST_F(MenuBarTest, TheTopLevelEntriesUpdateTheirActionsWhileTheApplicationIdles) {
    MakeBar(false);
    auto* action = new TAction(form_);
    int updates = 0;
    action->OnUpdate = [&](TObject*) {
        ++updates;
        action->SetEnabled(false);
    };
    port_->SetAction(action);
    Application->OnIdle = [](TObject*, bool& done) { done = false; };
    Application->Idle();
    Application->OnIdle = nullptr;
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(port_->Enabled());
}

TEST_F(MenuBarTest, AScreenshotShowsTheBarWithAnOpenMenuAndASubMenu) {
    MakeBar(true);
    const std::filesystem::path dir = std::filesystem::path(TARVEL_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    bool saved = false;
    TTeItem* inner = nullptr;
    ui_.WhenModal([&] {
        ui_.PressKey(VK_DOWN);
        ui_.PressKey(VK_RETURN);  // Recent
    });
    ui_.WhenModal([&] {
        inner = OpenMenu();
        // What waits to be painted is painted before the picture is taken.
        UpdateWindow(form_->Handle());
        UpdateWindow(bar_->Handle());
        for (TTeItemView* v = bar_->View()->ChildView; v; v = v->ChildView)
            UpdateWindow(v->CaptureControl->Handle());
        saved = ui_.Backend().SaveScreenPng((dir / "menubar_flat.png").string());
        ui_.PressKey(VK_ESCAPE);
    });
    ui_.WhenModal([&] { ui_.PressKey(VK_ESCAPE); });
    ui_.WhenModal([&] { ui_.PressKey(VK_ESCAPE); });
    ui_.PressKey('F', {ssAlt});
    EXPECT_TRUE(saved);
    EXPECT_EQ(inner, file_->GetItem(1));
    EXPECT_TRUE(ui_.Problems().empty());
}

}  // namespace
}  // namespace tarvel::testing
