// The skinned controls through the SDL backend on an Xvfb of their own, with
// the pointer and keyboard of the server: the basic controls, the edits and
// lists, the wrapped grid, log, tree and report, a date picker with its
// calendar open, in the flat look and the tool's skin file (the basic
// controls also office-style), an about box whose "Confirm" button fades
// to its hot face, and a hint fading in. Saved under screenshots/ in the build
// folder, and, but for the fades' frames (clock-bound) and the picker's
// composite, compared with their references.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_hint.h"
#include "skin/extctrls/te_extctrls_datetime.h"
#include "skin/extras/te_extra_effect_button.h"
#include "tests/skin/controls/GalleryForms.h"
#include "tests/skin/extras/AboutBoxForm.h"
#include "tests/skin/extras/xvfb/SkinOnX11Fixture.h"

namespace tarvel {
namespace {

using testing::kLooks;
using testing::Look;
using testing::UseLook;

class ControlsOnX11 : public testing::SkinOnX11 {
protected:
    // A form on the screen in the current look.
    TForm* Show(int width, int height) {
        auto* form = new TForm(Application);
        form->SetCaption("Gallery");
        form->SetColor(clBtnFace);
        form->SetBounds(40, 40, width, height);
        return form;
    }
    // The server's pointer over point p of the control.
    static void PointAt(TControl* control, TPoint p) {
        const TPoint at = control->ClientToScreen(p);
        EXPECT_TRUE(XMovePointer(at.x, at.y));
    }
    // The window `above` as the display shows it over the window `below`,
    // in one picture of `below`'s size.
    void ShotOver(HWND below, HWND above, const std::string& name) {
        const auto picture = sdl->WindowPixels(below);
        const auto top = sdl->WindowPixels(above);
        ASSERT_TRUE(picture && top) << name;
        const TRect a = WindowRect(above), b = WindowRect(below);
        const TPoint at{a.left - b.left, a.top - b.top};
        for (int y = 0; y < top->Height(); ++y)
            for (int x = 0; x < top->Width(); ++x)
                if (picture->BoundsRect().Contains(TPoint{at.x + x, at.y + y}))
                    picture->SetPixel(at.x + x, at.y + y, top->Pixel(x, y));
        EXPECT_TRUE(WritePng(*picture, (dir + "/" + name).c_str())) << name;
    }
    // The pixel the display shows at point p of the control.
    uint32_t ShownAt(TControl* control, TForm* form, TPoint p) {
        const auto pixels = sdl->WindowPixels(form->Handle());
        if (!pixels) return 0;
        const TPoint at = form->ScreenToClient(control->ClientToScreen(p));
        return pixels->Pixel(at.x, at.y);
    }
};

TEST_F(ControlsOnX11, TheBasicControlsWithAHotAndAPressedButton) {
    const Look looks[] = {kLooks[0], {"officexp", "OfficeXP"}, kLooks[1]};
    for (const Look& look : looks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TForm* form = Show(420, 290);
        const testing::BasicGallery g = testing::PlaceBasicControls(form);
        form->Show();
        ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
        g.pressed->SetFocus();
        Settle(form->Handle());
        const uint32_t before = ShownAt(g.hot, form, {4, 4});
        PointAt(g.hot, {20, 12});
        ASSERT_TRUE(XKey("space", true));
        // Long enough for the hover fade to end.
        Run(700);
        EXPECT_TRUE(g.hot->IsHot());
        EXPECT_NE(ShownAt(g.hot, form, {4, 4}), before) << "the hot face shows";
        ComparedShot(form->Handle(), std::string("controls_basic_") + look.suffix + ".png", Pointer::Stays);
        ASSERT_TRUE(XKey("space", false));
        Run(50);
        delete form;

        form = Show(400, 230);
        const testing::ToolGallery tools = testing::PlaceToolControls(form);
        form->Show();
        Settle(form->Handle());
        PointAt(tools.hot, {10, 10});
        Run(300);
        ComparedShot(form->Handle(), std::string("controls_tools_") + look.suffix + ".png", Pointer::Stays);
        delete form;
    }
}

TEST_F(ControlsOnX11, TheEditsAndListsWithAFocusedSelectionAndAHotComboButton) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TForm* form = Show(670, 230);
        const testing::EditGallery g = testing::PlaceEdits(form);
        form->Show();
        ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
        g.focused->SetFocus();
        Settle(form->Handle());
        g.focused->SetSelStart(9);
        g.focused->SetSelLength(4);
        EXPECT_TRUE(g.focused->Focused());
        PointAt(g.hot, {g.hot->GetButtonRect().left + 3, 8});
        Run(300);
        ComparedShot(form->Handle(), std::string("controls_edits_") + look.suffix + ".png", Pointer::Stays);
        delete form;
    }
}

TEST_F(ControlsOnX11, TheGridLogTreeReportAndAnOpenDatePicker) {
    for (const Look& look : kLooks) {
        SCOPED_TRACE(look.suffix);
        UseLook(look);
        TForm* form = Show(640, 400);
        const testing::WrappedGallery g = testing::PlaceWrappedControls(form);
        form->Show();
        Settle(form->Handle());
        EXPECT_TRUE(g.grid->SubScrollBar()->VertBar()->Visible());
        EXPECT_TRUE(g.log->SubScrollBar()->VertBar()->Visible());
        EXPECT_TRUE(g.report->SubScrollBar()->HorzBar()->Visible());
        ComparedShot(form->Handle(), std::string("controls_wrapped_") + look.suffix + ".png");
        delete form;

        form = Show(260, 240);
        auto* picker = testing::Place<TTeDateTimePicker>(form, 20, 20, 160);
        picker->SetDateTime(EncodeDate(2026, 3, 10));
        form->Show();
        Settle(form->Handle());
        auto* calendar = dynamic_cast<TWinControl*>(picker->UiDropDown());
        ASSERT_NE(calendar, nullptr);
        ASSERT_TRUE(picker->DroppedDown());
        Settle(calendar->Handle());
        ShotOver(form->Handle(), calendar->Handle(), std::string("controls_picker_") + look.suffix + ".png");
        picker->CloseUp(false);
        delete form;
    }
}

