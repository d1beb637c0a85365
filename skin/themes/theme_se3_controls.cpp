// Hints, labels, panels, buttons, check boxes, splitters, scroll, progress
// and track bars, headers, status bars, edits, group boxes and memos of the
// skin-file theme.

#include <algorithm>

#include "platform/classlib/Application.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

using namespace se3;
using tedraw::Shrink;

namespace {

TteTextAlign ThemeTextAlign(TSeTextAlign a) {
    static constexpr TteTextAlign kMap[] = {ktxaTopLeft,    ktxaTopCenter,    ktxaTopRight,
                                            ktxaMiddleLeft, ktxaMiddleCenter, ktxaMiddleRight,
                                            ktxaBottomLeft, ktxaBottomCenter, ktxaBottomRight};
    return kMap[a];
}

TSeState ButtonState(TteButtonDrawState s) {
    switch (s) {
        case kbdsDisabled: return ssDisabled;
        case kbdsPressed:
        case kbdsChecked: return ssPressed;
        case kbdsHot:
        case kbdsFocusedHot:
        case kbdsDefaultHot: return ssHot;
        case kbdsFocused:
        case kbdsDefault: return ssFocused;
        default: return ssNormal;
    }
}

// The object drawn alone into `out` (w x h), each pixel as opaque as the
// drawing left it. Fills through a canvas write colour but no alpha, so the
// object is drawn over black and over white: where both agree the pixel is
// opaque, and how far they differ is how much of the background shows.
bool DrawWithAlpha(TSeSkinObject* object, TSeState state, int w, int h, TteBitmap& out) {
    TteBitmap white;
    out.SetSize(w, h);
    white.SetSize(w, h);
    if (!out.DC() || !white.DC()) return false;
    out.Clear(0xFF000000);
    white.Clear(0xFFFFFFFF);
    DrawObject(object, *out.GetCanvas(), out.BoundsRect(), state);
    DrawObject(object, *white.GetCanvas(), white.BoundsRect(), state);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = out.GetScanLine(y);
        const uint32_t* over = white.GetScanLine(y);
        for (int x = 0; x < w; ++x) {
            int spread = 0;
            for (int shift = 0; shift < 24; shift += 8)
                spread = std::max(spread, static_cast<int>((over[x] >> shift) & 0xFF) -
                                              static_cast<int>((row[x] >> shift) & 0xFF));
            const uint32_t alpha = static_cast<uint32_t>(255 - std::clamp(spread, 0, 255));
            uint32_t pixel = alpha << 24;
            for (int shift = 0; alpha && shift < 24; shift += 8) {
                const uint32_t onBlack = (row[x] >> shift) & 0xFF;
                pixel |= std::min(255u, onBlack * 255 / alpha) << shift;
            }
            row[x] = pixel;
        }
    }
    return true;
}

struct TCheckLook {
    const char* Child;  // null: the object itself
    TSeState State;
};

TCheckLook CheckLook(TteCheckSubclass s, TteCheckDrawState d) {
    static constexpr TSeState kStates[] = {ssNormal, ssHot, ssPressed, ssDisabled};
    const int group = d / 5, step = d % 5;
    if (step == 4) return TCheckLook{nullptr, ssNormal};  // focused: the whole object
    if (group == 2 && s == kcscRadioButton) return TCheckLook{nullptr, ssNormal};
    static constexpr const char* kChildren[] = {"Checked", "Unchecked", "Mixed"};
    return TCheckLook{kChildren[group], kStates[step]};
}

unsigned SpinArrow(TteButtonSubclass s) {
    switch (s) {
        case kbscSpinUp: return DFCS_SCROLLUP;
        case kbscSpinDown: return DFCS_SCROLLDOWN;
        case kbscSpinLeft: return DFCS_SCROLLLEFT;
        default: return DFCS_SCROLLRIGHT;
    }
}

}  // namespace

// ---- Hint, Label, Panel -----------------------------------------------------------------------

bool TTeSkinFile::IsHintDefined(TteHintSubclass, const String&) { return true; }

TRect TTeSkinFile::HintGetClientRect(TteHintSubclass, TCanvas&, const TteHintInfo& info, const String&) {
    return Shrink(info.Rect, 4, 3);
}

void TTeSkinFile::HintDraw(TteHintSubclass, TCanvas& c, const TteHintInfo& info, const String&) {
    if (TSeSkinObject* hint = table_[kseHint]) {
        DrawObject(hint, c, info.Rect);
        return;
    }
    FillRect(c, info.Rect, Application ? Application->HintColor : clInfoBk);
    DrawRect(c, info.Rect, TColor(0x808080));
}

