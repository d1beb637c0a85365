#pragma once
// What the tests of the skinned controls share: the UI driver with the
// theme core and the control bases started, a shown white form to put
// controls on, the mouse on a control, and the pixels a control shows on
// screen.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "platform/gdi/Surface.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {

// A theme link that always gives the same theme.
class TFixedLink : public TteCustomThemeLink {
    TARVEL_CLASS(TFixedLink, TteCustomThemeLink)

public:
    explicit TFixedLink(TteTheme* theme) : TteCustomThemeLink(nullptr), theme_(theme) {}
    TteTheme* GetTheme() override { return theme_; }

private:
    TteTheme* theme_;
};

class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitControlBases();
        form_ = new TForm(Application);
        form_->SetBounds(40, 40, 400, 300);
        form_->SetColor(clWhite);
        form_->Show();
        ui_.RunUntilIdle();
    }
    void TearDown() override {
        delete form_;
        DoneControlBases();
        DoneThemeCore();
    }

    TForm* Form() { return form_; }
    TUiDriver& Ui() { return ui_; }

    // A control of class T on the form, at (left, top).
    template <class T>
    T* Make(int left, int top) {
        T* control = new T(form_);
        control->SetParent(form_);
        control->SetLeft(left);
        control->SetTop(top);
        ui_.RunUntilIdle();
        return control;
    }

public:
    // The left button and the mouse at client points of a control.
    void Down(TControl* c, TPoint p) {
        const TPoint s = c->ClientToScreen(p);
        ui_.Backend().MouseMove(s);
        ui_.Backend().MouseDown(s);
        ui_.RunUntilIdle();
    }
    void MoveTo(TControl* c, TPoint p) {
        ui_.Backend().MouseMove(c->ClientToScreen(p));
        ui_.RunUntilIdle();
    }
    void Up(TControl* c, TPoint p) {
        ui_.Backend().MouseUp(c->ClientToScreen(p));
        ui_.RunUntilIdle();
    }

protected:
    // The control's pixels as the screen shows them (alpha dropped).
    std::vector<uint32_t> Shown(TControl* control) {
        ui_.RunUntilIdle();
        const auto screen = ui_.Backend().ScreenPixels();
        const TPoint origin = control->ClientToScreen(TPoint{0, 0});
        std::vector<uint32_t> pixels;
        for (int y = 0; y < control->Height(); ++y)
            for (int x = 0; x < control->Width(); ++x)
                pixels.push_back(screen->Pixel(origin.x + x, origin.y + y) & 0xFFFFFF);
        return pixels;
    }
    uint32_t ShownAt(TControl* control, int x, int y) {
        ui_.RunUntilIdle();
        const auto screen = ui_.Backend().ScreenPixels();
        const TPoint p = control->ClientToScreen(TPoint{x, y});
        return screen->Pixel(p.x, p.y) & 0xFFFFFF;
    }

    TUiDriver ui_;
    TForm* form_ = nullptr;
};

}  // namespace tarvel::testing
