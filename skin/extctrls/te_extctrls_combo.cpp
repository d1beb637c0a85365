#include "skin/extctrls/te_extctrls_combo.h"

#include <cmath>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ComCtrls_ComboBoxEx.h"
#include "platform/classlib/ControlPaint.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_comboex.h"
#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

namespace {

bool IsNull(const TRect& r) { return r == NullRect; }

TRect Offset(TRect r, int dx, int dy) { return TRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

TListBarParts ListBarParts(HWND list) {
    TListBarParts parts;
    SCROLLBARINFO info;
    if (!GetScrollBarInfo(list, OBJID_VSCROLL, info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return parts;
    const TRect window = WindowRect(list);
    const TRect bar = Offset(info.rcScrollBar, -window.left, -window.top);
    const int w = bar.Width();
    if (w <= 0) return parts;
    parts.bar = bar;
    parts.up = TRect{bar.left, bar.top, bar.right, bar.top + w};
    parts.down = TRect{bar.left, bar.bottom - w, bar.right, bar.bottom};
    parts.track = TRect{bar.left, bar.top + w, bar.right, bar.bottom - w};
    parts.thumb = TRect{bar.left, bar.top + info.xyThumbTop, bar.right, bar.top + info.xyThumbBottom};
    return parts;
}

int ThumbTopIndex(int y, const TRect& track, int count, int clientHeight, int itemHeight) {
    if (itemHeight <= 0 || track.Height() <= 0) return 0;
    const int hidden = std::max(0, count - clientHeight / itemHeight);
    const double share = std::clamp(static_cast<double>(y - track.top) / track.Height(), 0.0, 1.0);
    return std::clamp(static_cast<int>(std::nearbyint(share * hidden)), 0, hidden);
}

// ---- setup -------------------------------------------------------------------------------------

template <class Base>
void TTeSkinnedCombo<Base>::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSkinnedCombo::CNDrawItem>(CN_DRAWITEM);
    t.Add<&TTeSkinnedCombo::CNCommandSkin>(CN_COMMAND);
    t.Add<&TTeSkinnedCombo::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

template <class Base>
TTeSkinnedCombo<Base>::TTeSkinnedCombo(TComponent* owner)
    : Base(owner), TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}) {
    AddThemeNotification(this);
}

template <class Base>
TTeSkinnedCombo<Base>::~TTeSkinnedCombo() {
    RemoveThemeNotification(this);
    editHook_.Unhook();
    listHook_.Unhook();
}

template <class Base>
void TTeSkinnedCombo<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

template <class Base>
bool TTeSkinnedCombo<Base>::EditThemed() const {
    return IsObjectDefined(kescEdit, ThemeObject(), ThemeLink());
}
template <class Base>
bool TTeSkinnedCombo<Base>::ListThemed() const {
    return IsObjectDefined(klscListBox, ThemeObject(), ThemeLink());
}

// A theme with list items draws every item, whatever the style.
template <class Base>
bool TTeSkinnedCombo<Base>::IsOwnerDraw() const {
    return Base::IsOwnerDraw() || ListThemed();
}

template <class Base>
void TTeSkinnedCombo<Base>::CreateHandleDone() {
    Base::CreateHandleDone();
    FollowTheme();
}

template <class Base>
void TTeSkinnedCombo<Base>::DestroyWnd() {
    editHook_.Unhook();
    listHook_.Unhook();
    Base::DestroyWnd();
}

template <class Base>
void TTeSkinnedCombo<Base>::FollowTheme() {
    if (this->ComponentState().Contains(csDestroying) || !this->HandleAllocated()) return;
    const bool list = ListThemed();
    if (!list) listHook_.Unhook();
    if (list && this->EditControl())
        editHook_.Hook(this->EditControl()->Handle(), [this](TMessage& m) { EditProc(m); });
    else
        editHook_.Unhook();
}

// ---- the face ----------------------------------------------------------------------------------

template <class Base>
TteEditButtonDrawState TTeSkinnedCombo<Base>::ButtonState() {
    if (!this->Enabled()) return kebdsDisabled;
    if (this->DroppedDown()) return kebdsPressed;
    return this->ButtonHot() ? kebdsHot : kebdsNormal;
}

template <class Base>
void TTeSkinnedCombo<Base>::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintSkinnedEditFrame(canvas, rect, ThemeLink(), ThemeObject(), SkinnedEditState(this, MouseInside()));
}

template <class Base>
void TTeSkinnedCombo<Base>::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    if (EditThemed()) {
        GetThemeLink(ThemeLink())
            ->EditDrawButton(kescComboBoxRight, canvas,
                             EditButtonInfo(this->ButtonRect(), ButtonState(), kebcDropDown), "default");
        return;
    }
    FillRect(canvas, rect, this->Color());
    TRect button = this->ButtonRect();
    DrawFrameControl(canvas.Handle(), &button, DFC_SCROLL,
                     DFCS_SCROLLDOWN | (this->DroppedDown() ? DFCS_PUSHED : 0u));
}

