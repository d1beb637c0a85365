#include "skin/extctrls/te_extctrls_combo.h"

#include <cmath>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ControlPaint.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_utils_draw.h"
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

void TTeSComboBox::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeSComboBox::CNDrawItem>(CN_DRAWITEM);
    t.Add<&TTeSComboBox::CNCommandSkin>(CN_COMMAND);
    t.Add<&TTeSComboBox::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSComboBox::TTeSComboBox(TComponent* owner)
    : TComboBox(owner), TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}) {
    AddThemeNotification(this);
}

TTeSComboBox::~TTeSComboBox() {
    RemoveThemeNotification(this);
    editHook_.Unhook();
    listHook_.Unhook();
}

void TTeSComboBox::Notification(TComponent* component, TOperation operation) {
    TComboBox::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

bool TTeSComboBox::EditThemed() const { return IsObjectDefined(kescEdit, ThemeObject(), ThemeLink()); }
bool TTeSComboBox::ListThemed() const { return IsObjectDefined(klscListBox, ThemeObject(), ThemeLink()); }

// A theme with list items draws every item, whatever the style.
bool TTeSComboBox::IsOwnerDraw() const { return TComboBox::IsOwnerDraw() || ListThemed(); }

void TTeSComboBox::CreateHandleDone() {
    TComboBox::CreateHandleDone();
    FollowTheme();
}

void TTeSComboBox::DestroyWnd() {
    editHook_.Unhook();
    listHook_.Unhook();
    TComboBox::DestroyWnd();
}

void TTeSComboBox::FollowTheme() {
    if (ComponentState().Contains(csDestroying) || !HandleAllocated()) return;
    const bool list = ListThemed();
    if (!list) listHook_.Unhook();
    if (list && EditControl())
        editHook_.Hook(EditControl()->Handle(), [this](TMessage& m) { EditProc(m); });
    else
        editHook_.Unhook();
}

// ---- the face ----------------------------------------------------------------------------------

TteEditButtonDrawState TTeSComboBox::ButtonState() {
    if (!Enabled()) return kebdsDisabled;
    if (DroppedDown()) return kebdsPressed;
    return ButtonHot() ? kebdsHot : kebdsNormal;
}

void TTeSComboBox::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintSkinnedEditFrame(canvas, rect, ThemeLink(), ThemeObject(), SkinnedEditState(this, MouseInside()));
}

void TTeSComboBox::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    if (EditThemed()) {
        GetThemeLink(ThemeLink())
            ->EditDrawButton(kescComboBoxRight, canvas,
                             EditButtonInfo(ButtonRect(), ButtonState(), kebcDropDown), "default");
        return;
    }
    FillRect(canvas, rect, Color());
    TRect button = ButtonRect();
    DrawFrameControl(canvas.Handle(), &button, DFC_SCROLL,
                     DFCS_SCROLLDOWN | (DroppedDown() ? DFCS_PUSHED : 0u));
}

void TTeSComboBox::DrawItemThemed(TCanvas& canvas, int index, bool selected, const TRect& rect) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.itemState = selected ? ODS_SELECTED : 0u;
    dis.hwndItem = Handle();
    dis.hDC = canvas.Handle();
    dis.rcItem = rect;
    SendMessage(Handle(), WM_DRAWITEM, reinterpret_cast<WPARAM>(Handle()), reinterpret_cast<LPARAM>(&dis));
}

void TTeSComboBox::PaintFace() {
    FollowTheme();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    {
        TDcCanvas canvas(dc);
        const TRect client = ClientRect();
        // The interior of the theme's edit, whose frame lies in the border around.
        GetThemeLink(ThemeLink())
            ->EditDraw(kescEdit, *canvas,
                       EditInfo(InflatedRect(client, 2, 2), SkinnedEditState(this, MouseInside())),
                       "default");
        PaintBuffer(*canvas, client);
        if (!EditControl() && ItemIndex() >= 0 && ItemIndex() < Items()->Count()) {
            const TRect item{client.left, client.top, ButtonRect().left - 2, client.bottom};
            DrawItemThemed(*canvas, ItemIndex(), Focused() && !DroppedDown(), item);
        }
    }
    EndPaint(Handle(), &ps);
}

