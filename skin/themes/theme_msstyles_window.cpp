// The visual-style theme's window frame: client, title and caption-button
// rectangles from the style's metrics, the frame parts from the window
// objects, the region from the parts' pixels, the caption text.

#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_msstyles.h"

namespace tarvel {

namespace {

bool IsStandard(TteWindowSubclass s) { return s == kwscStandard || s == kwscDialog; }

int StateOf(const TteWindowInfo& info) { return info.DrawState.Contains(kwdsActive) ? 1 : 2; }

}  // namespace

const TTeThemeMsStyles::TFrameParts* TTeThemeMsStyles::FrameParts(TteWindowSubclass s) {
    static constexpr TFrameParts kStandard{"Window.Caption", "Window.FrameLeft", "Window.FrameRight",
                                           "Window.FrameBottom"};
    static constexpr TFrameParts kTool{"Window.SmallCaption", "Window.SmallFrameLeft",
                                       "Window.SmallFrameRight", "Window.SmallFrameBottom"};
    if (IsStandard(s)) return &kStandard;
    return s == kwscToolWindow ? &kTool : nullptr;
}

bool TTeThemeMsStyles::IsWindowDefined(TteWindowSubclass s, const String&) {
    if (s == kwscToolWindow) return Object("Window.SmallCaption") != nullptr;
    return Object("Window") && Object("Window.Caption");
}

TRect TTeThemeMsStyles::WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String&) {
    if (IsStandard(s))
        return TRect{rect.left + borderWidth_, rect.top + captionBarHeight_ + borderWidth_,
                     rect.right - borderWidth_, rect.bottom - borderWidth_};
    if (s == kwscToolWindow)
        return TRect{rect.left + smBorderWidth_, rect.top + smCaptionBarHeight_ + smBorderWidth_,
                     rect.right - smBorderWidth_, rect.bottom - smBorderWidth_};
    return rect;
}

TteWindowHitTest TTeThemeMsStyles::WindowGetHitTest(TteWindowSubclass s, const TteWindowInfo& info, int x,
                                                    int y, const String& obj) {
    const TteWindowHitTest base = TteTheme::WindowGetHitTest(s, info, x, y, obj);
    if (!FrameParts(s) || (base != kwhtTop && base != kwhtClient)) return base;
    const TRect client = WindowGetClientRect(s, info.Rect, obj);
    const int border = s == kwscToolWindow ? smBorderWidth_ : borderWidth_;
    const TRect band{client.left, info.Rect.top + border, client.right, client.top};
    return band.Contains(TPoint{x, y}) ? kwhtCaption : base;
}

TRect TTeThemeMsStyles::WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info,
                                           const String& obj) {
    const TRect client = WindowGetClientRect(s, info.Rect, obj);
    TRect r{client.left, info.Rect.top, client.right, client.top};
    const bool tool = s == kwscToolWindow;
    r.top += tool ? smBorderWidth_ : borderWidth_;
    TmsuxThemeObject* caption = Object(tool ? "Window.SmallCaption" : "Window.Caption");
    if (caption && caption->GetProp("captionmargins")) {
        r.left += caption->CaptionMargins.left;
        r.right -= caption->CaptionMargins.right;
    }
    if (!tool && info.Buttons.Contains(kwbSysMenu)) r.left += captionBarHeight_;
    return r;
}

TRect TTeThemeMsStyles::WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info,
                                            TteWindowButtonClass button, const String& obj) {
    if (!FrameParts(s)) return NullRect;
    const bool tool = s == kwscToolWindow;
    const int border = tool ? smBorderWidth_ : borderWidth_;
    const int side = tool ? smCaptionBarHeight_ - 2 : captionBarHeight_ - borderWidth_;
    const TRect& w = info.Rect;
    const TRect square{w.right - border - 1 - side, border + 1, w.right - border - 1,
                       w.top + border + 1 + side};
    const auto has = [&info](TteWindowButtonClass b) { return info.Buttons.Contains(b); };
    const auto leftBy = [&](int steps) {
        TRect r = square;
        r.Offset(-steps * (side + 2), 0);
        return r;
    };
    const int afterClose = has(kwbClose) ? 1 : 0;
    const int afterMax = has(kwbMax) || has(kwbMaxRestore) ? 1 : 0;
    const int afterMin = has(kwbMin) || has(kwbMinRestore) ? 1 : 0;
    switch (button) {
        case kwbClose: return has(kwbClose) ? square : NullRect;
        case kwbSysMenu: {
            if (tool) return NullRect;
            const TRect client = WindowGetClientRect(s, w, obj);
            return TRect{client.left, 5, client.left + side, 5 + side};
        }
        case kwbHelp:
            if (tool || !has(kwbHelp)) return NullRect;
            return leftBy(afterClose + afterMax + afterMin);
        case kwbMax:
        case kwbMaxRestore: return tool ? NullRect : leftBy(afterClose);
        case kwbMin:
        case kwbMinRestore: return tool ? NullRect : leftBy(afterClose + afterMax);
        default: return NullRect;
    }
}