template <class Base>
void TTeSkinnedCombo<Base>::DrawItemThemed(TCanvas& canvas, int index, bool selected, const TRect& rect) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.itemState = ODS_COMBOBOXEDIT | (selected ? ODS_SELECTED : 0u);
    dis.hwndItem = this->Handle();
    dis.hDC = canvas.Handle();
    dis.rcItem = rect;
    SendMessage(this->Handle(), WM_DRAWITEM, reinterpret_cast<WPARAM>(this->Handle()),
                reinterpret_cast<LPARAM>(&dis));
}

template <class Base>
void TTeSkinnedCombo<Base>::PaintFace() {
    FollowTheme();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(this->Handle(), &ps);
    {
        TDcCanvas canvas(dc);
        const TRect client = this->ClientRect();
        // The interior of the theme's edit, whose frame lies in the border around.
        GetThemeLink(ThemeLink())
            ->EditDraw(kescEdit, *canvas,
                       EditInfo(InflatedRect(client, 2, 2), SkinnedEditState(this, MouseInside())),
                       "default");
        PaintBuffer(*canvas, client);
        if (!this->EditControl() && this->ItemIndex() >= 0 && this->ItemIndex() < this->Items()->Count()) {
            const TRect item{client.left, client.top, this->ButtonRect().left - 2, client.bottom};
            DrawItemThemed(*canvas, this->ItemIndex(), this->Focused() && !this->DroppedDown(), item);
        }
    }
    EndPaint(this->Handle(), &ps);
}

template <class Base>
void TTeSkinnedCombo<Base>::WndProc(TMessage& m) {
    if (!EditThemed() || this->ComponentState().Contains(csDestroying)) {
        if (m.Msg != SNM_THEMEMESSAGE && m.Msg != CN_DRAWITEM) listHook_.Unhook();
        Base::WndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_PAINT: PaintFace(); return;
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_NCPAINT:
            PaintNonClientFrame(this, false, [this](TCanvas& c, const TRect& r) { PaintBorder(c, r); });
            m.Result = 0;
            return;
        case WM_SETFOCUS:
            Base::WndProc(m);
            InvalidateRect(this->Handle(), nullptr, false);
            return;
        case WM_CTLCOLORLISTBOX:
            Base::WndProc(m);
            if (ListThemed() && !listHook_.Window()) {
                listHook_.Hook(reinterpret_cast<HWND>(m.LParam), [this](TMessage& lm) { ListProc(lm); });
                // Its first paint is under way: the frame went out natively.
                PaintListFrame();
            }
            SetBkMode(DcFromWParam(m.WParam), TRANSPARENT);
            return;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            Base::WndProc(m);
            SetBkMode(DcFromWParam(m.WParam), TRANSPARENT);
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            Base::WndProc(m);
            FollowMouse(m, this->IsOwnMouseMessage(m));
            return;
        case SNM_LINKCHANGED:
            if (IsOwnLinkMessage(m)) FollowThemeLink(true);
            return;
    }
    Base::WndProc(m);
}

