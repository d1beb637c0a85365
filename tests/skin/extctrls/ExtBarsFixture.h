#pragma once
// What the tests of the tool bar, the sliders and the header share: the
// skinned-control fixture with the tool bar's background painter, and a
// theme that notes which track, header and bar parts it was asked to draw.

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "tests/skin/core/SkinControlFixture.h"

namespace tarvel::testing {

struct TPartCall {
    String op;
    int state = 0;
    TRect rect;
    int kind = 0;  // the thumb or bar class, the section position
};

class TPartRecordingTheme : public TteTheme {
    TARVEL_CLASS(TPartRecordingTheme, TteTheme)

public:
    std::vector<TPartCall> Calls;
    std::vector<String> Ops() const {
        std::vector<String> out;
        for (const TPartCall& c : Calls) out.push_back(c.op);
        return out;
    }

    bool IsTrackDefined(TteTrackSubclass, const String&) override { return true; }
    bool IsTrackTransparent(TteTrackSubclass, const String&) override { return false; }
    void TrackBarDraw(TteTrackSubclass, TCanvas&, const TteTrackBarInfo& info, const String&) override {
        Calls.push_back({"TrackBarDraw", info.DrawState, info.Rect, info.BarClass});
    }
    void TrackDrawThumb(TteTrackSubclass, TCanvas&, const TteTrackThumbInfo& info, const String&) override {
        Calls.push_back({"TrackDrawThumb", info.DrawState, info.Rect, info.ThumbClass});
    }

    bool IsHeaderDefined(TteHeaderSubclass, const String&) override { return true; }
    void HeaderDraw(TteHeaderSubclass, TCanvas&, const TteHeaderInfo& info, const String&) override {
        Calls.push_back({"HeaderDraw", 0, info.Rect, 0});
    }
    void HeaderDrawSection(TteHeaderSubclass, TCanvas&, const TteHeaderSectionInfo& info,
                           const String&) override {
        Calls.push_back({"HeaderDrawSection", info.DrawState, info.Rect, info.SectionState});
    }
    void HeaderDrawText(TteHeaderSubclass, TCanvas&, const TteHeaderSectionInfo& info,
                        const TteTextInfo& text, const String&) override {
        Calls.push_back({"HeaderDrawText", info.DrawState, text.Rect, 0});
    }

    bool IsBarDefined(TteBarSubclass, const String&) override { return true; }
    bool IsBarTransparent(TteBarSubclass, const String&) override { return false; }
    TRect BarGetClientRect(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String&) override {
        return info.Rect;
    }
    void BarDraw(TteBarSubclass, TCanvas&, const TteBarInfo& info, const String&) override {
        Calls.push_back({"BarDraw", 0, info.Rect, 0});
    }
    void BarDrawCaption(TteBarSubclass, TCanvas&, const TteBarInfo&, const TteBarCaptionInfo& caption,
                        const String&) override {
        Calls.push_back({"BarDrawCaption", 0, caption.Rect, 0});
    }
    void BarDrawButton(TteBarSubclass, TCanvas&, const TteBarButtonInfo& info, const String&) override {
        Calls.push_back({"BarDrawButton", info.DrawState, info.Rect, info.ButtonClass});
    }
    void BarDrawText(TteBarSubclass, TCanvas&, const TteTextInfo& text, const String&) override {
        Calls.push_back({"BarDrawText", 0, text.Rect, 0});
    }
};

class ExtBarsTest : public SkinControlTest {
protected:
    void SetUp() override {
        SkinControlTest::SetUp();
        RegisterToolBarBackground();
    }

    // Makes a recording theme current; the manager owns it.
    TPartRecordingTheme* UseRecordingTheme() {
        auto* theme = new TPartRecordingTheme();
        ChangeTheme(theme);
        ui_.RunUntilIdle();
        theme->Calls.clear();
        return theme;
    }
    void RepaintRecorded(TPartRecordingTheme* theme, TControl* control) {
        ui_.RunUntilIdle();
        theme->Calls.clear();
        control->Invalidate();
        ui_.RunUntilIdle();
    }
};

}  // namespace tarvel::testing
