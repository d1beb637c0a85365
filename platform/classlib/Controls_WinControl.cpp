// TWinControl: the window, its procedure, painting, keys, focus and layout.

#include <algorithm>

#include "platform/classlib/Application.h"
#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrlMessages.h"

namespace tarvel {

namespace {

constexpr const char* kControlProp = "tarvel.control";
TWinControl* gCreating = nullptr;

WNDPROC StandardProcedure() {
    static WNDPROC proc = MakeWindowProc(&StdWndProc);
    return proc;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }

bool InRange(UINT msg, UINT base) { return msg >= base && msg < base + 0x400; }

}  // namespace

LRESULT StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<TWinControl*>(GetProp(hwnd, kControlProp));
    if (!control && gCreating) {
        // The first message of the window being made: tie it to its control.
        control = gCreating;
        gCreating = nullptr;
        control->handle_ = hwnd;
        SetProp(hwnd, kControlProp, reinterpret_cast<intptr_t>(control));
    }
    if (!control) return DefWindowProc(hwnd, msg, wParam, lParam);
    return control->MainWndProc(msg, wParam, lParam);
}

TWinControl* FindControl(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    return reinterpret_cast<TWinControl*>(GetProp(hwnd, kControlProp));
}

void TWinControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TWinControl::WMPaint>(WM_PAINT);
    t.Add<&TWinControl::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TWinControl::WMPrintClient>(WM_PRINTCLIENT);
    t.Add<&TWinControl::WMSize>(WM_SIZE);
    t.Add<&TWinControl::WMMove>(WM_MOVE);
    t.Add<&TWinControl::WMWindowPosChanged>(WM_WINDOWPOSCHANGED);
    t.Add<&TWinControl::WMSetFocus>(WM_SETFOCUS);
    t.Add<&TWinControl::WMKillFocus>(WM_KILLFOCUS);
    t.Add<&TWinControl::WMSetCursor>(WM_SETCURSOR);
    t.Add<&TWinControl::WMKeyDown>(WM_KEYDOWN);
    t.Add<&TWinControl::WMKeyDown>(WM_SYSKEYDOWN);
    t.Add<&TWinControl::WMKeyUp>(WM_KEYUP);
    t.Add<&TWinControl::WMKeyUp>(WM_SYSKEYUP);
    t.Add<&TWinControl::WMChar>(WM_CHAR);
    t.Add<&TWinControl::WMMouseWheel>(WM_MOUSEWHEEL);
    t.Add<&TWinControl::CNKeyDown>(CN_KEYDOWN);
    t.Add<&TWinControl::CNKeyDown>(CN_SYSKEYDOWN);
    t.Add<&TWinControl::CNChar>(CN_CHAR);
    t.Add<&TWinControl::CNSysChar>(CN_SYSCHAR);
    t.Add<&TWinControl::CMDialogKey>(CM_DIALOGKEY);
    t.Add<&TWinControl::CMDialogChar>(CM_DIALOGCHAR);
    t.Add<&TWinControl::CMEnter>(CM_ENTER);
    t.Add<&TWinControl::CMExit>(CM_EXIT);
    t.Add<&TWinControl::CMVisibleChangedWin>(CM_VISIBLECHANGED);
    t.Add<&TWinControl::CMEnabledChangedWin>(CM_ENABLEDCHANGED);
    t.Add<&TWinControl::CMColorChangedWin>(CM_COLORCHANGED);
    t.Add<&TWinControl::CMFontChangedWin>(CM_FONTCHANGED);
    t.Add<&TWinControl::CMShowHintChangedWin>(CM_SHOWHINTCHANGED);
    t.Add<&TWinControl::CMFocusChangedWin>(CM_FOCUSCHANGED);
    t.Add<&TWinControl::CMChangedWin>(CM_CHANGED);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    Destroying();
    SetDockSite(false);
    if (parent_) parent_->RemoveControl(this);
    DestroyHandle();
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        delete c;
    }
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(TControl* control) const {
    for (TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    if (control->parent_ == this) return;
    if (control->parent_) control->parent_->RemoveControl(control);
    controls_.push_back(control);
    control->parent_ = this;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win) tabList_.push_back(win);
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    control->RememberAnchorBase();
    if (win && handle_) win->CreateHandle();
    control->InvalidateControl(control->Visible(), false);
    Realign(control);
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    if (TCustomForm* form = GetParentForm(this)) form->ControlRemoving(control);
    control->InvalidateControl(control->Visible(), false);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->DestroyHandle();
        std::erase(tabList_, win);
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), control));
    control->parent_ = nullptr;
    if (GetCaptureControl() == control) SetCaptureControl(nullptr);
    Realign();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() && !allowWinControls) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (!c->BoundsRect().Contains(p)) continue;
        TPoint local{p.x - c->Left(), p.y - c->Top()};
        if (c->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0) return c;
    }
    return nullptr;
}