bool TTeSkinFile::IsLabelDefined(TteLabelSubclass, const String&) { return true; }

namespace {
// A panel's look: child "Panel" of the named object only, or of the
// table's "Container" for "default".
TSeSkinObject* PanelObject(TSeSkinObject* named, TSeSkinObject* container, const String& obj) {
    return Child(obj == "default" ? container : named, "Panel");
}
}  // namespace

bool TTeSkinFile::IsPanelDefined(TtePanelSubclass s, const String& obj) {
    return Named(obj) || (s == kpscPanel && table_[kseContainer]);
}

TRect TTeSkinFile::PanelGetClientRect(TtePanelSubclass, const TtePanelInfo& info, const String& obj) {
    TSeSkinObject* panel = PanelObject(Named(obj), table_[kseContainer], obj);
    return panel ? ShrinkByMargins(panel, info.Rect) : info.Rect;
}

void TTeSkinFile::PanelDraw(TtePanelSubclass, TCanvas& c, const TtePanelInfo& info, const String& obj) {
    DrawObject(PanelObject(Named(obj), table_[kseContainer], obj), c, info.Rect);
}

// ---- Button -----------------------------------------------------------------------------------

namespace {
std::optional<TSkinFileEntry> ButtonEntry(TteButtonSubclass s, bool forDrawing) {
    switch (s) {
        case kbscButton: return kseButton;
        case kbscSpinUp:
        case kbscSpinDown: return kseSpinButton;
        case kbscSpinLeft:
        case kbscSpinRight:
            if (forDrawing) return kseScrollBar;
            return std::nullopt;
        default: return std::nullopt;
    }
}
}  // namespace

bool TTeSkinFile::IsButtonDefined(TteButtonSubclass s, const String& obj) {
    if (Named(obj)) return true;
    const std::optional<TSkinFileEntry> entry = ButtonEntry(s, false);
    return entry && table_[*entry];
}

bool TTeSkinFile::IsButtonTransparent(TteButtonSubclass s, const String& obj) {
    TSeSkinObject* object = Named(obj);
    if (!object) {
        const std::optional<TSkinFileEntry> entry = ButtonEntry(s, false);
        object = entry ? table_[*entry] : nullptr;
    }
    TSeSkinObject* face = Child(object, "Face");
    return face && face->GetMasked();
}

void TTeSkinFile::ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String& obj) {
    TSeSkinObject* object = Named(obj);
    if (!object) {
        const std::optional<TSkinFileEntry> entry = ButtonEntry(s, true);
        object = entry ? table_[*entry] : nullptr;
    }
    if (!object) return;
    if (TSeSkinObject* face = Child(object, "Face")) object = face;
    if (s == kbscSpinLeft) object = Child(object, "LeftButton");
    if (s == kbscSpinRight) object = Child(object, "RightButton");
    if (!object) return;
    {
        const TRect old = object->GetBoundsRect();
        Restore putBack([object, old] { object->SetBoundsRect(old); });
        DrawObject(object, c, info.Rect, ButtonState(info.DrawState));
    }
    if (s < kbscSpinUp || s > kbscSpinRight) return;
    TRect arrow = info.Rect;
    if (info.DrawState == kbdsPressed) arrow.Offset(1, 1);
    DrawFrameControlGlyph(c, arrow, DFC_SCROLL, SpinArrow(s), Colors()->GetColor(ktcBorder));
}

void TTeSkinFile::ButtonDrawText(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info,
                                 const TteTextInfo& text, const String& obj) {
    TSeSkinObject* object = Named(obj);
    if (!object) {
        TteTheme::ButtonDrawText(s, c, info, text, obj);
        return;
    }
    TteTextInfo t = text;
    t.Rect = info.Rect;
    if (auto* textObject = dynamic_cast<TSeTextObject*>(object))
        t.Align = ThemeTextAlign(textObject->GetTextAlign());
    DrawThemeText(c, t);
}

// ---- Check ------------------------------------------------------------------------------------

bool TTeSkinFile::IsCheckDefined(TteCheckSubclass s, const String& obj) {
    return Pick(obj, s == kcscCheckBox ? kseCheckbox : kseRadioButton) != nullptr;
}

bool TTeSkinFile::IsCheckTransparent(TteCheckSubclass, const String&) { return true; }

