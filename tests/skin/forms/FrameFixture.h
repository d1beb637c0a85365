#pragma once
// What the frame tests share: the UI driver with the theme core, the flat
// theme and the frames' unit started, and a shown form carrying a full or a
// light frame - the classic one or one linked to the flat theme - built as
// form data would build it.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_frame2.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

namespace tarvel::testing {

// The colour of a screen pixel.
inline uint32_t PixelAt(TUiDriver& ui, TPoint screen) {
    return ui.Backend().ScreenPixels()->Pixel(screen.x, screen.y) & 0xFFFFFF;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
    }
    void TearDown() override {
        delete form_;
        form_ = nullptr;
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneThemeCore();
    }

    // A shown 400 x 300 form at (100, 100) whose frame is themed when asked;
    // `setup` sees the frame while the form data is still loading.
    template <class Frame = TTeDefaultForm>
    Frame* MakeForm(bool themed,
                    TTeBorderIcons icons = TTeBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize,
                                                          kbiRollup, kbiTray},
                    TSize size = TSize{400, 300}, const std::function<void(Frame*)>& setup = {}) {
        form_ = new TForm(Application);
        form_->SetCaption("Tarvel frame");
        form_->SetColor(clWhite);
        Frame* frame = nullptr;
        {
            TLoadingScope scope(form_);
            if (themed) {
                auto* link = new TTeThemeLink(form_);
                link->SetThemeBuilding("Flat");
                auto* f = new TTeForm(form_);
                f->SetThemeLink(link);
                frame = dynamic_cast<Frame*>(static_cast<TTeDefaultForm*>(f));
            } else {
                frame = new Frame(form_);
                frame->SetActive(true);
            }
            frame->SetBorderIcons(icons);
            if (setup) setup(frame);
            scope.Finish();
        }
        form_->SetBounds(100, 100, size.cx, size.cy);
        form_->Show();
        ui_.RunUntilIdle();
        return frame;
    }

    // A shown form at (100, 100) with a light frame, drawn from the flat
    // theme when `themed`.
    TTeDefaultForm2* MakeLightForm(TFormBorderStyle style, TBorderIcons icons, bool themed,
                                   TSize size = TSize{360, 240}) {
        form_ = new TForm(Application);
        form_->SetCaption("Port settings");
        form_->SetColor(clYellow);
        form_->SetBorderStyle(style);
        form_->SetBorderIcons(icons);
        TTeDefaultForm2* frame = nullptr;
        {
            TLoadingScope scope(form_);
            if (themed) {
                auto* link = new TTeThemeLink(form_);
                link->SetThemeBuilding("Flat");
                auto* f = new TTeForm2(form_);
                f->SetThemeLink(link);
                frame = f;
            } else {
                frame = new TTeDefaultForm2(form_);
                frame->SetActive(true);
            }
            scope.Finish();
        }
        form_->SetBounds(100, 100, size.cx, size.cy);
        form_->Show();
        ui_.RunUntilIdle();
        return frame;
    }

    // A borderless form in one colour over the screen, to lie behind the
    // form under test; the caller frees it.
    TForm* MakeBackdrop(TColor color) {
        auto* backdrop = new TForm(Application);
        backdrop->SetBorderStyle(bsNone);
        backdrop->SetColor(color);
        backdrop->SetBounds(0, 0, 1024, 700);
        backdrop->Show();
        ui_.RunUntilIdle();
        return backdrop;
    }

    HWND Window() { return form_->Handle(); }
    TRect Bounds() { return WindowRect(Window()); }
    TPoint Screen(TPoint window) { return TPoint{Bounds().left + window.x, Bounds().top + window.y}; }
    static TPoint Centre(const TRect& r) { return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    // Mouse input at window points, the loop run after each step.
    void Down(TPoint window, MouseButton b = MouseButton::Left) {
        const TPoint s = Screen(window);
        ui_.Backend().MouseMove(s);
        ui_.Backend().MouseDown(s, b);
        ui_.RunUntilIdle();
    }
    void MoveScreen(TPoint screen) {
        ui_.Backend().MouseMove(screen);
        ui_.RunUntilIdle();
    }
    void UpScreen(TPoint screen, MouseButton b = MouseButton::Left) {
        ui_.Backend().MouseUp(screen, b);
        ui_.RunUntilIdle();
    }
    int HitCode(TPoint window) {
        return static_cast<int>(SendMessage(Window(), WM_NCHITTEST, 0, PointToLParam(Screen(window))));
    }

    TUiDriver ui_;
    TForm* form_ = nullptr;
};

}  // namespace tarvel::testing
