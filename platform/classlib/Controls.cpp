#include "platform/classlib/Controls.h"

#include <algorithm>
#include <cstdlib>

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"

namespace tarvel {

namespace {

TControl* gCaptureControl = nullptr;
TControl* gMouseControl = nullptr;
TControl* gDragControl = nullptr;
TControlWatch* gWatches = nullptr;

struct CursorShapeEntry {
    TCursor cursor;
    int shape;
};
constexpr CursorShapeEntry kCursorShapes[] = {
    {crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
    {crDrag, IDC_ARROW},           {crNoDrop, IDC_NO},
    {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
};

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

int CursorShapeOf(TCursor cursor) {
    for (const CursorShapeEntry& c : kCursorShapes)
        if (c.cursor == cursor) return c.shape;
    return 0;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (keyData & KF_ALTDOWN_BIT) s.Include(ssAlt);
    return s;
}

bool IsAccel(char16_t key, const String& caption) {
    WideString w = Utf8ToWide(caption);
    for (size_t i = 0; i + 1 < w.size(); ++i) {
        if (w[i] != u'&') continue;
        if (w[i + 1] == u'&') {
            ++i;
            continue;
        }
        return FoldAscii(w[i + 1]) == FoldAscii(key);
    }
    return false;
}

TControl* GetCaptureControl() { return gCaptureControl; }

TControl* DragControl() { return gDragControl; }

TControlWatch::TControlWatch(TControl* control) : control_(control), next_(gWatches) { gWatches = this; }

TControlWatch::~TControlWatch() {
    TControlWatch** at = &gWatches;
    while (*at != this) at = &(*at)->next_;
    *at = next_;
}

void TControlWatch::Forget(TControl* control) {
    for (TControlWatch* w = gWatches; w; w = w->next_)
        if (w->control_ == control) w->control_ = nullptr;
}

TControl* FindDragTarget(TPoint screen) {
    TWinControl* window = nullptr;
    for (HWND h = WindowFromPoint(screen); h && !window;
         h = (GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr)
        window = FindControl(h);
    if (!window) return nullptr;
    if (TControl* c = window->ControlAtPos(window->ScreenToClient(screen), false)) return c;
    return window;
}

void SetCaptureControl(TControl* control) {
    gCaptureControl = nullptr;
    if (!control) {
        ReleaseCapture();
        return;
    }
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        SetCapture(w->Handle());
        return;
    }
    if (control->Parent()) {
        SetCapture(control->Parent()->Handle());
        gCaptureControl = control;
    }
}

TControl* MouseControl() { return gMouseControl; }

void UpdateMouseControl(TControl* now) {
    if (now == gMouseControl) return;
    TControl* old = gMouseControl;
    gMouseControl = now;
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (now && now == gMouseControl) now->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(now));
}

TCustomForm* GetParentForm(TControl* control) {
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

// ---- TSizeConstraints --------------------------------------------------------

void TSizeConstraints::Set(int& field, int value) {
    value = std::max(0, value);
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (maxWidth_ > 0) width = std::min(width, maxWidth_);
    if (maxHeight_ > 0) height = std::min(height, maxHeight_);
    if (minWidth_ > 0) width = std::max(width, minWidth_);
    if (minHeight_ > 0) height = std::max(height, minHeight_);
}

void TSizeConstraints::Assign(TPersistent* source) {
    if (auto* s = dynamic_cast<TSizeConstraints*>(source)) {
        minWidth_ = s->minWidth_;
        minHeight_ = s->minHeight_;
        maxWidth_ = s->maxWidth_;
        maxHeight_ = s->maxHeight_;
        if (OnChange) OnChange(this);
        return;
    }
    TPersistent::Assign(source);
}

// ---- TControlCanvas ----------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    HWND window = nullptr;
    bool windowless = false;
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
        window = w->Handle();
    } else if (control_->Parent()) {
        window = control_->Parent()->Handle();
        windowless = true;
    }
    if (!window) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    if (windowless) {
        MoveWindowOrg(dc, control_->Left(), control_->Top());
        IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    }
    dcWindow_ = window;
    ownDc_ = dc;
    SetHandle(dc);
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
    FreeHandle();
    Lock();
    try {
        SetHandle(dc);
        paint();
    } catch (...) {
        SetHandle(nullptr);
        Unlock();
        throw;
    }
    SetHandle(nullptr);
    Unlock();
}

void TControlCanvas::FreeHandle() {
    if (!ownDc_) return;
    HDC dc = ownDc_;
    ownDc_ = nullptr;
    if (HandleAllocated() && Handle() == dc) SetHandle(nullptr);
    ReleaseDC(dcWindow_, dc);
    dcWindow_ = nullptr;
}

// ---- TControl ------------------------------------------------------------------

void TControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TControl::WMLButtonDown>(WM_LBUTTONDOWN);
    t.Add<&TControl::WMRButtonDown>(WM_RBUTTONDOWN);
    t.Add<&TControl::WMMButtonDown>(WM_MBUTTONDOWN);
    t.Add<&TControl::WMLButtonDblClk>(WM_LBUTTONDBLCLK);
    t.Add<&TControl::WMRButtonDblClk>(WM_RBUTTONDBLCLK);
    t.Add<&TControl::WMLButtonUp>(WM_LBUTTONUP);
    t.Add<&TControl::WMRButtonUp>(WM_RBUTTONUP);
    t.Add<&TControl::WMMButtonUp>(WM_MBUTTONUP);
    t.Add<&TControl::WMMouseMove>(WM_MOUSEMOVE);
    t.Add<&TControl::WMContextMenu>(WM_CONTEXTMENU);
    t.Add<&TControl::CMMouseWheel>(CM_MOUSEWHEEL);
    t.Add<&TControl::CMEnabledChanged>(CM_ENABLEDCHANGED);
    t.Add<&TControl::CMVisibleChanged>(CM_VISIBLECHANGED);
    t.Add<&TControl::CMColorChanged>(CM_COLORCHANGED);
    t.Add<&TControl::CMFontChanged>(CM_FONTCHANGED);
    t.Add<&TControl::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TControl::CMParentColorChanged>(CM_PARENTCOLORCHANGED);
    t.Add<&TControl::CMParentFontChanged>(CM_PARENTFONTCHANGED);
    t.Add<&TControl::CMParentShowHintChanged>(CM_PARENTSHOWHINTCHANGED);
    t.Add<&TControl::CMMouseEnter>(CM_MOUSEENTER);
    t.Add<&TControl::CMMouseLeave>(CM_MOUSELEAVE);
    t.Add<&TControl::CMHitTest>(CM_HITTEST);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_.OnChange = [this](TObject* s) { FontChanged(s); };
    constraints_.OnChange = [this](TObject* s) { ConstraintsChanged(s); };
}

TControl::~TControl() {
    TControlWatch::Forget(this);
    // The drag goes first: giving up the capture would end it as cancelled
    // and call this control's handlers.
    if (gDragControl == this) {
        if (dragObject_ && dragKind_ == dkDrag) ::tarvel::SetCursor(dragObject_->CursorBefore);
        gDragControl = nullptr;
    } else if (gDragControl && gDragControl->dragObject_ && gDragControl->dragObject_->DragTarget == this) {
        // The drag goes on over whatever comes under the pointer next.
        gDragControl->dragObject_->DragTarget = nullptr;
        gDragControl->dragObject_->Accepted = false;
    }
    if (gCaptureControl == this) SetCaptureControl(nullptr);
    if (gMouseControl == this) gMouseControl = nullptr;
    font_.OnChange = nullptr;
    constraints_.OnChange = nullptr;
    if (parent_) parent_->RemoveControl(this);
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    actionLink_.reset();
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    constraints_.Apply(width, height);
    if (autoSize_ && !ComponentState().Contains(csLoading)) {
        // Alignment keeps the side it sets.
        int w = width, h = height;
        if (CanAutoSize(w, h)) {
            if (align_ != alTop && align_ != alBottom && align_ != alClient) width = w;
            if (align_ != alLeft && align_ != alRight && align_ != alClient) height = h;
        }
    }
    width = std::max(0, width);
    height = std::max(0, height);
    if (!settingAlignedBounds_) {
        explicitBounds_ = Bounds(left, top, width, height);
        RememberAnchorBase();
    }
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    InvalidateControl(Visible(), false);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    InvalidateControl(Visible(), false);
    Resize();
    if (!settingAlignedBounds_) RequestAlign();
}

void TControl::RememberAnchorBase() {
    if (parent_) {
        TRect r = parent_->GetClientRect();
        anchorBase_ = TSize{r.Width(), r.Height()};
    }
}

TRect TControl::GetClientRect() { return TRect{0, 0, width_, height_}; }

void TControl::SetClientWidth(int v) { SetWidth(width_ - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(height_ - ClientHeight() + v); }

TPoint TControl::GetClientOrigin() {
    if (!parent_) return TPoint{left_, top_};
    TPoint p = parent_->ClientOrigin();
    return TPoint{p.x + left_, p.y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) {
    TPoint o = ClientOrigin();
    return TPoint{p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) {
    TPoint o = ClientOrigin();
    return TPoint{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (align != alNone) anchors_ = {akLeft, akTop};
    RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
    anchors_ = anchors;
    RememberAnchorBase();
    explicitBounds_ = BoundsRect();
}

void TControl::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return false; }

void TControl::AdjustSize() {
    if (autoSize_ && !ComponentState().Contains(csLoading)) SetBounds(left_, top_, width_, height_);
}

void TControl::ConstraintsChanged(TObject*) { SetBounds(left_, top_, width_, height_); }

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
    RequestAlign();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateControl(visible_, false);
    RequestAlign();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateControl(visible_, false);
    RequestAlign();
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
    parentColor_ = v;
    if (v && parent_) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
    parentFont_ = v;
    if (v && parent_) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
    if (!fromParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetText(const String& text) {
    if (text == text_) return;
    text_ = text;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool v) {
    parentShowHint_ = false;
    if (v == showHint_) return;
    showHint_ = v;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
    parentShowHint_ = v;
    if (v && parent_) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_ || showHint_ == parent_->ShowHint()) return;
    showHint_ = parent_->ShowHint();
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == TOperation::opRemove && actionLink_ && component == actionLink_->Action())
        SetAction(nullptr);
}

// ---- actions ----

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

void TControl::SetAction(TBasicAction* value) {
    if (!value) {
        if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
        actionLink_.reset();
        ControlStyle -= {csActionClient};
        return;
    }
    if (!actionLink_) actionLink_.reset(CreateActionLink());
    // Idle updates reach the control from now on.
    ControlStyle += {csActionClient};
    if (TBasicAction* old = Action(); old && old != value) old->RemoveFreeNotification(this);
    actionLink_->SetAction(value);
    actionLink_->OnChange = [this](TObject* sender) { DoActionChange(sender); };
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
}

void TControl::DoActionChange(TObject* sender) {
    if (sender == Action()) ActionChange(sender, false);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
    if (!checkDefaults || !OnClick) OnClick = action->OnExecute;
}

void TControl::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TControl::Loaded() {
    TComponent::Loaded();
    AdjustSize();
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->Realign(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::DefaultHandler(TMessage& m) {
    switch (m.Msg) {
        case WM_GETTEXT: {
            char* buf = reinterpret_cast<char*>(m.LParam);
            if (!buf || m.WParam == 0) return;
            String t = GetText();
            size_t n = std::min(t.size(), static_cast<size_t>(m.WParam) - 1);
            std::copy_n(t.data(), n, buf);
            buf[n] = '\0';
            m.Result = static_cast<LRESULT>(n);
            return;
        }
        case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(GetText().size()); return;
        case WM_SETTEXT: {
            const char* t = reinterpret_cast<const char*>(m.LParam);
            SetText(t ? t : "");
            m.Result = 1;
            return;
        }
    }
}

void TControl::InvalidateControl(bool isVisible, bool) {
    if (!isVisible || !parent_ || IsWindowed() || !parent_->HandleAllocated()) return;
    TRect r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, !ControlStyle.Contains(csOpaque));
}

void TControl::Invalidate() { InvalidateControl(visible_, ControlStyle.Contains(csOpaque)); }

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void TControl::Click() {
    TBasicAction* action = Action();
    if (OnClick && action && !SameHandlerCode(OnClick, action->OnExecute))
        OnClick(this);
    else if (!ComponentState().Contains(csDesigning) && actionLink_)
        actionLink_->Execute(this);
    else if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TControl::MouseCapture() const {
    if (auto* w = dynamic_cast<const TWinControl*>(this))
        return w->HandleAllocated() && GetCapture() == const_cast<TWinControl*>(w)->Handle();
    return gCaptureControl == this;
}

void TControl::SetMouseCapture(bool capture) {
    if (MouseCapture() == capture) return;
    SetCaptureControl(capture ? this : nullptr);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra) {
    TPoint p = PointFromLParam(m.LParam);
    MouseDown(button, KeysToShiftState(m.WParam) + extra, p.x, p.y);
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
    TPoint p = PointFromLParam(m.LParam);
    MouseUp(button, KeysToShiftState(m.WParam), p.x, p.y);
}

void TControl::WMLButtonDown(TMessage& m) {
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (ControlStyle.Contains(csClickEvents)) ControlState.Include(csClicked);
    DoMouseDown(m, mbLeft, {});
    BeginAutoDrag();
}

void TControl::WMLButtonDblClk(TMessage& m) {
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (ControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(m, mbLeft, {ssDouble});
    BeginAutoDrag();
}

// A press with dmAutomatic begins a drag once the press is handled, so a
// press that stays put is still a click.
void TControl::BeginAutoDrag() {
    if (dragMode_ != dmAutomatic || Dragging() || !BeginsAutoDrag()) return;
    if (ComponentState().Contains(csDesigning) || GetKeyState(VK_LBUTTON) >= 0) return;
    BeginDrag(false);
}

void TControl::WMRButtonDown(TMessage& m) { DoMouseDown(m, mbRight, {}); }
void TControl::WMRButtonDblClk(TMessage& m) { DoMouseDown(m, mbRight, {ssDouble}); }
void TControl::WMMButtonDown(TMessage& m) { DoMouseDown(m, mbMiddle, {}); }

void TControl::WMLButtonUp(TMessage& m) {
    if (drag_ != TDrag::None) {
        // The drop may free this control.
        const TControlWatch self(this);
        EndDrag(drag_ == TDrag::Started);
        if (!self.Get()) return;
    }
    if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (ControlState.Contains(csClicked)) {
        ControlState.Exclude(csClicked);
        if (GetClientRect().Contains(PointFromLParam(m.LParam))) Click();
    }
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TMessage& m) {
    DoMouseUp(m, mbRight);
    // A windowed control gets the context menu from its window's default
    // handling; a windowless one asks here.
    if (!IsWindowed()) {
        TPoint p = ClientToScreen(PointFromLParam(m.LParam));
        Perform(WM_CONTEXTMENU, 0, PointToLParam(p));
    } else {
        DefaultHandler(m);
    }
}

void TControl::WMMButtonUp(TMessage& m) { DoMouseUp(m, mbMiddle); }

void TControl::WMMouseMove(TMessage& m) {
    TPoint p = PointFromLParam(m.LParam);
    if (drag_ != TDrag::None) {
        // The target asked may end the drag or free this control.
        const TControlWatch self(this);
        if (drag_ == TDrag::Pending) {
            const TPoint at = ClientToScreen(p);
            if (std::abs(at.x - dragFrom_.x) >= dragThreshold_ ||
                std::abs(at.y - dragFrom_.y) >= dragThreshold_)
                StartDrag();
            if (!self.Get()) return;
        }
        if (drag_ == TDrag::Started) {
            DragMove(ClientToScreen(p));
            if (!self.Get() || drag_ == TDrag::None) return;  // the move was the target's
        }
    }
    MouseMove(KeysToShiftState(m.WParam), p.x, p.y);
}

void TControl::BeginDrag(bool immediate, int threshold) {
    if (drag_ != TDrag::None) return;
    // One drag at a time: another control's ends as cancelled.
    if (gDragControl && gDragControl != this) gDragControl->EndDrag(false);
    SetMouseCapture(true);
    TPoint at;
    if (!GetCursorPos(at)) at = ClientToScreen(TPoint{0, 0});
    dragFrom_ = at;
    dragThreshold_ = threshold < 0 ? kDragThreshold : threshold;
    drag_ = TDrag::Pending;
    gDragControl = this;
    if (immediate || dragThreshold_ == 0) StartDrag();
}

// A press that became a drag is no click.
void TControl::StartDrag() {
    drag_ = TDrag::Started;
    ControlState.Exclude(csClicked);
    const TPoint origin = ClientToScreen(TPoint{0, 0});
    if (dragKind_ == dkDock) {
        auto dock = std::make_unique<TDragDockObject>();
        dock->GrabOffset = TPoint{origin.x - dragFrom_.x, origin.y - dragFrom_.y};
        dock->DockRect = Bounds(origin.x, origin.y, Width(), Height());
        dragObject_ = std::move(dock);
    } else {
        dragObject_ = std::make_unique<TDragObject>();
        dragObject_->CursorBefore = GetCursor();
    }
    dragObject_->Control = this;
    dragObject_->DragPos = dragFrom_;
    if (OnStartDrag) OnStartDrag(this);
    // A plain drag asks the control under the pointer at once.
    if (drag_ == TDrag::Started && dragKind_ == dkDrag) DragMove(dragFrom_);
}

void TControl::DragMove(TPoint screen) {
    dragObject_->DragPos = screen;
    if (dragKind_ == dkDock) {
        DragDockMove(screen);
        return;
    }
    TDragObject& d = *dragObject_;
    // A handler may end the drag, or free this control and the drag with it.
    const TControlWatch self(this);
    TControl* target = FindDragTarget(screen);
    if (d.DragTarget && d.DragTarget != target) {
        TControl* left = d.DragTarget;
        d.DragTarget = nullptr;
        d.Accepted = false;
        bool accept = false;
        const TPoint at = left->ScreenToClient(screen);
        left->DragOver(this, at.x, at.y, dsDragLeave, accept);
        if (!self.Get() || !dragObject_) return;
    }
    const TDragState state = target == d.DragTarget ? dsDragMove : dsDragEnter;
    d.DragTarget = target;
    d.Accepted = false;
    if (target) {
        bool accept = false;
        const TPoint at = target->ScreenToClient(screen);
        target->DragOver(this, at.x, at.y, state, accept);
        if (!self.Get() || !dragObject_) return;
        d.Accepted = accept && d.DragTarget == target;
    }
    ::tarvel::SetCursor(LoadCursor(CursorShapeOf(d.Accepted ? dragCursor_ : crNoDrop)));
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (!OnDragOver) return;
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::EndDrag(bool drop) {
    if (drag_ == TDrag::None) return;
    drag_ = TDrag::None;
    if (gDragControl == this) gDragControl = nullptr;
    if (MouseCapture()) SetMouseCapture(false);
    if (dragObject_) FinishDrag(drop);
}

// The target under the pointer is told the drag leaves it, then takes the
// drop when it accepted one; the source hears of the end in any case.
void TControl::FinishDrag(bool drop) {
    if (dragKind_ == dkDock) {
        DragDockDrop(drop);
        DoEndDrag(nullptr, 0, 0);
        return;
    }
    const std::unique_ptr<TDragObject> d = std::move(dragObject_);
    ::tarvel::SetCursor(d->CursorBefore);
    // The target's handlers may free the source or the target: a freed
    // source hears nothing more, a freed target is not named to it.
    const TControlWatch self(this);
    const TControlWatch target(d->DragTarget);
    if (drop && target.Get() && d->Accepted) {
        const TPoint at = target.Get()->ScreenToClient(d->DragPos);
        target.Get()->DragDrop(this, at.x, at.y);
        if (self.Get()) DoEndDrag(target.Get(), at.x, at.y);
        return;
    }
    if (target.Get()) {
        bool accept = false;
        const TPoint at = target.Get()->ScreenToClient(d->DragPos);
        target.Get()->DragOver(this, at.x, at.y, dsDragLeave, accept);
        if (!self.Get()) return;
    }
    DoEndDrag(nullptr, 0, 0);
}

void TControl::WMContextMenu(TMessage& m) {
    if (m.Result) return;
    TPoint p = PointFromLParam(m.LParam);
    if (p.x == -1 && p.y == -1) p = ClientToScreen(TPoint{width_ / 2, height_ / 2});
    if (popupMenu_ && popupMenu_->AutoPopup()) {
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(p.x, p.y);
        m.Result = 1;
        return;
    }
    if (parent_) {
        m.Result = parent_->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
    }
}

void TControl::CMMouseWheel(TMessage& m) {
    TShiftState shift = KeysToShiftState(LOWORD(m.WParam));
    int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
    TPoint p = PointFromLParam(m.LParam);
    if (DoMouseWheel(shift, delta, p))
        m.Result = 1;
    else if (parent_)
        m.Result = parent_->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, false); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) {
    AdjustSize();
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    AdjustSize();
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!parentColor_ || !parent_) return;
    if (color_ != parent_->Color()) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED, 0, 0);
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!parentFont_ || !parent_) return;
    fromParentFont_ = true;
    try {
        font_.Assign(parent_->Font());
    } catch (...) {
        fromParentFont_ = false;
        throw;
    }
    fromParentFont_ = false;
}

void TControl::TellParentOfMouse(const TMessage& m) {
    if (parent_) parent_->Perform(m.Msg, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

bool TControl::IsOwnMouseMessage(const TMessage& m) const {
    return m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this);
}

// A parent hears of the mouse entering and leaving each of its controls,
// with that control in lParam; its own events fire only for itself.
void TControl::CMMouseEnter(TMessage& m) {
    TellParentOfMouse(m);
    if (IsOwnMouseMessage(m) && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& m) {
    TellParentOfMouse(m);
    if (IsOwnMouseMessage(m) && OnMouseLeave) OnMouseLeave(this);
}

void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }

// ---- TGraphicControl / TCustomControl ------------------------------------------

void TGraphicControl::DeclareMessages(TMessageTable& t) { t.Add<&TGraphicControl::WMPaint>(WM_PAINT); }

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() { canvas_->FreeHandle(); }

void TGraphicControl::WMPaint(TMessage& m) {
    if (m.WParam) canvas_->PaintOn(HDC(static_cast<uint64_t>(m.WParam)), [this] { Paint(); });
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() { canvas_->FreeHandle(); }

void TCustomControl::PaintWindow(HDC dc) {
    canvas_->PaintOn(dc, [this] { Paint(); });
}

}  // namespace tarvel