TSize TTeSkinFile::CheckGetSize(TteCheckSubclass s, const String& obj) {
    TSize size = TteTheme::CheckGetSize(s, obj);
    if (TSeSkinObject* checked =
            Child(Pick(obj, s == kcscCheckBox ? kseCheckbox : kseRadioButton), "Checked"))
        size = TSize{checked->GetWidth(), checked->GetHeight()};
    return size;
}

void TTeSkinFile::CheckDraw(TteCheckSubclass s, TCanvas& c, const TteCheckInfo& info, const String& obj) {
    TSeSkinObject* object = Pick(obj, s == kcscCheckBox ? kseCheckbox : kseRadioButton);
    if (!object) return;
    const TCheckLook look = CheckLook(s, info.DrawState);
    if (look.Child) object = Child(object, look.Child);
    DrawCentred(object, c, info.Rect, look.State);
}

// ---- Splitter, Scroll -------------------------------------------------------------------------

bool TTeSkinFile::IsSplitterDefined(TteSplitterSubclass s, const String&) {
    return s == ksscSplitter && table_[kseSplitter];
}

void TTeSkinFile::SplitterDraw(TteSplitterSubclass, TCanvas& c, const TteSplitterInfo& info, const String&) {
    DrawObject(table_[kseSplitter], c, info.Rect);
}

bool TTeSkinFile::IsScrollDefined(TteScrollSubclass s, const String& obj) {
    return Named(obj) || (s == ksscScrollBar && table_[kseScrollBar]);
}

bool TTeSkinFile::IsScrollTransparent(TteScrollSubclass s, const String&) {
    return s == ksscScrollBar && table_[kseScrollBar] && table_[kseScrollBar]->GetMasked();
}

void TTeSkinFile::ScrollDraw(TteScrollSubclass, TCanvas& c, const TteScrollInfo& info, const String& obj) {
    TSeSkinObject* frame = Child(Named(obj), "Frame");
    if (!frame) frame = Child(table_[kseScrollBox], "Frame");
    DrawObject(frame, c, info.Rect);
}

void TTeSkinFile::ScrollDrawArea(TteScrollSubclass, TCanvas& c, const TteScrollAreaInfo& info,
                                 const String& obj) {
    TSeSkinObject* area =
        Child(Pick(obj, kseScrollBar), info.AreaClass == ksacHorizontal ? "HorzFrame" : "VertFrame");
    DrawObject(area, c, info.Rect,
               StandardState(info.DrawState == ksadsDisabled, info.DrawState == ksadsPressed,
                             info.DrawState == ksadsHot));
}

void TTeSkinFile::ScrollDrawButton(TteScrollSubclass, TCanvas& c, const TteScrollButtonInfo& info,
                                   const String& obj) {
    const char* name = nullptr;
    switch (info.ButtonClass) {
        case ksbcUp: name = "TopButton"; break;
        case ksbcDown: name = "BottomButton"; break;
        case ksbcLeft: name = "LeftButton"; break;
        case ksbcRight: name = "RightButton"; break;
        case ksbcHorzSlider: name = "HorzSlider"; break;
        case ksbcVertSlider: name = "VertSlider"; break;
        default: return;
    }
    TSeSkinObject* button = Child(Pick(obj, kseScrollBar), name);
    if (!button) return;
    const TSeState state = StandardState(info.DrawState == ksbdsDisabled, info.DrawState == ksbdsPressed,
                                         info.DrawState == ksbdsHot);
    const int minimum = button->GetMarginTop() + button->GetMarginBottom();
    if (info.ButtonClass != ksbcVertSlider || info.Rect.Height() >= minimum) {
        DrawObject(button, c, info.Rect, state);
        return;
    }
    // A thumb lower than its own margins is drawn at their height and
    // squeezed, so its nine parts never overlap.
    TteBitmap squeezed;
    if (!DrawWithAlpha(button, state, info.Rect.Width(), minimum, squeezed)) return;
    squeezed.AlphaBlend = true;
    squeezed.Draw(c, info.Rect);
}

// ---- Progress, Track --------------------------------------------------------------------------

bool TTeSkinFile::IsProgressDefined(TteProgressSubclass s, const String& obj) {
    return Named(obj) || (s == kpscProgressBar && table_[kseProgressBar]);
}

bool TTeSkinFile::IsProgressTransparent(TteProgressSubclass s, const String& obj) {
    if (s == kpscSingleProgressBar) return false;
    TSeSkinObject* frame = Child(Pick(obj, kseProgressBar), "Frame");
    return frame && frame->GetMasked();
}

