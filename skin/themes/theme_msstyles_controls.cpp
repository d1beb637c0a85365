// The visual-style theme's basic controls: buttons and spin buttons, check
// and radio boxes, scroll, progress and track bars, group boxes, edits,
// combo boxes and memos. Each picks a style object and a state index.

#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_msstyles.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

using tedraw::Shrink;

namespace {

const char* ButtonSection(TteButtonSubclass s) {
    switch (s) {
        case kbscSpinUp: return "Spin.Up";
        case kbscSpinDown: return "Spin.Down";
        case kbscSpinLeft: return "Spin.Downhorz";
        case kbscSpinRight: return "Spin.Uphorz";
        default: return "Button.Pushbutton";
    }
}

const char* ThumbSection(TteTrackThumbClass t) {
    static constexpr const char* kThumbs[] = {"TrackBar.ThumbVert",   "TrackBar.ThumbRight",
                                              "TrackBar.ThumbLeft",   "TrackBar.Thumb",
                                              "TrackBar.ThumbBottom", "TrackBar.ThumbTop"};
    return kThumbs[t];
}

bool IsComboBox(TteEditSubclass s) {
    return s == kescComboBox || s == kescComboBoxLeft || s == kescComboBoxRight;
}

}  // namespace

// ---- Panel, Splitter ----------------------------------------------------------------------

bool TTeThemeMsStyles::IsPanelDefined(TtePanelSubclass, const String&) { return true; }

TRect TTeThemeMsStyles::PanelGetClientRect(TtePanelSubclass, const TtePanelInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeThemeMsStyles::PanelDraw(TtePanelSubclass, TCanvas& c, const TtePanelInfo& info, const String&) {
    DrawRaised(c, info.Rect, false, true);
}

bool TTeThemeMsStyles::IsSplitterDefined(TteSplitterSubclass, const String&) { return true; }

void TTeThemeMsStyles::SplitterDraw(TteSplitterSubclass, TCanvas& c, const TteSplitterInfo& info,
                                    const String&) {
    FillRect(c, info.Rect, SysColors()->GetColor(clBtnFace));
}

// ---- Button, Check --------------------------------------------------------------------------

bool TTeThemeMsStyles::IsButtonDefined(TteButtonSubclass s, const String&) {
    return Object(ButtonSection(s)) != nullptr;
}

bool TTeThemeMsStyles::IsButtonTransparent(TteButtonSubclass, const String&) {
    const TmsuxThemeObject* button = Object("Button.Pushbutton");
    return button && button->Transparent;
}

void TTeThemeMsStyles::ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String&) {
    static constexpr int kState[] = {
        1,  // kbdsNormal
        2,  // kbdsHot
        3,  // kbdsPressed
        4,  // kbdsDisabled
        5,  // kbdsFocused
        2,  // kbdsFocusedHot
        5,  // kbdsDefault
        2,  // kbdsDefaultHot
        3,  // kbdsChecked
        4,  // kbdsCheckedDisabled
        3,  // kbdsCheckedHot
        3,  // kbdsCheckedFocused
    };
    DrawPart(ButtonSection(s), c, info.Rect, kState[info.DrawState]);
}

bool TTeThemeMsStyles::IsCheckDefined(TteCheckSubclass, const String&) {
    return Object("button.checkbox") != nullptr;
}

bool TTeThemeMsStyles::IsCheckTransparent(TteCheckSubclass, const String&) { return true; }

void TTeThemeMsStyles::CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String&) {
    int state = 1;
    switch (info.DrawState) {
        case kcdsUncheckedNormal:
        case kcdsUncheckedFocused: state = 1; break;
        case kcdsUncheckedHot: state = 2; break;
        case kcdsUncheckedPressed: state = 3; break;
        case kcdsUncheckedDisabled: state = 4; break;
        case kcdsCheckedNormal:
        case kcdsCheckedFocused: state = 5; break;
        case kcdsCheckedHot: state = 6; break;
        case kcdsCheckedPressed: state = 7; break;
        case kcdsCheckedDisabled: state = 8; break;
        case kcdsMixedNormal:
        case kcdsMixedFocused: state = 9; break;
        case kcdsMixedHot: state = 10; break;
        case kcdsMixedPressed: state = 11; break;
        case kcdsMixedDisabled: state = 12; break;
    }
    DrawPart(s == kcscRadioButton ? "button.radiobutton" : "button.checkbox", c, info.Rect, state);
}

// ---- Scroll -------------------------------------------------------------------------------------

bool TTeThemeMsStyles::IsScrollDefined(TteScrollSubclass, const String&) {
    return Object("ScrollBar.ArrowBtn") != nullptr;
}

bool TTeThemeMsStyles::IsScrollTransparent(TteScrollSubclass, const String&) { return false; }