// ---- the window -------------------------------------------------------------

HWND TWinControl::ParentWindow() const { return parent_ ? parent_->Handle() : nullptr; }

HWND TWinControl::Handle() {
    if (!handle_) {
        if (parent_) parent_->HandleNeeded();
        if (!handle_) CreateHandle();
    }
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    ControlState.Include(csCreating);
    try {
        CreateWnd();
    } catch (...) {
        ControlState.Exclude(csCreating);
        throw;
    }
    ControlState.Exclude(csCreating);
    std::vector<TWinControl*> children = tabList_;
    for (TWinControl* c : children) c->CreateHandle();
    UpdateBoundsFromWindow();
    Realign();
    CreateHandleDone();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = Text();
    params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (tabStop_) params.Style |= WS_TABSTOP;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    params.WndParent = ParentWindow();
    params.Param = this;
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    WNDCLASS existing;
    if (!GetClassInfo(params.WinClassName, existing)) {
        WNDCLASS wc;
        wc.style = params.ClassStyle;
        wc.lpfnWndProc = StandardProcedure();
        // Without a class cursor the last shape shown (a size arrow, an
        // I-beam) would stay over controls that set none.
        wc.hCursor = LoadCursor(IDC_ARROW);
        wc.lpszClassName = params.WinClassName;
        RegisterClass(wc);
    }
    CreateWindowHandle(params);
    if (!handle_) throw EInvalidOperation("Error creating window of " + ClassName());
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    gCreating = this;
    HWND h = CreateWindowEx(params.ExStyle, params.WinClassName, params.Caption, params.Style, params.X,
                            params.Y, params.Width, params.Height, params.WndParent, 0, params.Param);
    gCreating = nullptr;
    if (!h) handle_ = nullptr;
}

void TWinControl::DestroyWnd() {}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    ControlState.Include(csDestroyingHandle);
    DestroyWnd();
    HWND h = handle_;
    RemoveProp(h, kControlProp);
    handle_ = nullptr;
    DestroyWindow(h);
    ControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    Handle();
}

