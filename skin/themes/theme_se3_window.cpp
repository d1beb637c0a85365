// The window frame of the skin-file theme: region, client, title and
// caption-button rectangles, hit test and painting, all from the skin's
// "Form" object (or "ToolWindow"), whose kinds mark caption, title, borders
// and client, and whose system buttons carry their actions.

#include <optional>

#include "skin/core/te_utils.h"
#include "skin/themes/theme_se3.h"

namespace tarvel {

using namespace se3;

namespace {

// The system-button action standing for a caption button, if any.
std::optional<TSeAction> ButtonAction(TteWindowButtonClass button) {
    switch (button) {
        case kwbSysMenu: return sbaSysMenu;
        case kwbClose: return sbaClose;
        case kwbHelp: return sbaHelp;
        case kwbMin: return sbaMinimize;
        case kwbMinRestore: return sbaRestore;
        case kwbMax: return sbaMaximize;
        case kwbMaxRestore: return sbaRestore;
        case kwbRoll: return sbaRollUp;
        case kwbRollRestore: return sbaRollDown;
        case kwbTray: return sbaTray;
        default: return std::nullopt;
    }
}

// What a point on a system button of that action answers.
std::optional<TteWindowHitTest> ButtonHit(TSeAction action) {
    switch (action) {
        case sbaClose: return kwhtCloseButton;
        case sbaMinimize: return kwhtMinButton;
        case sbaMaximize:
        case sbaRestore: return kwhtMaxButton;
        case sbaRollUp:
        case sbaRollDown: return kwhtRollButton;
        case sbaTray: return kwhtTrayButton;
        default: return std::nullopt;
    }
}

// What a point on a frame part of that kind answers; all of them only
// while the frame has no system non-client area.
std::optional<TteWindowHitTest> KindHit(TSeKind kind, bool allKinds) {
    switch (kind) {
        case skCaption:
        case skTitle: return kwhtCaption;
        case skTop: return kwhtTop;
        default: break;
    }
    if (!allKinds) return std::nullopt;
    switch (kind) {
        case skLeft: return kwhtLeft;
        case skRight: return kwhtRight;
        case skBottom: return kwhtBottom;
        case skBottomRight: return kwhtBottomRight;
        case skBottomLeft: return kwhtBottomLeft;
        default: return std::nullopt;
    }
}

}  // namespace

TTeSkinFile::TFrameSet TTeSkinFile::FrameSet(TteWindowSubclass s) const {
    switch (s) {
        case kwscStandard:
        case kwscDialog:
        case kwscBorder:
        case kwscNoBorder: {
            const bool withClient = s == kwscStandard || s == kwscDialog;
            return TFrameSet{table_[kseForm], table_[kseFormButtonRects], table_[kseFormButtons],
                             table_[kseFormClient], withClient ? table_[kseFormClientObject] : nullptr};
        }
        case kwscToolWindow:
            return TFrameSet{table_[kseToolWindow], table_[kseToolWindowButtonRects],
                             table_[kseToolWindowButtons], table_[kseToolWindowClient],
                             table_[kseToolWindowClientObject]};
        default: return TFrameSet{};
    }
}

void TTeSkinFile::PrepareFrame(TSeSkinObject* frame, const TteWindowInfo& info) {
    // The last restore button present decides the state the skin lays out.
    frame->SetState(ssNormal);
    if (info.Buttons.Contains(kwbMaxRestore)) frame->SetState(ssMaximized);
    if (info.Buttons.Contains(kwbMinRestore)) frame->SetState(ssMinimized);
    if (info.Buttons.Contains(kwbRollRestore)) frame->SetState(ssRollup);
    frame->SetSysButtons(info.Buttons);
    frame->SetBoundsRect(info.Rect);
    frame->AligningAll();
}

bool TTeSkinFile::IsWindowDefined(TteWindowSubclass s, const String& obj) {
    if (Named(obj)) return true;
    switch (s) {
        case kwscStandard:
        case kwscDialog: return table_[kseForm] != nullptr;
        case kwscToolWindow: return table_[kseToolWindow] != nullptr;
        default: return false;
    }
}

HRGN TTeSkinFile::WindowGetRegion(TteWindowSubclass s, const TRect& rect, const String& obj) {
    TSeSkinObject* frame = Named(obj);
    if (!frame) frame = FrameSet(s).Frame;
    if (!frame) return HRGN{};
    frame->SetBoundsRect(rect);
    return frame->GetRegion();
}

TteWindowHitTest TTeSkinFile::WindowGetHitTest(TteWindowSubclass s, const TteWindowInfo& info, int x, int y,
                                               const String& obj) {
    TSeSkinObject* frame = Named(obj);
    if (!frame) frame = FrameSet(s).ButtonRects;
    if (!frame) return TteTheme::WindowGetHitTest(s, info, x, y, obj);
    PrepareFrame(frame, info);
    TSeSkinObject* found = frame->FindObjectByPoint(TPoint{x, y});
    const bool own = info.DisabledNCArea;
    if (found) {
        if (auto* button = dynamic_cast<TSeSystemButton*>(found)) {
            if (std::optional<TteWindowHitTest> hit = ButtonHit(button->GetAction())) return *hit;
        } else if (std::optional<TteWindowHitTest> hit = KindHit(found->GetKind(), own)) {
            return *hit;
        }
    }
    if (!own) return TteTheme::WindowGetHitTest(s, info, x, y, obj);
    // The skin's own borders are the only ones: the base theme's guess of a
    // plain border there is client area.
    TteWindowInfo bare = info;
    bare.Buttons = TteWindowButtons{};
    const TteWindowHitTest base = TteTheme::WindowGetHitTest(s, bare, x, y, obj);
    switch (base) {
        case kwhtLeft:
        case kwhtTop:
        case kwhtRight:
        case kwhtBottom: return kwhtClient;
        default: return base;
    }
}

TRect TTeSkinFile::WindowGetClientRect(TteWindowSubclass s, const TRect& rect, const String& obj) {
    TSeSkinObject* frame = Named(obj);
    TSeSkinObject* client = frame ? frame->FindObjectByKind(skClient) : nullptr;
    if (!frame || !client || client == frame) {
        frame = FrameSet(s).Frame;
        client = FrameSet(s).Placeholder;
    }
    if (!frame || !client) return TteTheme::WindowGetClientRect(s, rect, obj);
    frame->SetBoundsRect(rect);
    if (obj != "default") frame->AligningAll();
    return client->GetBoundsRect();
}

TRect TTeSkinFile::WindowGetTitleRect(TteWindowSubclass s, const TteWindowInfo& info, const String& obj) {
    TSeSkinObject* frame = Named(obj);
    if (!frame) frame = FrameSet(s).Frame;
    if (!frame) return TteTheme::WindowGetTitleRect(s, info, obj);
    frame->SetActive(info.DrawState.Contains(kwdsActive));
    frame->SetBoundsRect(info.Rect);
    frame->AligningAll();
    TSeSkinObject* title = frame->FindObjectByKind(skTitle);
    if (!title) return NullRect;
    Restore clear([title] { title->Text.clear(); });
    title->Text = info.Caption;
    if (TSeSkinObject* parent = title->Parent()) parent->Aligning();
    return title->GetBoundsRect();
}

TRect TTeSkinFile::WindowGetButtonRect(TteWindowSubclass s, const TteWindowInfo& info,
                                       TteWindowButtonClass button, const String& obj) {
    TSeSkinObject* frame = Named(obj);
    if (!frame) frame = FrameSet(s).ButtonRects;
    if (!frame) return NullRect;
    PrepareFrame(frame, info);
    const std::optional<TSeAction> action = ButtonAction(button);
    if (!action || !info.Buttons.Contains(button)) return NullRect;
    TSeSkinObject* found = frame->FindObjectByAction(*action);
    if (!found) return NullRect;
    if (button == kwbSysMenu && found->Parent()) found->Parent()->Aligning();
    return found->GetBoundsRect();
}

void TTeSkinFile::WindowDraw(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info, const String& obj) {
    TSeSkinObject* frame = Named(obj);
    // A named frame's client area is the control's to paint.
    TSeSkinObject* hidden = frame ? frame->FindObjectByKind(skClient) : nullptr;
    if (hidden == frame) hidden = nullptr;
    if (!frame) frame = FrameSet(s).Frame;
    if (!frame) return;
    const bool wasVisible = hidden && hidden->Visible;
    if (hidden) hidden->Visible = false;
    Restore show([hidden, wasVisible] {
        if (hidden) hidden->Visible = wasVisible;
    });
    frame->SetActive(info.DrawState.Contains(kwdsActive));
    frame->SetBoundsRect(info.Rect);
    frame->Draw(c, info.ClipRect);
}

void TTeSkinFile::WindowDrawClient(TteWindowSubclass s, TCanvas& c, const TRect& rect, const String& obj) {
    TSeSkinObject* named = Named(obj);
    TSeSkinObject* client = named ? named->FindObjectByKind(skClient) : nullptr;
    if (!client || client == named) client = FrameSet(s).Client;
    DrawObject(client, c, rect);
}

void TTeSkinFile::WindowDrawText(TteWindowSubclass s, TCanvas& c, const TteWindowInfo& info,
                                 const TRect& rect, const String& obj) {
    TSeSkinObject* named = Named(obj);
    TSeSkinObject* frame = named ? named : FrameSet(s).Frame;
    TSeSkinObject* title = frame ? frame->FindObjectByKind(skTitle) : nullptr;
    if (!title) return;
    const bool active = info.DrawState.Contains(kwdsActive);
    if (named) {
        title->SetState(active ? ssFocused : ssNormal);
        c.SetFont(title->GetFont());
    } else {
        c.SetFont(Fonts()->GetFont(active ? ktfCaptionTextNormal : ktfCaptionTextInactive));
    }
    if (title->GetTextMarginRightStretch()) {
        // The caption ends where the leftmost caption button on its right begins.
        int m = rect.right;
        for (int b = kwbSysMenu; b <= kwbCustom; ++b) {
            const TRect r = WindowGetButtonRect(s, info, static_cast<TteWindowButtonClass>(b), "default");
            if (!IsRectEmpty(r) && r.left > title->GetLeft() && r.left < m) m = r.left;
        }
        title->SetTextMarginRight(rect.right - m);
    }
    const bool shift = info.Buttons.Contains(kwbSysMenu) && title->GetTextShiftSysIton();
    const int marginLeft = title->GetTextMarginLeft();
    Restore undo([title, marginLeft] {
        title->SetTextMarginLeft(marginLeft);
        title->Text.clear();
    });
    if (shift) title->SetTextMarginLeft(marginLeft + 20);  // room for the window icon
    title->Text = info.Caption;
    title->SetBoundsRect(rect);
    title->Draw(c, NullRect);
}

void TTeSkinFile::WindowDrawButton(TteWindowSubclass s, TCanvas& c, const TteWindowButtonInfo& info,
                                   const String& obj) {
    if (IsRectEmpty(info.Rect)) return;
    TSeSkinObject* frame = Named(obj);
    if (!frame) frame = FrameSet(s).Buttons;
    if (!frame) return;
    const std::optional<TSeAction> action = ButtonAction(info.ButtonClass);
    if (TSeSkinObject* button = action ? frame->FindObjectByAction(*action) : nullptr) {
        button->SetActive(info.DrawState != kwbdsInactive);
        const TSeButtonState state = info.DrawState == kwbdsPressed ? sbsDown
                                     : info.DrawState == kwbdsHot   ? sbsHover
                                                                    : sbsNormal;
        if (auto* b = dynamic_cast<TSeSystemButton*>(button)) b->ButtonState = state;
        if (auto* b = dynamic_cast<TSeSysButtonSkinObject*>(button)) b->ButtonState = state;
        button->SetBoundsRect(info.Rect);
        button->Draw(c, NullRect);
    }
    // The window icon goes over the skin's system-menu button.
    if (info.ButtonClass == kwbSysMenu) TteTheme::WindowDrawButton(s, c, info, obj);
}

void TTeSkinFile::WindowDrawGripper(TteWindowSubclass s, TCanvas& c, const TteWindowGripperInfo& info,
                                    const String& obj) {
    WindowDrawClient(s, c, info.Rect, obj);
    DrawObject(Child(table_[kseStatusBar], "Gripper"), c, info.Rect);
}

}  // namespace tarvel