template <class Base>
void TTeSkinnedCombo<Base>::CNDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!dis || !ListThemed() || this->ComponentState().Contains(csDestroying)) {
        this->DispatchFrom(inherited::StaticClass(), m);
        return;
    }
    TteTheme* theme = GetThemeLink(ThemeLink());
    const int index = static_cast<int32_t>(dis->itemID);
    const bool selected = index >= 0 && (dis->itemState & ODS_SELECTED);
    TDcCanvas canvas(dis->hDC);
    theme->ListDrawItem(klscListBox, *canvas,
                        ListItemInfo(dis->rcItem, selected ? klidsFocused : klidsNormal), ThemeObject());
    if (index >= 0 && index < this->Items()->Count())
        DrawThemedContent(*canvas, theme, index, dis->rcItem, selected,
                          (dis->itemState & ODS_COMBOBOXEDIT) != 0);
    m.Result = 1;
}

template <class Base>
void TTeSkinnedCombo<Base>::DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect,
                                              bool selected, bool) {
    const TteListItemDrawState state = selected ? klidsFocused : klidsNormal;
    canvas.Font()->Assign(
        theme->Fonts()->GetFont(static_cast<TteThemeFont>(static_cast<int>(ktfListItemTextNormal) + state)));
    canvas.Brush()->SetStyle(bsClear);
    rect.left += 2;
    DrawText(canvas, Utf8ToWide(this->Items()->Strings(index)), rect, DT_SINGLELINE | DT_VCENTER);
}

template <class Base>
void TTeSkinnedCombo<Base>::CNCommandSkin(TMessage& m) {
    this->DispatchFrom(inherited::StaticClass(), m);
    const WORD code = HIWORD(m.WParam);
    if (this->HandleAllocated() && ListThemed() &&
        (code == CBN_CLOSEUP || code == CBN_SELENDOK || code == CBN_SELENDCANCEL))
        InvalidateRect(this->Handle(), nullptr, false);
}

// The owner-draw choice and the hooks depend on the theme.
template <class Base>
void TTeSkinnedCombo<Base>::SNMThemeMessage(TMessage& m) {
    if (!this->HandleAllocated() || !RepaintsOnThemeMessage(m)) return;
    FollowTheme();
    SendMessage(this->Handle(), WM_NCPAINT, 1, 0);
    InvalidateRect(this->Handle(), nullptr, true);
    if (this->ListBox()->HandleAllocated()) InvalidateRect(this->ListBox()->Handle(), nullptr, true);
}

// ---- the edit child ----------------------------------------------------------------------------

template <class Base>
void TTeSkinnedCombo<Base>::EditProc(TMessage& m) {
    if (this->ComponentState().Contains(csDestroying)) return;
    if (m.Msg != WM_ERASEBKGND || !EditThemed()) {
        editHook_.CallSaved(m);
        return;
    }
    // The face's interior shows through around the text.
    if (HDC dc = DcFromWParam(m.WParam)) {
        TDcCanvas canvas(dc);
        const TControl* edit = this->EditControl();
        const TRect face = Offset(InflatedRect(this->ClientRect(), 2, 2), -edit->Left(), -edit->Top());
        GetThemeLink(ThemeLink())
            ->EditDraw(kescEdit, *canvas, EditInfo(face, SkinnedEditState(this, MouseInside())), "default");
    }
    m.Result = 1;
}

// ---- the dropped list --------------------------------------------------------------------------

template <class Base>
TPoint TTeSkinnedCombo<Base>::ListWindowPoint(TPoint client) const {
    HWND list = listHook_.Window();
    TPoint p = client;
    ::tarvel::ClientToScreen(list, p);
    const TRect window = WindowRect(list);
    return TPoint{p.x - window.left, p.y - window.top};
}