LRESULT TWinControl::MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    HWND self = handle_;
    try {
        WindowProc(m);
    } catch (...) {
        if (!Application) throw;
        Application->HandleException(this);
    }
    if (msg == WM_NCDESTROY && FindControl(self) == this) {
        RemoveProp(self, kControlProp);
        handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::WndProc(TMessage& m) {
    // The mouse taken away from a drag's window (by a menu, another window)
    // leaves no release to end the drag: it ends as cancelled.
    if (m.Msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(m.LParam) != handle_) {
        TControl* dragged = DragControl();
        if (dragged && (dragged == this || (!dragged->IsWindowed() && dragged->Parent() == this))) {
            // The target told of the end may free this control.
            const TControlWatch self(this);
            dragged->EndDrag(false);
            if (!self.Get()) return;
        }
    }
    if (IsMouseMessage(m.Msg)) {
        if (IsControlMouseMsg(m)) return;
        if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && tabStop_ && !Focused() && CanFocus())
            SetFocus();
    }
    TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    TPoint p = PointFromLParam(m.LParam);
    if (handle_ && GetCapture() == handle_) {
        TControl* cap = GetCaptureControl();
        if (cap && cap->Parent() == this) target = cap;
    } else {
        target = ControlAtPos(p, false);
    }
    if (!target || target->IsWindowed()) return false;
    m.Result =
        target->Perform(m.Msg, m.WParam, PointToLParam(TPoint{p.x - target->Left(), p.y - target->Top()}));
    return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!handle_ || InRange(m.Msg, CM_BASE) || InRange(m.Msg, CN_BASE)) {
        TControl::DefaultHandler(m);
        return;
    }
    switch (m.Msg) {
        case WM_SETTEXT: {
            m.Result = DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
            const char* t = reinterpret_cast<const char*>(m.LParam);
            String s = t ? t : "";
            if (s != text_) {
                text_ = s;
                Perform(CM_TEXTCHANGED, 0, 0);
            }
            return;
        }
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: TControl::DefaultHandler(m); return;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
            HWND from = header ? header->hwndFrom : nullptr;
            if (from && from != handle_ && FindControl(from)) {
                m.Result = SendMessage(from, CN_NOTIFY, m.WParam, m.LParam);
                return;
            }
            break;
        }
        case WM_DRAWITEM:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            // A control's request comes back to it as CN_..., through its
            // window so that a subclasser sees it too.
            HWND from = reinterpret_cast<HWND>(m.LParam);
            if (m.Msg == WM_DRAWITEM)
                from = m.LParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hwndItem : nullptr;
            if (FindControl(from)) {
                m.Result = SendMessage(from, CN_BASE + m.Msg, m.WParam, m.LParam);
                return;
            }
            break;
        }
    }
    m.Result = DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::SetText(const String& text) {
    if (handle_)
        SetWindowText(handle_, text);
    else
        TControl::SetText(text);
}

// ---- bounds and layout ------------------------------------------------------------

TRect TWinControl::GetClientRect() {
    return handle_ ? ::tarvel::ClientRect(handle_) : TControl::GetClientRect();
}

TPoint TWinControl::GetClientOrigin() {
    if (!handle_) return TControl::GetClientOrigin();
    TPoint p{0, 0};
    ::tarvel::ClientToScreen(handle_, p);
    return p;
}