void TTeThemeMsStyles::ScrollDraw(TteScrollSubclass, TCanvas&, const TteScrollInfo&, const String&) {}

void TTeThemeMsStyles::ScrollDrawArea(TteScrollSubclass, TCanvas& c, const TteScrollAreaInfo& info,
                                      const String&) {
    DrawPart(info.AreaClass == ksacVertical ? "ScrollBar.UpperTrackVert" : "ScrollBar.UpperTrackHorz", c,
             info.Rect, 1);
}

void TTeThemeMsStyles::ScrollDrawButton(TteScrollSubclass, TCanvas& c, const TteScrollButtonInfo& info,
                                        const String&) {
    int state = 1;
    switch (info.DrawState) {
        case ksbdsNormal: state = 1; break;
        case ksbdsHot: state = 2; break;
        case ksbdsPressed: state = 3; break;
        case ksbdsDisabled: state = 4; break;
    }
    switch (info.ButtonClass) {
        case ksbcHorzSlider:
        case ksbcVertSlider: DrawSlider(c, info, state); return;
        case ksbcDown: state += 4; break;
        case ksbcLeft: state += 8; break;
        case ksbcRight: state += 12; break;
        default: break;
    }
    DrawPart("ScrollBar.ArrowBtn", c, info.Rect, state);
}

// A thumb shorter than its image is drawn whole into a bitmap of the
// image's length and squeezed into place, not cut.
void TTeThemeMsStyles::DrawSlider(TCanvas& c, const TteScrollButtonInfo& info, int state) {
    const bool horizontal = info.ButtonClass == ksbcHorzSlider;
    TmsuxThemeObject* thumb = Object(horizontal ? "ScrollBar.ThumbBtnHorz" : "ScrollBar.ThumbBtnVert");
    if (!thumb) return;
    const TRect& r = info.Rect;
    thumb->Draw(*scratch_.GetCanvas(), r, NullRect, state);
    const TteBitmapLink* image = thumb->LastImage;
    const bool squeeze =
        image && (horizontal ? image->Rect().Width() > r.Width() : image->Rect().Height() > r.Height());
    if (squeeze) {
        TteBitmap whole;
        if (horizontal) {
            whole.SetSize(image->Rect().Width(), r.Height());
            whole.Clear(0x00000000);
        } else {
            whole.SetSize(r.Width(), image->Rect().Height());
            whole.Clear(0x99999900);
        }
        if (!whole.Empty()) {
            thumb->Draw(*whole.GetCanvas(), whole.BoundsRect(), NullRect, state);
            whole.AlphaBlend = true;
            whole.Draw(c, r, whole.BoundsRect());
        }
    } else {
        thumb->Draw(c, r, NullRect, state);
    }
    TmsuxThemeObject* gripper = Object(horizontal ? "ScrollBar.GripperHorz" : "ScrollBar.GripperVert");
    if (!gripper || !HoldsBitmap(gripper->Image) || gripper->ImageCount <= 0) return;
    const TteBitmap& g = *gripper->Image.Bitmap;
    const bool across = gripper->ImageLayout == msilHorizontal;
    const int w = across ? g.Width() / gripper->ImageCount : g.Width();
    const int h = across ? g.Height() : g.Height() / gripper->ImageCount;
    if (w < r.Width() && h < r.Height()) gripper->Draw(c, r, NullRect, state);
}

// ---- Progress, Track ------------------------------------------------------------------------

bool TTeThemeMsStyles::IsProgressDefined(TteProgressSubclass, const String&) {
    return Object("Progress") != nullptr;
}

bool TTeThemeMsStyles::IsProgressTransparent(TteProgressSubclass, const String&) { return false; }

void TTeThemeMsStyles::ProgressDraw(TteProgressSubclass, TCanvas& c, const TteProgressInfo& info,
                                    const String&) {
    static constexpr const char* kParts[] = {
        "Progress.BarVert",    // kppBarVert
        "Progress.Bar",        // kppBarHorz
        "Progress.ChunkVert",  // kppChunkVert
        "Progress.Chunk",      // kppChunkHorz
        "Progress.ChunkVert",  // kppSolidVert
        "Progress.Chunk",      // kppSolidHorz
    };
    DrawPart(kParts[info.Part], c, info.Rect, 1);
}

bool TTeThemeMsStyles::IsTrackDefined(TteTrackSubclass, const String&) { return HasProps("TrackBar"); }

bool TTeThemeMsStyles::IsTrackTransparent(TteTrackSubclass, const String&) { return true; }

void TTeThemeMsStyles::TrackDraw(TteTrackSubclass, TCanvas&, const TteTrackInfo&, const String&) {}