void TTeSkinFile::ProgressDraw(TteProgressSubclass, TCanvas& c, const TteProgressInfo& info,
                               const String& obj) {
    TSeSkinObject* bar = Pick(obj, kseProgressBar);
    TSeSkinObject* part = nullptr;
    switch (info.Part) {
        case kppBarVert: part = FirstChild(bar, {"FrameVert", "Frame"}); break;
        case kppBarHorz: part = FirstChild(bar, {"FrameHorz", "Frame"}); break;
        case kppChunkVert: part = FirstChild(bar, {"BarVert", "Bar"}); break;
        case kppChunkHorz: part = FirstChild(bar, {"BarHorz", "Bar"}); break;
        case kppSolidVert: part = FirstChild(bar, {"SolidVert", "Solid", "BarVert", "Bar"}); break;
        case kppSolidHorz: part = FirstChild(bar, {"SolidHorz", "Solid", "BarHorz", "Bar"}); break;
    }
    DrawObject(part, c, info.Rect);
}

bool TTeSkinFile::IsTrackDefined(TteTrackSubclass, const String& obj) {
    return Pick(obj, kseTrackBar) != nullptr;
}

bool TTeSkinFile::IsTrackTransparent(TteTrackSubclass, const String&) { return true; }

void TTeSkinFile::TrackDraw(TteTrackSubclass, TCanvas&, const TteTrackInfo&, const String&) {}

void TTeSkinFile::TrackBarDraw(TteTrackSubclass, TCanvas& c, const TteTrackBarInfo& info, const String& obj) {
    TSeSkinObject* track = FirstChild(Pick(obj, kseTrackBar),
                                      {info.BarClass == ktbcVertical ? "TrackVert" : "TrackHorz", "Track"});
    DrawObject(track, c, info.Rect, info.DrawState == ktrbdsDisabled ? ssDisabled : ssNormal);
}

void TTeSkinFile::TrackDrawThumb(TteTrackSubclass, TCanvas& c, const TteTrackThumbInfo& info,
                                 const String& obj) {
    static constexpr const char* kOwn[] = {"ThumbVertBoth", "ThumbVertRight",  "ThumbVertLeft",
                                           "ThumbHorzBoth", "ThumbHorzBottom", "ThumbHorzTop"};
    const bool vertical = info.ThumbClass <= ktbmVertLeft;
    TSeSkinObject* thumb = FirstChild(Pick(obj, kseTrackBar),
                                      {kOwn[info.ThumbClass], vertical ? "ThumbVert" : "ThumbHorz", "Thumb"});
    static constexpr TSeState kStates[] = {ssNormal, ssHot, ssPressed, ssFocused, ssDisabled};
    DrawCentred(thumb, c, info.Rect, kStates[info.DrawState]);
}

// ---- Header, Status ---------------------------------------------------------------------------

bool TTeSkinFile::IsHeaderDefined(TteHeaderSubclass s, const String&) {
    return s == khscHeader && table_[kseHeader];
}

void TTeSkinFile::HeaderDraw(TteHeaderSubclass s, TCanvas& c, const TteHeaderInfo& info, const String& obj) {
    if (TSeSkinObject* frame = Child(table_[kseHeader], "Frame"))
        DrawObject(frame, c, info.Rect);
    else
        TteTheme::HeaderDraw(s, c, info, obj);
}

void TTeSkinFile::HeaderDrawSection(TteHeaderSubclass, TCanvas& c, const TteHeaderSectionInfo& info,
                                    const String&) {
    TSeSkinObject* header = table_[kseHeader];
    TSeSkinObject* section = nullptr;
    if (info.SectionState == khssFirst) section = Child(header, "SectionFirst");
    if (info.SectionState == khssLast) section = Child(header, "SectionLast");
    if (!section) section = Child(header, "Section");
    TSeState state = ssNormal;
    switch (info.DrawState) {
        case khdsDraggedOut:
        case khdsDisabled: state = ssDisabled; break;
        case khdsPressed:
        case khdsUnderDrag: state = ssPressed; break;
        case khdsDragging:
        case khdsHot: state = ssHot; break;
        default: break;
    }
    DrawObject(section, c, info.Rect, state);
}

bool TTeSkinFile::IsStatusDefined(TteStatusSubclass s, const String&) {
    return s == ksscStatusBar && table_[kseStatusBar];
}