bool TWinControl::Showing() const { return handle_ && IsWindowVisible(handle_); }

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TSize before{width_, height_};
    TControl::SetBounds(left, top, width, height);
    if (handle_) {
        TRect now = WindowRect(handle_);
        if (parent_ && parent_->HandleAllocated()) MapWindowPoints(nullptr, parent_->handle_, now);
        if (now != BoundsRect())
            SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (before != TSize{width_, height_}) Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_) return;
    TRect r = WindowRect(handle_);
    if (HWND p = GetParent(handle_); p && (GetWindowLongPtr(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, p, r);
    if (r == BoundsRect()) return;
    bool resized = r.Width() != width_ || r.Height() != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = r.Width();
    height_ = r.Height();
    if (resized) Resize();
}

void TWinControl::WMSize(TMessage& m) {
    DefaultHandler(m);
    UpdateBoundsFromWindow();
    Realign();
}

void TWinControl::WMMove(TMessage& m) {
    DefaultHandler(m);
    UpdateBoundsFromWindow();
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
    DefaultHandler(m);
    UpdateBoundsFromWindow();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0) --alignDisabled_;
    if (alignDisabled_ == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign(TControl* changed) {
    if (alignDisabled_ > 0 || aligning_ || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying)) {
        ControlState.Include(csAlignmentNeeded);
        return;
    }
    ControlState.Exclude(csAlignmentNeeded);
    aligning_ = true;
    try {
        TRect r = GetClientRect();
        AdjustClientRect(r);
        AlignControls(changed, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
    AdjustSize();
}

void TWinControl::ApplyAnchors(TControl* c, TSize client) {
    if (c->anchorBase_.cx < 0) {
        c->anchorBase_ = client;
        return;
    }
    const TAnchors a = c->Anchors();
    const TRect e = c->explicitBounds_;
    int dx = client.cx - c->anchorBase_.cx, dy = client.cy - c->anchorBase_.cy;
    int left = e.left, width = e.Width(), top = e.top, height = e.Height();
    if (a.Contains(akRight)) {
        if (a.Contains(akLeft))
            width += dx;
        else
            left += dx;
    } else if (!a.Contains(akLeft)) {
        left += dx / 2;
    }
    if (a.Contains(akBottom)) {
        if (a.Contains(akTop))
            height += dy;
        else
            top += dy;
    } else if (!a.Contains(akTop)) {
        top += dy / 2;
    }
    SetAlignedBounds(c, Bounds(left, top, width, height));
}

void TWinControl::SetAlignedBounds(TControl* c, const TRect& bounds) {
    // Bounds set by the layout are not the control's own wish.
    c->settingAlignedBounds_ = true;
    try {
        c->SetBoundsRect(bounds);
    } catch (...) {
        c->settingAlignedBounds_ = false;
        throw;
    }
    c->settingAlignedBounds_ = false;
}

void TWinControl::AlignControls(TControl* changed, TRect& r) {
    const TRect client = GetClientRect();
    const TSize clientSize{client.Width(), client.Height()};
    const std::vector<TControl*> all = controls_;
    for (TControl* c : all)
        if (c->Align() == alNone && c->Anchors() != TAnchors{akLeft, akTop}) ApplyAnchors(c, clientSize);

    // Each side takes its controls in the order they stand from that side.
    struct Side {
        TAlign align;
        int (*key)(const TControl*);
    };
    static const Side kSides[] = {
        {alTop, [](const TControl* c) { return c->Top(); }},
        {alBottom, [](const TControl* c) { return -(c->Top() + c->Height()); }},
        {alLeft, [](const TControl* c) { return c->Left(); }},
        {alRight, [](const TControl* c) { return -(c->Left() + c->Width()); }},
        {alClient, [](const TControl*) { return 0; }},
    };
    for (const Side& side : kSides) {
        std::vector<TControl*> list;
        for (TControl* c : all)
            if (c->Align() == side.align && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
            int ka = side.key(a), kb = side.key(b);
            return ka < kb || (ka == kb && a == changed && b != changed);
        });
        for (TControl* c : list) {
            TRect b;
            switch (side.align) {
                case alTop: b = Bounds(r.left, r.top, r.Width(), c->Height()); break;
                case alBottom: b = Bounds(r.left, r.bottom - c->Height(), r.Width(), c->Height()); break;
                case alLeft: b = Bounds(r.left, r.top, c->Width(), r.Height()); break;
                case alRight: b = Bounds(r.right - c->Width(), r.top, c->Width(), r.Height()); break;
                default: b = r; break;
            }
            b.right = std::max(b.left, b.right);
            b.bottom = std::max(b.top, b.bottom);
            SetAlignedBounds(c, b);
            switch (side.align) {
                case alTop: r.top = std::min(r.bottom, r.top + c->Height()); break;
                case alBottom: r.bottom = std::max(r.top, r.bottom - c->Height()); break;
                case alLeft: r.left = std::min(r.right, r.left + c->Width()); break;
                case alRight: r.right = std::max(r.left, r.right - c->Width()); break;
                default: break;
            }
        }
    }
}

bool TWinControl::CanAutoSize(int& newWidth, int& newHeight) {
    int right = 0, bottom = 0;
    bool any = false;
    for (TControl* c : controls_) {
        if (!c->Visible() || c->Align() != alNone) continue;
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
        any = true;
    }
    if (!any) return false;
    TRect cr = GetClientRect();
    newWidth = width_ - cr.Width() + right;
    newHeight = height_ - cr.Height() + bottom;
    return true;
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

// ---- painting ---------------------------------------------------------------------

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    size_t start = 0;
    if (first) {
        auto it = std::find(controls_.begin(), controls_.end(), first);
        start = it == controls_.end() ? 0 : static_cast<size_t>(it - controls_.begin()) + 1;
    }
    TRect clip;
    GetClipBox(dc, &clip);
    // A control's paint may add or remove controls: the list is walked in
    // place, and after each paint the walk goes on from wherever the painted
    // control now is (or from its old place when it is gone).
    for (size_t i = start; i < controls_.size();) {
        TControl* c = controls_[i];
        if (c->IsWindowed() || !c->Visible() || Intersect(clip, c->BoundsRect()).IsEmpty()) {
            ++i;
            continue;
        }
        if (ControlState.Contains(csPaintCopy)) c->ControlState.Include(csPaintCopy);
        int saved = SaveDC(dc);
        MoveWindowOrg(dc, c->Left(), c->Top());
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        try {
            c->Perform(WM_PAINT, static_cast<WPARAM>(dc.Value()), 0);
        } catch (...) {
            RestoreDC(dc, saved);
            if (std::find(controls_.begin(), controls_.end(), c) != controls_.end())
                c->ControlState.Exclude(csPaintCopy);
            throw;
        }
        RestoreDC(dc, saved);
        if (i < controls_.size() && controls_[i] == c) {
            c->ControlState.Exclude(csPaintCopy);
            ++i;
        } else if (auto it = std::find(controls_.begin(), controls_.end(), c); it != controls_.end()) {
            c->ControlState.Exclude(csPaintCopy);
            i = static_cast<size_t>(it - controls_.begin()) + 1;
        }
    }
}

// The window's own painting leaves out what its opaque windowless children
// cover: they paint all of it themselves right after.
void TWinControl::PaintWindowAround(HDC dc) {
    const int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : controls_) {
        if (c->IsWindowed() || !c->Visible() || !c->ControlStyle.Contains(csOpaque)) continue;
        clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        if (clip == NULLREGION) break;
    }
    try {
        if (clip != NULLREGION) PaintWindow(dc);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
}

void TWinControl::WMPaint(TMessage& m) {
    if (m.WParam) {
        HDC given(static_cast<uint64_t>(m.WParam));
        PaintWindowAround(given);
        PaintControls(given, nullptr);
        return;
    }
    if (!handle_) return;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    if (!dc) return;
    HDC mem;
    HBITMAP bitmap;
    HGDIOBJ oldBitmap;
    try {
        if (doubleBuffered_) {
            TRect cr = ::tarvel::ClientRect(handle_);
            mem = CreateCompatibleDC(dc);
            bitmap = CreateCompatibleBitmap(dc, std::max(1, cr.Width()), std::max(1, cr.Height()));
            oldBitmap = SelectObject(mem, bitmap);
            Perform(WM_ERASEBKGND, static_cast<WPARAM>(mem.Value()), static_cast<LPARAM>(mem.Value()));
            PaintWindowAround(mem);
            PaintControls(mem, nullptr);
            BitBlt(dc, 0, 0, cr.Width(), cr.Height(), mem, 0, 0, SRCCOPY);
        } else {
            PaintWindowAround(dc);
            PaintControls(dc, nullptr);
        }
    } catch (...) {
        if (mem) {
            SelectObject(mem, oldBitmap);
            DeleteDC(mem);
            DeleteObject(bitmap);
        }
        EndPaint(handle_, &ps);
        throw;
    }
    if (mem) {
        SelectObject(mem, oldBitmap);
        DeleteDC(mem);
        DeleteObject(bitmap);
    }
    EndPaint(handle_, &ps);
}

void TWinControl::WMPrintClient(TMessage& m) {
    // A double-buffered control erases in its own paint, which a given DC
    // skips: printed, it erases here.
    if (doubleBuffered_ && (m.LParam & PRF_ERASEBKGND)) Perform(WM_ERASEBKGND, m.WParam, m.WParam);
    Perform(WM_PAINT, m.WParam, 0);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    HWND handle = Handle();
    const int saved = SaveDC(dc);
    MoveWindowOrg(dc, x, y);
    IntersectClipRect(dc, 0, 0, width_, height_);
    try {
        SendMessage(handle, WM_PRINT, static_cast<WPARAM>(dc.Value()),
                    PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
}

void TWinControl::PaintTo(TCanvas& canvas, int x, int y) { PaintTo(canvas.Handle(), x, y); }

void TWinControl::WMEraseBkgnd(TMessage& m) {
    m.Result = 1;
    // A double-buffered control erases in its buffer (the paint marks that
    // call by passing the DC twice).
    if (doubleBuffered_ && static_cast<LPARAM>(m.WParam) != m.LParam) return;
    HDC dc(static_cast<uint64_t>(m.WParam));
    HBRUSH brush = CreateSolidBrush(ColorToColorRef(Color()));
    FillRect(dc, GetClientRect(), brush);
    DeleteObject(brush);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::NotifyChildren(UINT msg) {
    const std::vector<TControl*> list = controls_;
    for (TControl* c : list) c->Perform(msg, 0, 0);
}

void TWinControl::CMVisibleChangedWin(TMessage&) {
    if (handle_)
        ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
    else if (Visible() && parent_ && parent_->HandleAllocated())
        CreateHandle();
}

void TWinControl::CMEnabledChangedWin(TMessage&) {
    if (handle_) EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::CMColorChangedWin(TMessage&) {
    Invalidate();
    NotifyChildren(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChangedWin(TMessage&) { NotifyChildren(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMChangedWin(TMessage& m) {
    if (Parent()) m.Result = Parent()->Perform(CM_CHANGED, m.WParam, m.LParam);
}

void TWinControl::CMFontChangedWin(TMessage&) {
    AdjustSize();
    Invalidate();
    NotifyChildren(CM_PARENTFONTCHANGED);
}

void TWinControl::CMFocusChangedWin(TMessage& m) { Broadcast(m); }

void TWinControl::Broadcast(TMessage& message) {
    const std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        if (!ContainsControl(c)) continue;  // a handler before it removed it
        c->WindowProc(message);
        if (message.Result != 0) return;
    }
}

// ---- focus and tab order ------------------------------------------------------------

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return form->Enabled();
}

bool TWinControl::Focused() { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus() && parent_) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::tarvel::SetFocus(Handle());
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    std::erase(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& out) {
    for (TWinControl* c : tabList_) {
        out.push_back(c);
        c->GetTabOrderList(out);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int n = static_cast<int>(list.size());
    if (n == 0) return nullptr;
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == n) start = goForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current && step > 0) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == current->Parent()) &&
            c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop && current);
    if (next) next->SetFocus();
}

void TWinControl::WMSetFocus(TMessage& m) {
    DefaultHandler(m);
    if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WMSetCursor(TMessage& m) {
    const int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)));
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault && reinterpret_cast<HWND>(m.WParam) == handle_ && hit == HTCLIENT) {
        TPoint p;
        GetCursorPos(p);
        TControl* c = ControlAtPos(ScreenToClient(p), false);
        cursor = c ? c->Cursor() : crDefault;
        if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault && hit == HTCLIENT) {
        ::tarvel::SetCursor(LoadCursor(CursorShapeOf(cursor)));
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

// ---- keys --------------------------------------------------------------------------

bool TWinControl::IsMenuKey(TMessage& m) {
    for (TControl* c = this; c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(m)) return true;
    TCustomForm* form = GetParentForm(this);
    return form && form->IsShortCut(m);
}

void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    if (IsMenuKey(m)) return;
    if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this))) return;
    LRESULT mask = 0;
    switch (m.WParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    }
    if (mask && !Perform(CM_WANTSPECIALKEY, m.WParam, 0) && !(Perform(WM_GETDLGCODE, 0, 0) & mask)) {
        if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam))
            return;
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
    m.Result = 0;
    if (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) return;
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
        m.Result = 1;
}

void TWinControl::CNSysChar(TMessage& m) {
    m.Result = 0;
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
        m.Result = 1;
}

void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }
void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }

bool TWinControl::DoKeyDown(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(m))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(m))
        return true;
    char16_t ch = static_cast<char16_t>(m.WParam);
    KeyPress(ch);
    if (ch == 0) return true;
    m.WParam = ch;
    return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(m))
        return true;
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyDataToShiftState(m.LParam));
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::WMKeyDown(TMessage& m) {
    if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
    if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
    if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::WMMouseWheel(TMessage& m) {
    // CM_MOUSEWHEEL climbs the parents itself; the window's default would too.
    m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

}  // namespace tarvel