void TTeThemeMsStyles::TrackBarDraw(TteTrackSubclass, TCanvas& c, const TteTrackBarInfo& info,
                                    const String&) {
    DrawPart(info.BarClass == ktbcVertical ? "TrackBar.TrackVert" : "TrackBar.Track", c, info.Rect, 1);
}

void TTeThemeMsStyles::TrackDrawThumb(TteTrackSubclass, TCanvas& c, const TteTrackThumbInfo& info,
                                      const String&) {
    DrawPart(ThumbSection(info.ThumbClass), c, info.Rect, info.DrawState + 1);
}

// The size a true-size thumb image gives the thumb: the object draws once
// off screen and tells which frame it used.
TPoint TTeThemeMsStyles::TrackGetThumbSize(TteTrackSubclass, TCanvas&, const TteTrackThumbInfo& info,
                                           const String&) {
    TmsuxThemeObject* thumb = Object(ThumbSection(info.ThumbClass));
    if (!thumb || thumb->SizingType != uxtlsTrueSize) return TPoint{0, 0};
    thumb->LastImage = nullptr;
    TteBitmap probe;
    probe.SetSize(1, 1);
    thumb->Draw(*probe.GetCanvas(), TRect{0, 0, 10, 10}, NullRect, 1);
    if (!thumb->LastImage) return TPoint{0, 0};
    return TPoint{thumb->LastImage->Rect().Width(), thumb->LastImage->Rect().Height()};
}

// ---- Group, Edit, Memo ----------------------------------------------------------------------

bool TTeThemeMsStyles::IsGroupDefined(TteGroupSubclass, const String&) { return HasProps("button.groupbox"); }

bool TTeThemeMsStyles::IsGroupTransparent(TteGroupSubclass, const String&) {
    const TmsuxThemeObject* group = Object("button.groupbox");
    return group && group->Transparent;
}

void TTeThemeMsStyles::GroupDraw(TteGroupSubclass, TCanvas& c, const TteGroupInfo& info, const String&) {
    const se3::TKeptPixels caption(c, info.TextRect);
    DrawPart("button.groupbox", c, info.Rect, 1);
}

bool TTeThemeMsStyles::IsEditDefined(TteEditSubclass, const String&) { return HasProps("edit"); }

TRect TTeThemeMsStyles::EditGetClientRect(TteEditSubclass, TCanvas&, const TteEditInfo& info, const String&) {
    return Shrink(info.Rect, 4);
}

void TTeThemeMsStyles::EditDrawButton(TteEditSubclass, TCanvas& c, const TteEditButtonInfo& info,
                                      const String&) {
    static constexpr int kState[] = {1, 2, 3, 1, 4};  // normal, hot, pressed, focused, disabled
    DrawPart("Combobox.DropDownButton", c, info.Rect, kState[info.DrawState]);
}

void TTeThemeMsStyles::EditDraw(TteEditSubclass s, TCanvas& c, const TteEditInfo& info, const String&) {
    const TRect& r = info.Rect;
    if (IsComboBox(s)) {
        switch (info.DrawState) {
            case kedsDisabled: DrawWithFillOf("combobox", "combobox(disabled)", c, r); break;
            case kedsReadOnly:
            case kedsSelection: break;
            default: DrawPart("combobox", c, r, 1); break;
        }
        return;
    }
    switch (info.DrawState) {
        case kedsDisabled: DrawWithFillOf("edit", "edit.edittext(disabled)", c, r); break;
        case kedsReadOnly: DrawWithFillOf("edit", "edit.edittext(readonly)", c, r); break;
        case kedsSelection: FillRect(c, r, SysColors()->GetColor(clHighlight)); break;
        default: DrawPart("edit", c, r, 1); break;
    }
}

bool TTeThemeMsStyles::IsMemoDefined(TteMemoSubclass, const String&) { return HasProps("edit"); }

bool TTeThemeMsStyles::IsMemoTransparent(TteMemoSubclass, const String&) { return false; }

TRect TTeThemeMsStyles::MemoGetClientRect(TteMemoSubclass, TCanvas&, const TteMemoInfo& info, const String&) {
    return Shrink(info.Rect, 2);
}

void TTeThemeMsStyles::MemoDraw(TteMemoSubclass, TCanvas& c, const TteMemoInfo& info, const String&) {
    const TRect& r = info.Rect;
    switch (info.DrawState) {
        case kmdsDisabled: DrawWithFillOf("edit", "edit.edittext(disabled)", c, r); break;
        case kmdsReadOnly: DrawWithFillOf("edit", "edit.edittext(readonly)", c, r); break;
        case kmdsSelection: FillRect(c, r, SysColors()->GetColor(clHighlight)); break;
        default: DrawPart("edit", c, r, 1); break;
    }
}

}  // namespace tarvel