void TTeSComboBox::WndProc(TMessage& m) {
    if (!EditThemed() || ComponentState().Contains(csDestroying)) {
        if (m.Msg != SNM_THEMEMESSAGE && m.Msg != CN_DRAWITEM) listHook_.Unhook();
        TComboBox::WndProc(m);
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
            TComboBox::WndProc(m);
            InvalidateRect(Handle(), nullptr, false);
            return;
        case WM_CTLCOLORLISTBOX:
            TComboBox::WndProc(m);
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
            TComboBox::WndProc(m);
            SetBkMode(DcFromWParam(m.WParam), TRANSPARENT);
            return;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TComboBox::WndProc(m);
            FollowMouse(m, IsOwnMouseMessage(m));
            return;
        case SNM_LINKCHANGED:
            if (IsOwnLinkMessage(m)) FollowThemeLink(true);
            return;
    }
    TComboBox::WndProc(m);
}

void TTeSComboBox::CNDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!dis || !ListThemed() || ComponentState().Contains(csDestroying)) {
        DispatchFrom(inherited::StaticClass(), m);
        return;
    }
    TteTheme* theme = GetThemeLink(ThemeLink());
    const int index = static_cast<int32_t>(dis->itemID);
    const TteListItemDrawState state =
        index >= 0 && (dis->itemState & ODS_SELECTED) ? klidsFocused : klidsNormal;
    TDcCanvas canvas(dis->hDC);
    theme->ListDrawItem(klscListBox, *canvas, ListItemInfo(dis->rcItem, state), ThemeObject());
    if (index >= 0 && index < Items()->Count()) {
        (*canvas).Font()->Assign(theme->Fonts()->GetFont(
            static_cast<TteThemeFont>(static_cast<int>(ktfListItemTextNormal) + state)));
        (*canvas).Brush()->SetStyle(bsClear);
        TRect text = dis->rcItem;
        text.left += 2;
        DrawText(*canvas, Utf8ToWide(Items()->Strings(index)), text, DT_SINGLELINE | DT_VCENTER);
    }
    m.Result = 1;
}

void TTeSComboBox::CNCommandSkin(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    const WORD code = HIWORD(m.WParam);
    if (HandleAllocated() && ListThemed() &&
        (code == CBN_CLOSEUP || code == CBN_SELENDOK || code == CBN_SELENDCANCEL))
        InvalidateRect(Handle(), nullptr, false);
}

// The owner-draw choice and the hooks depend on the theme.
void TTeSComboBox::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated() || !RepaintsOnThemeMessage(m)) return;
    FollowTheme();
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    InvalidateRect(Handle(), nullptr, true);
    if (ListBox()->HandleAllocated()) InvalidateRect(ListBox()->Handle(), nullptr, true);
}

// ---- the edit child ----------------------------------------------------------------------------

void TTeSComboBox::EditProc(TMessage& m) {
    if (ComponentState().Contains(csDestroying)) return;
    if (m.Msg != WM_ERASEBKGND || !EditThemed()) {
        editHook_.CallSaved(m);
        return;
    }
    // The face's interior shows through around the text.
    if (HDC dc = DcFromWParam(m.WParam)) {
        TDcCanvas canvas(dc);
        const TControl* edit = EditControl();
        const TRect face = Offset(InflatedRect(ClientRect(), 2, 2), -edit->Left(), -edit->Top());
        GetThemeLink(ThemeLink())
            ->EditDraw(kescEdit, *canvas, EditInfo(face, SkinnedEditState(this, MouseInside())), "default");
    }
    m.Result = 1;
}

// ---- the dropped list --------------------------------------------------------------------------

TPoint TTeSComboBox::ListWindowPoint(TPoint client) const {
    HWND list = listHook_.Window();
    TPoint p = client;
    ::tarvel::ClientToScreen(list, p);
    const TRect window = WindowRect(list);
    return TPoint{p.x - window.left, p.y - window.top};
}

void TTeSComboBox::PaintListFrame() {
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

bool TTeSComboBox::PressListBar(TPoint p) {
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

void TTeSComboBox::ListProc(TMessage& m) {
    if (ComponentState().Contains(csDestroying)) return;
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
                const int top = ThumbTopIndex(p.y, ListBarParts(list).track, Items()->Count(),
                                              ::tarvel::ClientRect(list).Height(), ItemHeight());
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

}  // namespace tarvel