template <class Base>
void TTeSkinnedCombo<Base>::PaintListFrame() {
    HWND list = listHook_.Window();
    if (!list || !ListThemed()) return;
    TteTheme* theme = GetThemeLink(ThemeLink());
    const TRect window = WindowRect(list);
    const TListBarParts parts = ListBarParts(list);
    const TPoint client = ListWindowPoint(TPoint{0, 0});
    const TRect clientRect = ::tarvel::ClientRect(list);
    HDC dc = GetWindowDC(list);
    if (!dc) return;
    {
        TDcCanvas canvas(dc);
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, client.x, client.y, client.x + clientRect.Width(),
                        client.y + clientRect.Height());
        if (!IsNull(parts.bar))
            ExcludeClipRect(dc, parts.bar.left, parts.bar.top, parts.bar.right, parts.bar.bottom);
        theme->ListDraw(klscListBox, *canvas, ListInfo(TRect{0, 0, window.Width(), window.Height()}),
                        ThemeObject());
        RestoreDC(dc, saved);
        if (!IsNull(parts.bar)) {
            auto button = [&](const TRect& r, bool pressed, TteScrollButtonClass cls) {
                theme->ScrollDrawButton(ksscScrollBar, *canvas,
                                        ScrollButtonInfo(r, pressed ? ksbdsPressed : ksbdsNormal, cls),
                                        "default");
            };
            button(parts.thumb, thumbPressed_, ksbcVertSlider);
            const int beforeTrack = SaveDC(dc);
            ExcludeClipRect(dc, parts.thumb.left, parts.thumb.top, parts.thumb.right, parts.thumb.bottom);
            theme->ScrollDrawArea(ksscScrollBar, *canvas,
                                  ScrollAreaInfo(parts.track, ksadsNormal, ksacVertical), "default");
            RestoreDC(dc, beforeTrack);
            button(parts.up, upPressed_, ksbcUp);
            button(parts.down, downPressed_, ksbcDown);
        }
    }
    ReleaseDC(list, dc);
}

template <class Base>
bool TTeSkinnedCombo<Base>::PressListBar(TPoint p) {
    HWND list = listHook_.Window();
    const TListBarParts parts = ListBarParts(list);
    if (IsNull(parts.bar) || !parts.bar.Contains(p)) return false;
    auto line = [&](bool& pressed, WORD code) {
        SendMessage(list, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
        pressed = true;
        PaintListFrame();
        pressed = false;
        PaintListFrame();
    };
    if (parts.up.Contains(p)) {
        line(upPressed_, SB_LINEUP);
    } else if (parts.down.Contains(p)) {
        line(downPressed_, SB_LINEDOWN);
    } else if (parts.thumb.Contains(p)) {
        thumbPressed_ = true;
        PaintListFrame();
    }
    // The track does nothing.
    return true;
}

template <class Base>
void TTeSkinnedCombo<Base>::ListProc(TMessage& m) {
    if (this->ComponentState().Contains(csDestroying)) return;
    HWND list = listHook_.Window();
    switch (m.Msg) {
        case WM_PAINT:
        case WM_WINDOWPOSCHANGED:
        case WM_VSCROLL:
            listHook_.CallSaved(m);
            PaintListFrame();
            return;
        case WM_ERASEBKGND: m.Result = 1; return;
        case WM_NCPAINT:
            PaintListFrame();
            m.Result = 0;
            return;
        case WM_NCLBUTTONDOWN: {
            const TRect window = WindowRect(list);
            const TPoint p = PointFromLParam(m.LParam);
            if (!PressListBar(TPoint{p.x - window.left, p.y - window.top})) listHook_.CallSaved(m);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // While dropped the list holds the mouse: presses on its bar come as client presses.
            if (!PressListBar(ListWindowPoint(PointFromLParam(m.LParam)))) listHook_.CallSaved(m);
            return;
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:
            if (!thumbPressed_) {
                listHook_.CallSaved(m);
                return;
            }
            thumbPressed_ = false;
            PaintListFrame();
            return;
        case WM_MOUSEMOVE:
            if (thumbPressed_) {
                const TPoint p = ListWindowPoint(PointFromLParam(m.LParam));
                const int top = ThumbTopIndex(p.y, ListBarParts(list).track, this->Items()->Count(),
                                              ::tarvel::ClientRect(list).Height(), this->ItemHeight());
                SendMessage(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
                PaintListFrame();
                return;
            }
            listHook_.CallSaved(m);
            if (m.WParam & MK_LBUTTON) PaintListFrame();
            return;
        case WM_MOUSEWHEEL:
            SendMessage(list, WM_VSCROLL,
                        MAKEWPARAM(static_cast<int16_t>(HIWORD(m.WParam)) < 0 ? SB_LINEDOWN : SB_LINEUP, 0),
                        0);
            PaintListFrame();
            return;
        case WM_NCDESTROY:
            listHook_.CallSaved(m);
            listHook_.Unhook();
            return;
    }
    listHook_.CallSaved(m);
}

template class TTeSkinnedCombo<TComboBox>;
template class TTeSkinnedCombo<TTeCustomStdComboBoxEx>;

}  // namespace tarvel
