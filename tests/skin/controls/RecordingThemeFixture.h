#pragma once
// A theme that notes which element, state and rectangle each control asks
// it for, and fills every face with a colour of its state so the screen
// tells the states apart; and the fixture of the control tests: the window
// system on the test clock, the theme core, a shown form.

#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {

struct TThemeCall {
    String op;  // "ButtonDraw", "ButtonDrawText", "CheckDraw" ...
    int state = 0;
    TRect rect;
    String object;
    WideString text;
    std::vector<uint32_t> glyph;  // ButtonDrawGlyph: the glyph's pixels, row by row
};

class TRecordingTheme : public TteTheme {
    TARVEL_CLASS(TRecordingTheme, TteTheme)

public:
    // The face colour of a button state: distinct per state.
    static TColor FaceColor(int state) { return TColor(0x102030 + state * 0x0F0F00); }

    std::vector<TThemeCall>& Calls() { return calls_; }
    std::vector<TThemeCall> CallsOf(const String& op) const {
        std::vector<TThemeCall> out;
        for (const TThemeCall& c : calls_)
            if (c.op == op) out.push_back(c);
        return out;
    }

    bool IsButtonDefined(TteButtonSubclass, const String&) override { return true; }
    bool IsButtonTransparent(TteButtonSubclass, const String&) override { return false; }
    void ButtonDraw(TteButtonSubclass, TCanvas& c, const TteButtonInfo& info, const String& obj) override {
        calls_.push_back({"ButtonDraw", info.DrawState, info.Rect, obj, {}, {}});
        FillRect(c, info.Rect, FaceColor(info.DrawState));
    }
    void ButtonDrawText(TteButtonSubclass, TCanvas&, const TteButtonInfo& info, const TteTextInfo& text,
                        const String& obj) override {
        calls_.push_back({"ButtonDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }
    void ButtonDrawGlyph(TteButtonSubclass, TCanvas&, const TteButtonInfo& info, const TteGlyphInfo& glyph,
                         const String& obj) override {
        TThemeCall call{"ButtonDrawGlyph", info.DrawState, glyph.Rect, obj, {}, {}};
        if (glyph.Bitmap)
            for (int y = 0; y < glyph.Bitmap->Height(); ++y)
                for (int x = 0; x < glyph.Bitmap->Width(); ++x)
                    call.glyph.push_back(glyph.Bitmap->GetPixel(x, y));
        calls_.push_back(call);
    }

    bool IsCheckDefined(TteCheckSubclass, const String&) override { return true; }
    bool IsCheckTransparent(TteCheckSubclass, const String&) override { return false; }
    void CheckDraw(TteCheckSubclass s, TCanvas&, const TteCheckInfo& info, const String& obj) override {
        calls_.push_back(
            {s == kcscCheckBox ? "CheckDraw" : "RadioDraw", info.DrawState, info.Rect, obj, {}, {}});
    }
    void CheckDrawText(TteCheckSubclass, TCanvas&, const TteCheckInfo& info, const TteTextInfo& text,
                       const String& obj) override {
        calls_.push_back({"CheckDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }
    TSize CheckGetSize(TteCheckSubclass, const String&) override { return TSize{15, 15}; }

    bool IsGroupDefined(TteGroupSubclass, const String&) override { return true; }
    bool IsGroupTransparent(TteGroupSubclass, const String&) override { return false; }
    void GroupDraw(TteGroupSubclass, TCanvas&, const TteGroupInfo& info, const String& obj) override {
        calls_.push_back({"GroupDraw", info.DrawState, info.Rect, obj, {}, {}});
    }
    void GroupDrawText(TteGroupSubclass, TCanvas&, const TteGroupInfo& info, const TteTextInfo& text,
                       const String& obj) override {
        calls_.push_back({"GroupDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }

    bool IsLabelDefined(TteLabelSubclass, const String&) override { return true; }
    void LabelDrawText(TteLabelSubclass, TCanvas&, TteLabelInfo info, const TteTextInfo& text,
                       const String& obj) override {
        calls_.push_back({"LabelDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }

private:
    std::vector<TThemeCall> calls_;
};

class SkinControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitControlBases();
        form_ = new TForm(Application);
        form_->SetBounds(40, 40, 400, 300);
        form_->Show();
        ui_.RunUntilIdle();
    }
    void TearDown() override {
        delete form_;
        DoneButtonGlyphs();
        DoneControlBases();
        DoneThemeCore();
    }

    // Makes a recording theme current; the manager owns it.
    TRecordingTheme* UseRecordingTheme() {
        auto* theme = new TRecordingTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        return theme;
    }

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
