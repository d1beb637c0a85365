#pragma once
// A theme that notes which element, state and rectangle each control asks
// it for, and fills every face with a colour of its state so the screen
// tells the states apart; and the fixture of the control tests.

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/classlib/ImageLists.h"
#include "skin/controls/te_controls_button.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_resources.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel::testing {

struct TThemeCall {
    String op;  // "ButtonDraw", "ButtonDrawText", "CheckDraw" ...
    int state = 0;
    TRect rect;
    String object;
    WideString text;
    std::vector<uint32_t> glyph;  // ButtonDrawGlyph: the glyph's pixels, row by row
};

// The font a text was drawn in.
struct TFontSeen {
    String name;
    int size = 0;
    bool bold = false;
    bool italic = false;
    TColor colour = clNone;
};

// The pixels of a glyph a theme is asked to draw, row by row.
inline std::vector<uint32_t> PixelsOf(const TteBitmap* bitmap) {
    std::vector<uint32_t> out;
    if (!bitmap) return out;
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) out.push_back(bitmap->GetPixel(x, y));
    return out;
}

// An image list of 16 x 16 images, one per colour: a 12 x 12 square of the
// colour on a transparent fuchsia ring, so both the colour and the
// transparent edge of an image can be told apart in a glyph.
inline TImageList* SquareImages(TComponent* owner, std::initializer_list<TColor> colours) {
    auto* list = new TImageList(owner);
    list->SetSize(16, 16);
    for (TColor colour : colours) {
        TBitmap image(16, 16);
        FillRect(*image.Canvas(), TRect{0, 0, 16, 16}, clFuchsia);
        FillRect(*image.Canvas(), TRect{2, 2, 14, 14}, colour);
        list->AddMasked(&image, clFuchsia);
    }
    return list;
}

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
    void ButtonDrawText(TteButtonSubclass, TCanvas& c, const TteButtonInfo& info, const TteTextInfo& text,
                        const String& obj) override {
        NoteFont(c);
        calls_.push_back({"ButtonDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }
    void ButtonDrawGlyph(TteButtonSubclass, TCanvas&, const TteButtonInfo& info, const TteGlyphInfo& glyph,
                         const String& obj) override {
        calls_.push_back({"ButtonDrawGlyph", info.DrawState, glyph.Rect, obj, {}, PixelsOf(glyph.Bitmap)});
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
    void LabelDrawText(TteLabelSubclass, TCanvas& c, TteLabelInfo info, const TteTextInfo& text,
                       const String& obj) override {
        NoteFont(c);
        calls_.push_back({"LabelDrawText", info.DrawState, text.Rect, obj, text.Text, {}});
    }

    // The fonts of the button and label texts, in the order drawn.
    const std::vector<TFontSeen>& TextFonts() const { return fonts_; }

private:
    void NoteFont(TCanvas& c) {
        TFont& f = *c.Font();
        fonts_.push_back(
            {f.Name(), f.Size(), f.Style().Contains(fsBold), f.Style().Contains(fsItalic), f.Color()});
    }

    std::vector<TThemeCall> calls_;
    std::vector<TFontSeen> fonts_;
};

// The shared control fixture, which also frees the push button's stock
// glyphs, and puts a recording theme in place on request.
class SkinControlsTest : public SkinControlTest {
protected:
    // The forms' unit too: the edits' context menus are skinned popup menus.
    void SetUp() override {
        SkinControlTest::SetUp();
        InitForms();
    }
    void TearDown() override {
        SkinControlTest::TearDown();
        DoneForms();
        DoneButtonGlyphs();
    }

    // Makes a recording theme current; the manager owns it.
    TRecordingTheme* UseRecordingTheme() {
        auto* theme = new TRecordingTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->Calls().clear();
        return theme;
    }

    // Lets pending work settle, then records one fresh paint of the control.
    void RepaintRecorded(TRecordingTheme* theme, TControl* control) {
        ui_.RunUntilIdle();
        theme->Calls().clear();
        control->Invalidate();
        ui_.RunUntilIdle();
    }
};

}  // namespace tarvel::testing