void TTeSkinFile::StatusDraw(TteStatusSubclass, TCanvas& c, const TteStatusInfo& info, const String&) {
    DrawObject(Child(table_[kseStatusBar], "Frame"), c, info.Rect);
}

void TTeSkinFile::StatusDrawPanel(TteStatusSubclass, TCanvas& c, const TteStatusPanelInfo& info,
                                  const String&) {
    TSeSkinObject* bar = table_[kseStatusBar];
    TRect r = info.Rect;
    if (info.PanelClass == kspcGripperPanel) r.right += 7;  // the panel runs under the gripper
    DrawObject(Child(bar, info.PanelClass == kspcGripper ? "Gripper" : "Panel"), c, r, ssNormal);
}

void TTeSkinFile::StatusDrawText(TteStatusSubclass s, TCanvas& c, const TteStatusPanelInfo& info,
                                 const TteTextInfo& text, const String& obj) {
    TSeSkinObject* panel = Child(obj == "default" ? table_[kseStatusBar] : Named(obj), "Panel");
    TteTextInfo t = text;
    if (panel) {
        t.Rect.left += panel->GetTextMarginLeft();
        t.Rect.right -= panel->GetTextMarginRight();
        t.Rect.top += panel->GetTextMarginTop();
    }
    TteTheme::StatusDrawText(s, c, info, t, obj);
}

// ---- Edit, Group, Memo ------------------------------------------------------------------------

bool TTeSkinFile::IsEditDefined(TteEditSubclass s, const String&) {
    switch (s) {
        case kescEdit: return table_[kseEdit] != nullptr;
        case kescComboBoxLeft:
        case kescComboBoxRight: return table_[kseComboBox] != nullptr;
        default: return false;
    }
}

TRect TTeSkinFile::EditGetClientRect(TteEditSubclass, TCanvas&, const TteEditInfo& info, const String&) {
    return Shrink(info.Rect, 4, 4);
}

void TTeSkinFile::EditDraw(TteEditSubclass, TCanvas& c, const TteEditInfo& info, const String&) {
    if (info.DrawState == kedsSelection) {
        FillRect(c, info.Rect, Colors()->GetColor(ktcEditSelection));
        return;
    }
    const TSeState state = info.DrawState == kedsDisabled ? ssDisabled
                           : info.DrawState == kedsHot    ? ssHot
                                                          : ssNormal;
    DrawObject(Child(table_[kseEdit], "Frame"), c, info.Rect, state);
}

void TTeSkinFile::EditDrawButton(TteEditSubclass, TCanvas& c, const TteEditButtonInfo& info, const String&) {
    if (info.ButtonClass == kebcUpDown) return;
    TSeSkinObject* button = Child(table_[info.ButtonClass == kebcDropDown ? kseComboBox : kseEdit], "Button");
    DrawObject(button, c, info.Rect,
               StandardState(info.DrawState == kebdsDisabled, info.DrawState == kebdsPressed,
                             info.DrawState == kebdsHot));
}

bool TTeSkinFile::IsGroupDefined(TteGroupSubclass s, const String&) {
    return s == kgscGroupBox && table_[kseGroupBox];
}

bool TTeSkinFile::IsGroupTransparent(TteGroupSubclass, const String&) {
    TSeSkinObject* frame = Child(table_[kseGroupBox], "Frame");
    return frame && frame->GetMasked();
}

void TTeSkinFile::GroupDraw(TteGroupSubclass, TCanvas& c, const TteGroupInfo& info, const String&) {
    TSeSkinObject* frame = Child(table_[kseGroupBox], "Frame");
    if (!frame) frame = table_[kseGroupBox];
    if (!frame) return;
    const TSeState state = info.DrawState == kgdsDisabled ? ssDisabled : ssNormal;
    const TKeptPixels caption(c, info.TextRect);
    DrawObject(frame, c, info.Rect, state);
}

bool TTeSkinFile::IsMemoDefined(TteMemoSubclass s, const String&) { return s == kmscMemo && table_[kseEdit]; }

TRect TTeSkinFile::MemoGetClientRect(TteMemoSubclass, TCanvas&, const TteMemoInfo& info, const String&) {
    return Shrink(info.Rect, 4, 4);
}

void TTeSkinFile::MemoDraw(TteMemoSubclass, TCanvas& c, const TteMemoInfo& info, const String&) {
    DrawObject(Child(table_[kseEdit], "Frame"), c, info.Rect,
               info.DrawState == kmdsDisabled ? ssDisabled : ssNormal);
}

}  // namespace tarvel