HRGN TTeThemeMsStyles::WindowGetRegion(TteWindowSubclass s, const TRect& rect, const String& obj) {
    if (IsRectEmpty(rect)) return nullptr;
    const TRect client = WindowGetClientRect(s, rect, obj);
    HRGN region = CreateRectRgn(client.left, client.top, client.right, client.bottom);
    const TFrameParts* parts = FrameParts(s);
    if (!parts) return region;
    const struct {
        const char* Section;
        TRect Part;
    } pieces[] = {
        {parts->Caption, {rect.left, rect.top, rect.right, client.top}},
        {parts->Left, {rect.left, client.top, client.left, client.bottom}},
        {parts->Right, {client.right, client.top, rect.right, client.bottom}},
        {parts->Bottom, {rect.left, client.bottom, rect.right, rect.bottom}},
    };
    for (const auto& p : pieces) {
        TmsuxThemeObject* object = Object(p.Section);
        if (!object || IsRectEmpty(p.Part)) continue;
        TteBitmap part;
        part.SetSize(p.Part.Width(), p.Part.Height());
        part.Clear(teKeyColor);
        object->Draw(*part.GetCanvas(), part.BoundsRect(), NullRect, 1);
        if (HRGN piece = CreateRegionFromBitmap(part, p.Part.left, p.Part.top)) {
            CombineRgn(region, region, piece, RGN_OR);
            DeleteObject(piece);
        }
    }
    return region;
}

void TTeThemeMsStyles::WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info,
                                  const String& obj) {
    const TFrameParts* parts = FrameParts(s);
    if (!parts) return;
    const int state = StateOf(info);
    const TRect& w = info.Rect;
    const TRect client = WindowGetClientRect(s, w, obj);
    if (IsRectEmpty(info.ClipRect) || info.ClipRect.top == 0)
        DrawPart(parts->Caption, c, TRect{w.left, w.top, w.right, client.top}, state);
    DrawPart(parts->Left, c, TRect{w.left, client.top, client.left, client.bottom}, state);
    DrawPart(parts->Right, c, TRect{client.right, client.top, w.right, client.bottom}, state);
    DrawPart(parts->Bottom, c, TRect{w.left, client.bottom, w.right, w.bottom}, state);
}

void TTeThemeMsStyles::WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                                        const String& obj) {
    const int state = info.DrawState + 1;  // normal, hot, pressed, inactive
    if (s == kwscToolWindow) {
        if (info.ButtonClass == kwbClose) DrawPart("Window.SmallCloseButton", c, info.Rect, state);
        return;
    }
    if (!IsStandard(s)) return;
    switch (info.ButtonClass) {
        case kwbSysMenu: TteTheme::WindowDrawButton(s, c, info, obj); break;
        case kwbClose: DrawPart("Window.CloseButton", c, info.Rect, state); break;
        case kwbHelp: DrawPart("Window.HelpButton", c, info.Rect, state); break;
        case kwbMin: DrawPart("Window.MinButton", c, info.Rect, state); break;
        case kwbMax: DrawPart("Window.MaxButton", c, info.Rect, state); break;
        case kwbMinRestore:
        case kwbMaxRestore:
        case kwbRollRestore: DrawPart("Window.RestoreButton", c, info.Rect, state); break;
        default: break;
    }
}

void TTeThemeMsStyles::WindowDrawClient(TteWindowSubclass, TCanvas& c, const TRect& rect, const String&) {
    FillRect(c, rect, SysColors()->GetColor(clBtnFace));
}

void TTeThemeMsStyles::WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info,
                                      const TRect& rect, const String&) {
    const bool active = info.DrawState.Contains(kwdsActive);
    TFont* font = Fonts()->GetFont(active ? ktfCaptionTextNormal : ktfCaptionTextInactive);
    c.SetFont(font);
    const bool tool = s == kwscToolWindow;
    const TmsuxThemeObject* caption = Object(tool ? "Window.SmallCaption" : "Window.Caption");
    if (!caption) return;
    static constexpr unsigned kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const unsigned flags = kAlign[caption->ContentAlignment] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

    TRect r = rect;
    if (!tool) {
        const auto has = [&info](std::initializer_list<TteWindowButtonClass> any) {
            for (TteWindowButtonClass b : any)
                if (info.Buttons.Contains(b)) return true;
            return false;
        };
        int available = info.Rect.Width() - 2 * borderWidth_;
        for (auto group : {has({kwbClose}), has({kwbMax, kwbMaxRestore}), has({kwbMin, kwbMinRestore}),
                           has({kwbHelp}), has({kwbTray}), has({kwbRoll, kwbRollRestore})})
            if (group) available -= captionBarHeight_;
        if (available < r.Width()) r.right = available;
    }
    const WideString text = FormatStr(c.Handle(), info.Caption, r.Width());

    const TmsuxThemeObject* shadow = Object(active ? "Window.Caption(Active)" : "Window.Caption(Inactive)");
    if (shadow && shadow->TextShadowType == uxtsSingle) {
        TRect moved = r;
        moved.Offset(shadow->TextShadowOffset.x, shadow->TextShadowOffset.y);
        c.Font()->SetColor(caption->TextShadowColor);
        DrawText(c, text, moved, flags);
    }
    c.SetFont(font);
    DrawText(c, text, r, flags);
}

}  // namespace tarvel