TEST_F(ControlsOnX11, TheAboutBoxsConfirmButtonFadesToItsHotFace) {
    UseLook(kLooks[0]);
    TForm* form = Show(400, 220);
    TTeEffectButton* confirm = testing::PlaceAboutBox(form);
    form->Show();
    Settle(form->Handle());
    const uint32_t normal = ShownAt(confirm, form, {4, 4});
    // The fade runs 400 ms on the real clock: pictures as near its start,
    // middle and end as the machine allows.
    PointAt(confirm, {40, 14});
    const DWORD start = GetTickCount();
    const std::pair<DWORD, const char*> shots[] = {
        {0, "about_confirm_start.png"}, {200, "about_confirm_middle.png"}, {650, "about_confirm_end.png"}};
    bool ran = false;
    for (const auto& [at, name] : shots) {
        while (GetTickCount() - start < at) {
            Application->ProcessMessages();
            ran = ran || IsAnimating(confirm->RunningSlot());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        Application->ProcessMessages();
        ran = ran || IsAnimating(confirm->RunningSlot());
        Shot(form->Handle(), name);
    }
    EXPECT_TRUE(ran) << "the fade ran";
    EXPECT_TRUE(confirm->IsHot());
    EXPECT_NE(ShownAt(confirm, form, {4, 4}), normal) << "it ends on the hot face";
    delete form;
}

TEST_F(ControlsOnX11, AnInputMethodsPinyinShowsAtTheCaretAndIsEnteredOnce) {
    UseLook(kLooks[1]);
    TForm* form = Show(320, 90);
    auto* edit = new TTeEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 30, 240, 21);
    edit->SetText("Cell ");
    form->Show();
    ASSERT_TRUE(XGiveFocus(sdl->SdlWindowOf(form->Handle())));
    edit->SetFocus();
    Settle(form->Handle());
    edit->SetSelStart(5);
    edit->SetSelLength(0);
    for (const char* preEdit : {"d", "dian", "dian ya"}) {
        ASSERT_TRUE(SdlComposition(preEdit, static_cast<int>(std::strlen(preEdit))));
        Run(60);
    }
    EXPECT_EQ(edit->CompositionText(), u"dian ya");
    EXPECT_EQ(edit->GetText(), "Cell ");
    Run(200);
    ComparedShot(form->Handle(), "controls_edit_composition_dara.png");
    ASSERT_TRUE(SdlCommittedText("电压"));
    ASSERT_TRUE(SdlComposition("", 0));
    Run(100);
    EXPECT_EQ(edit->GetText(), "Cell 电压") << "entered once";
    EXPECT_TRUE(edit->CompositionText().empty());

    // A composition given up enters nothing.
    ASSERT_TRUE(SdlComposition("wen", 3));
    Run(60);
    ASSERT_TRUE(SdlComposition("", 0));
    Run(100);
    EXPECT_EQ(edit->GetText(), "Cell 电压");
    EXPECT_TRUE(edit->CompositionText().empty());
    delete form;
}

TEST_F(ControlsOnX11, AHintFadesInAndItsFrameBlendsItWithTheFormBehind) {
    UseLook(kLooks[1]);
    TForm* form = Show(320, 120);
    form->Show();
    Settle(form->Handle());
    auto* hint = new TTeHint(form);
    hint->Animation()->SetEnabled(true);
    hint->Animation()->SetTime(400);
    hint->Blending()->SetEnabled(true);
    hint->Blending()->SetValue(200);
    hint->Shadow()->SetEnabled(true);
    hint->SetActive(true);
    TTeHintWindow window(nullptr);
    const TRect at = form->BoundsRect();
    TRect bounds = window.CalcHintRect("Pack voltage 51.2 V");
    bounds.Offset(at.left + 60, at.top + 50);
    window.ActivateHint(bounds, "Pack voltage 51.2 V");
    EXPECT_EQ(window.Opacity(), 0) << "not at full strength at once";
    std::vector<uint8_t> steps;
    bool pictured = false;
    const uint32_t start = GetTickCount();
    RunUntil(
        [&] {
            if (steps.empty() || steps.back() != window.Opacity()) steps.push_back(window.Opacity());
            if (!pictured && window.Opacity() > 60 && window.Opacity() < 200) {
                pictured = true;
                EXPECT_TRUE(sdl->SaveScreenPng(dir + "/controls_hint_fading_dara.png"));
            }
            return window.Opacity() == 255;
        },
        3000);
    EXPECT_GE(GetTickCount() - start, 350u) << "over the animation's time";
    EXPECT_EQ(window.Opacity(), 255);
    EXPECT_GE(steps.size(), 4u) << "in steps";
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    Run(100);
    // Faded in: the hint mixed with the form behind it, and its shadow.
    EXPECT_TRUE(ScreenMatchesReferenceNow(at, "controls_hint_faded_dara.png"));
    window.ReleaseHint();
    delete form;
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the skinned controls");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
