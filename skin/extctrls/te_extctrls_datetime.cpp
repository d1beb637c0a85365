#include "skin/extctrls/te_extctrls_datetime.h"

#include "platform/classlib/ComCtrlMessages.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

namespace {

constexpr int kButtonWidth = 16;
// Ticks of button redraw after the calendar opens.
constexpr int kRedrawTicks = 6;

}  // namespace

void TTeDateTimePicker::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeDateTimePicker::CNNotify>(CN_NOTIFY);
    t.Add<&TTeDateTimePicker::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeDateTimePicker::TTeDateTimePicker(TComponent* owner)
    : TDateTimePicker(owner),
      TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}),
      timer_(new TTimer(this)),
      upDown_(true, [this] { return GetThemeLink(ThemeLink()); }) {
    timer_->SetEnabled(false);
    timer_->SetInterval(50);
    timer_->OnTimer = [this](TObject*) { DoBtnTimer(); };
    saved_.Assign(CalColors());
    AddThemeNotification(this);
}

TTeDateTimePicker::~TTeDateTimePicker() {
    RemoveThemeNotification(this);
    UnhookUpDown();
}

void TTeDateTimePicker::Loaded() {
    TDateTimePicker::Loaded();
    saved_.Assign(CalColors());
}

void TTeDateTimePicker::Notification(TComponent* component, TOperation operation) {
    TDateTimePicker::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

bool TTeDateTimePicker::EditThemed() const { return IsObjectDefined(kescEdit, ThemeObject(), ThemeLink()); }

TRect TTeDateTimePicker::GetButtonRect() {
    const TRect c = ClientRect();
    return TRect{c.right - kButtonWidth, c.top, c.right, c.bottom};
}

void TTeDateTimePicker::InvalidateButton() {
    if (!HandleAllocated()) return;
    const TRect button = GetButtonRect();
    InvalidateRect(Handle(), &button, false);
}

// ---- painting ----------------------------------------------------------------------------------

void TTeDateTimePicker::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintSkinnedEditFrame(canvas, rect, ThemeLink(), ThemeObject(), SkinnedEditState(this, MouseInside()));
}

void TTeDateTimePicker::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    TteEditButtonDrawState state = kebdsNormal;
    if (!Enabled())
        state = kebdsDisabled;
    else if (DroppedDown())
        state = kebdsPressed;
    else if (buttonHot_)
        state = kebdsHot;
    if (EditThemed()) {
        GetThemeLink(ThemeLink())
            ->EditDrawButton(kescComboBoxRight, canvas, EditButtonInfo(GetButtonRect(), state, kebcDropDown),
                             "default");
        return;
    }
    FillRect(canvas, rect, Color());
    TRect button = GetButtonRect();
    DrawFrameControl(canvas.Handle(), &button, DFC_SCROLL,
                     DFCS_SCROLLDOWN | (DroppedDown() ? DFCS_PUSHED : 0u));
}

// The picker draws its fields; the theme's button goes over its own.
void TTeDateTimePicker::Paint() {
    TDateTimePicker::Paint();
    if (!EditThemed()) return;
    HookUpDown();
    PaintBuffer(*Canvas(), ClientRect());
}

void TTeDateTimePicker::WndProc(TMessage& m) {
    if (!EditThemed()) {
        TDateTimePicker::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TDateTimePicker::WndProc(m);
            if (HandleAllocated()) InvalidateRect(Handle(), nullptr, false);
            return;
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_NCPAINT:
            PaintNonClientFrame(this, false, [this](TCanvas& c, const TRect& r) { PaintBorder(c, r); });
            m.Result = 0;
            return;
        case WM_MOUSEMOVE:
            TDateTimePicker::WndProc(m);
            buttonHot_ = GetButtonRect().Contains(PointFromLParam(m.LParam));
            InvalidateButton();
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TDateTimePicker::WndProc(m);
            if (FollowMouse(m, IsOwnMouseMessage(m)) && !MouseInside()) {
                buttonHot_ = false;
                InvalidateButton();
            }
            return;
        case SNM_LINKCHANGED:
            if (IsOwnLinkMessage(m)) FollowThemeLink(true);
            return;
    }
    TDateTimePicker::WndProc(m);
}

// ---- the drop-down -----------------------------------------------------------------------------

void TTeDateTimePicker::CNNotify(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    m.Result = 0;
    const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
    if (!header) return;
    if (header->code == DTN_DROPDOWN) {
        // The pressed button is drawn again while the calendar settles.
        ticks_ = 0;
        timer_->SetEnabled(true);
    } else if (header->code == DTN_CLOSEUP) {
        InvalidateButton();
    }
}

void TTeDateTimePicker::DoBtnTimer() {
    InvalidateButton();
    if (++ticks_ >= kRedrawTicks) timer_->SetEnabled(false);
}

// ---- the up-down child -------------------------------------------------------------------------

// A picker made after the theme came missed its message: the window's
// arrival counts as one.
void TTeDateTimePicker::CreateHandleDone() {
    TDateTimePicker::CreateHandleDone();
    HookUpDown();
    if (TteTheme* theme = GetThemeLink(ThemeLink())) ApplyThemeCalColors(*CalColors(), theme);
}

void TTeDateTimePicker::HookUpDown() {
    if (ComponentState().Contains(csDesigning) || !HandleAllocated() || !EditThemed()) return;
    HWND upDown = FindWindowEx(Handle(), nullptr, "msctls_updown32");
    if (upDown) upDown_.Hook(upDown);
}

// ---- theme -------------------------------------------------------------------------------------

void TTeDateTimePicker::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated() || !RepaintsOnThemeMessage(m)) return;
    if (m.WParam == tmChanged || m.WParam == tmApply) {
        HookUpDown();
        if (TteTheme* theme = GetThemeLink(ThemeLink())) ApplyThemeCalColors(*CalColors(), theme);
    } else if (m.WParam == tmReleased) {
        UnhookUpDown();
        CalColors()->Assign(&saved_);
    }
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    InvalidateRect(Handle(), nullptr, true);
}

}  // namespace tarvel
