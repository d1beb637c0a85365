#pragma once
// Controls: the visual components. A TControl has bounds in its parent's
// client area and paints on the parent's DC (windowless); a TWinControl owns
// a window of the window system and holds child controls. Both take every
// message through WindowProc, which a holder may replace to see or swallow
// messages first; the default is WndProc, which dispatches to the class's
// handler table.

#include <functional>
#include <memory>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/classlib/Graphics.h"
#include "platform/winsys/Winsys.h"

namespace tarvel {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TControlActionLink;

// ---- messages of the class library -----------------------------------------
// Kept below the private messages other layers use (0xB0DE and up).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 29;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 30;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 31;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 46;
// A control's value changed; lParam is the control. Windowed controls pass
// it on to their parent, so a form learns of every change below it.
constexpr UINT CM_CHANGED = CM_BASE + 37;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_CHILDKEY = CM_BASE + 50;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_INVOKEHELP = CM_BASE + 70;

// The keyboard messages as the application hands them to the focused control
// before they are dispatched (answer 1: handled, do not dispatch).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---- types -------------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,
};
using TControlStyle = TSet<TControlStyleFlag>;

enum TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateFlag>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TDragMode : uint8_t { dmManual, dmAutomatic };
enum TDragKind : uint8_t { dkDrag, dkDock };
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char16_t& key)>;
using TMouseWheelEvent =
    std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;

// Cursors: crDefault leaves the window's own; the others name standard shapes.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The standard cursor shape (IDC_...) of a cursor; 0 for crDefault and crNone.
int CursorShapeOf(TCursor cursor);

// Modal results (also the answers of message boxes).
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

// The shift state of keys and buttons as of the message being handled.
TShiftState KeysToShiftState(WPARAM mouseKeys);
TShiftState KeyDataToShiftState(LPARAM keyData);
// True when `key` is the character after a single "&" of `caption` (any case).
bool IsAccel(char16_t key, const String& caption);

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// Minimum and maximum width and height; 0 means no limit.
class TSizeConstraints : public TPersistent {
    TARVEL_CLASS(TSizeConstraints, TPersistent)

public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v) { Set(minWidth_, v); }
    void SetMinHeight(int v) { Set(minHeight_, v); }
    void SetMaxWidth(int v) { Set(maxWidth_, v); }
    void SetMaxHeight(int v) { Set(maxHeight_, v); }
    void Apply(int& width, int& height) const;
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Set(int& field, int value);
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// A canvas on a control: on the DC a paint hands it, or else on a DC of the
// control's own window (windowed) or of its parent's, moved to its origin
// and clipped to its bounds (windowless).
class TControlCanvas : public TCanvas {
    TARVEL_CLASS(TControlCanvas, TCanvas)

public:
    explicit TControlCanvas(class TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    // Gives back a DC the canvas took itself; the next drawing takes a new one.
    void FreeHandle();
    // Runs `paint` with the canvas on `dc`, locked, and leaves the DC after.
    void PaintOn(HDC dc, const std::function<void()>& paint);

protected:
    void CreateHandle() override;

private:
    class TControl* control_;
    HWND dcWindow_ = nullptr;
    HDC ownDc_;
};

// ---- TControl ----------------------------------------------------------------

// A drag under way: the control dragged, the pointer on the screen and the
// control under it, which says whether a drop there is taken.
struct TDragObject {
    virtual ~TDragObject() = default;
    TControl* Control = nullptr;
    TPoint DragPos;                  // on the screen
    TControl* DragTarget = nullptr;  // the control under the pointer
    bool Accepted = false;           // a drop there is taken
    HCURSOR CursorBefore = nullptr;  // given back when the drag ends
};

// A dock drag: where the control would land on the screen; its target is
// the dock site under the pointer.
struct TDragDockObject : TDragObject {
    TPoint GrabOffset;  // the control's top-left on the screen, less the pointer
    TRect DockRect;     // on the screen
    TWinControl* DockTarget() const;
    // A site took the control while it moved: the drag is over, nothing drops.
    bool Docked = false;
};

// The pixels the pointer moves with the button held before a press that
// begins a drag starts it, unless the drag asks for another distance.
constexpr int kDragThreshold = 5;

// Asked of the control under a dragged one: whether a drop at its client
// point takes the source (the dragged control).
using TDragOverEvent =
    std::function<void(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
// The source's end of a drag: the control that took the drop and the
// drop's client point on it, or null and (0, 0) when none did.
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;

class TControl : public TComponent {
    TARVEL_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Parent and bounds (in the parent's client coordinates; a form's are
    // screen coordinates).
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Width and height are limited by Constraints; the parent realigns.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
    virtual TRect GetClientRect();
    TRect ClientRect() { return GetClientRect(); }
    int ClientWidth() { return GetClientRect().Width(); }
    int ClientHeight() { return GetClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    // Client (0, 0) on the screen.
    virtual TPoint GetClientOrigin();
    TPoint ClientOrigin() { return GetClientOrigin(); }
    TPoint ClientToScreen(TPoint p);
    TPoint ScreenToClient(TPoint p);

    // Layout.
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    TSizeConstraints* Constraints() { return &constraints_; }
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool autoSize);

    // Visibility and state.
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown form.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    void BringToFront();
    void SendToBack();

    // Looks.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() { return &font_; }
    void SetFont(TFont* font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    // Text: Caption and Text are the same string.
    String Caption() const { return GetText(); }
    void SetCaption(const String& s) { SetText(s); }
    String Text() const { return GetText(); }
    void SetTextValue(const String& s) { SetText(s); }
    virtual String GetText() const { return text_; }
    // Stores the text and sends CM_TEXTCHANGED when it differs.
    virtual void SetText(const String& text);

    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    // Setting it ends taking the parent's.
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    TControlStyle ControlStyle;
    TControlState ControlState;

    // Messages.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    std::function<void(TMessage&)> WindowProc;
    virtual void WndProc(TMessage& message);
    void DefaultHandler(TMessage& message) override;

    // Painting.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // OnClick, unless the control's action runs instead: it does when the
    // click handler is the action's own (or there is none).
    virtual void Click();
    virtual void DblClick();
    // Sends CM_CHANGED naming this control.
    void Changed();

    // The action whose values the control shows and which its click runs.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    // Asks the action to update itself (and so the control).
    virtual void InitiateAction();

    // The capture of mouse input (a windowless control through its parent's window).
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    // Dragging: the control decides when a press begins a drag (with
    // dmAutomatic a left press does), the drag then starts at once or once
    // the pointer has moved `threshold` pixels with the button held
    // (kDragThreshold when negative). While it lasts, the control under the
    // pointer is asked through DragOver whether it takes a drop, the cursor
    // shows DragCursor where it does and crNoDrop elsewhere; the release
    // drops there (DragDrop), Escape cancels, and the source hears of the
    // end through OnEndDrag either way.
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor value) { dragCursor_ = value; }
    void BeginDrag(bool immediate, int threshold = -1);
    // A drag begun but not yet started counts too.
    bool Dragging() const { return drag_ != TDrag::None; }
    void EndDrag(bool drop);
    // The drag started and not yet ended, else null.
    TDragObject* DragObject() const { return dragObject_.get(); }
    // Another control's drag over this one at a client point: `accept`
    // (false unless OnDragOver says otherwise) is whether a drop here is taken.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);
    TNotifyEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    // Docking. With dkDock a drag takes the control off where it sits: over
    // a dock site that accepts it the drop docks it there, elsewhere it
    // floats in a small tool window of its own at the drop point.
    TDragKind DragKind() const { return dragKind_; }
    void SetDragKind(TDragKind value) { dragKind_ = value; }
    // The dock drag under way, else null.
    TDragDockObject* DockDragObject() const { return dynamic_cast<TDragDockObject*>(dragObject_.get()); }
    // In a tool window of its own (a TToolDockForm).
    bool Floating() const;
    // Floats with its client area at `screenRect`'s top-left, keeping its size.
    void ManualFloat(const TRect& screenRect);
    // Docks into `site` at the site's client point `at`; a tool window it
    // floated in goes.
    void ManualDock(TWinControl* site, TPoint at);

protected:
    static void DeclareMessages(TMessageTable& t);

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // True when the wheel turn was used.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void Resize();
    // The size AutoSize wants; false keeps the size.
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    void AdjustSize();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The link a new action gets; a control with links of its own answers them.
    virtual TControlActionLink* CreateActionLink();
    TControlActionLink* ActionLink() const { return actionLink_.get(); }
    // Takes the action's caption, enabled state, hint, visibility and click;
    // with `checkDefaults` only where the control still has its defaults.
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    void DoActionChange(TObject* sender);
    void RequestAlign();
    virtual bool IsWindowed() const { return false; }
    // CM_MOUSEENTER / CM_MOUSELEAVE: passes the message on to the parent
    // with the control the mouse entered or left; whether it is this one's.
    void TellParentOfMouse(const TMessage& m);
    bool IsOwnMouseMessage(const TMessage& m) const;
    // Asks the parent to repaint the control's rectangle.
    void InvalidateControl(bool isVisible, bool isOpaque);

    // Where alignment set the control last, and the parent size its anchors
    // measure from.
    void RememberAnchorBase();
    // Whether a left press with dmAutomatic begins a drag by itself; a
    // control that decides per press (and begins it itself) answers false.
    virtual bool BeginsAutoDrag() const { return true; }
    virtual void DoEndDrag(TObject* target, int x, int y);

    // Message handlers.
    void WMLButtonDown(TMessage& m);
    void WMRButtonDown(TMessage& m);
    void WMMButtonDown(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void WMRButtonDblClk(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void WMRButtonUp(TMessage& m);
    void WMMButtonUp(TMessage& m);
    void WMMouseMove(TMessage& m);
    void WMContextMenu(TMessage& m);
    void CMMouseWheel(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMHitTest(TMessage& m);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TRect explicitBounds_;
    TSize anchorBase_{-1, -1};
    bool settingAlignedBounds_ = false;

private:
    friend class TWinControl;
    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& m, TMouseButton button);
    void BeginAutoDrag();
    void FontChanged(TObject*);
    void ConstraintsChanged(TObject*);

    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool fromParentFont_ = false;
    TCursor cursor_ = crDefault;
    String text_;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    std::unique_ptr<TControlActionLink> actionLink_;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    TSizeConstraints constraints_;
    bool autoSize_ = false;
    enum class TDrag : uint8_t { None, Pending, Started };
    void StartDrag();
    void DragMove(TPoint screen);
    void FinishDrag(bool drop);
    void DragDockMove(TPoint screen);
    void DragDockDrop(bool drop);
    TDragMode dragMode_ = dmManual;
    TDragKind dragKind_ = dkDrag;
    TCursor dragCursor_ = crDrag;
    std::unique_ptr<TDragObject> dragObject_;
    TDrag drag_ = TDrag::None;
    TPoint dragFrom_;
    int dragThreshold_ = 0;
};

// The control under the mouse and the one holding its capture, shared by
// all controls of the application.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The control the mouse is over; moving to another sends CM_MOUSELEAVE to
// the old one and CM_MOUSEENTER to the new one.
TControl* MouseControl();
void UpdateMouseControl(TControl* now);
// The control whose drag is under way (begun, started or not), else null.
TControl* DragControl();
// A control held across a call into handlers that may free it: Get()
// answers null from the moment it is destroyed. For the GUI thread.
class TControlWatch {
public:
    explicit TControlWatch(TControl* control);
    ~TControlWatch();
    TControlWatch(const TControlWatch&) = delete;
    TControlWatch& operator=(const TControlWatch&) = delete;
    TControl* Get() const { return control_; }
    // Called by a control's destructor.
    static void Forget(TControl* control);

private:
    TControl* control_;
    TControlWatch* next_;
};
// The control under a screen point: the windowed control whose window is
// there, or its windowless child on top there (disabled ones not).
TControl* FindDragTarget(TPoint screen);
// The form a control lies on (the outermost parent when that is a form).
TCustomForm* GetParentForm(TControl* control);
// The control whose window this is; null for foreign windows.
TWinControl* FindControl(HWND hwnd);
// The procedure of every control's window: it hands the message to the
// control's WindowProc and any exception that escapes to the application.
LRESULT StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- TWinControl -------------------------------------------------------------

struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    UINT ClassStyle = CS_DBLCLKS;
    String WinClassName;
};

class TWinControl : public TControl {
    TARVEL_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Child controls, windowless and windowed, bottom of the z-order first.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // The visible, enabled child on top at a client point (disabled ones too
    // with `allowDisabled`); windowed children count with `allowWinControls`.
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false);

    // The window, made when first asked for (with the parent's first).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    void RecreateWnd();
    void DestroyHandle();
    // Where the parent's window should hold this control's (its own for
    // children, the owner form's for popups).
    virtual HWND ParentWindow() const;

    TRect GetClientRect() override;
    TPoint GetClientOrigin() override;
    void SetBounds(int left, int top, int width, int height) override;
    bool Showing() const override;

    // Focus and tab order.
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    int TabOrder() const;
    void SetTabOrder(int order);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& out);
    // The next (or previous) focusable control after `current` among this
    // control's descendants; with `checkTabStop` only those with TabStop.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // Layout.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    // Lays the children out again; `changed` (when given) wins ties of
    // position with the others on its side.
    void Realign(TControl* changed = nullptr);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }

    // Painting of windowless children through the window origin, from the
    // one above `first` (all when null) to the top.
    void PaintControls(HDC dc, TControl* first);
    // The control as it looks, its frame and children included, painted
    // with its top-left at (x, y) of the DC, shown or not (WM_PRINT). The
    // DC is left as it was.
    void PaintTo(HDC dc, int x, int y);
    void PaintTo(TCanvas& canvas, int x, int y);
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    // Sends the message to every child until one answers non-zero.
    void Broadcast(TMessage& message);
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;
    void SetText(const String& text) override;

    // A dock site: dock drags over it ask it whether it takes the control.
    bool DockSite() const { return dockSite_; }
    void SetDockSite(bool value);
    // A dock drag entering, moving over or leaving the site at a client
    // point; `accept` (true when asked) says whether a drop here docks.
    virtual void DockOver(TDragDockObject& source, int x, int y, TDragState state, bool& accept);
    // The drop on the site: the control docks at its dock rectangle.
    virtual void DockDrop(TDragDockObject& source, int x, int y);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    static void DeclareMessages(TMessageTable& t);
    bool IsWindowed() const override { return true; }

    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    // The window was made (and its children with it).
    virtual void CreateHandleDone() {}
    virtual void PaintWindow(HDC dc);
    void PaintWindowAround(HDC dc);
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect&) {}
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void Loaded() override;

    // Keys: true when the handler used the key.
    virtual bool DoKeyDown(TMessage& m);
    virtual bool DoKeyPress(TMessage& m);
    virtual bool DoKeyUp(TMessage& m);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();

    void WMPaint(TMessage& m);
    void WMPrintClient(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSize(TMessage& m);
    void WMMove(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMKeyDown(TMessage& m);
    void WMKeyUp(TMessage& m);
    void WMChar(TMessage& m);
    void WMMouseWheel(TMessage& m);
    void CNKeyDown(TMessage& m);
    void CNChar(TMessage& m);
    void CNSysChar(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMVisibleChangedWin(TMessage& m);
    void CMEnabledChangedWin(TMessage& m);
    void CMColorChangedWin(TMessage& m);
    void CMFontChangedWin(TMessage& m);
    void CMShowHintChangedWin(TMessage& m);
    void CMFocusChangedWin(TMessage& m);
    void CMChangedWin(TMessage& m);

    std::vector<TControl*> controls_;
    HWND handle_ = nullptr;

private:
    friend LRESULT StdWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class TControl;
    void UpdateBoundsFromWindow();
    void CreateHandle();
    // Calls WindowProc and keeps exceptions inside the window procedure.
    LRESULT MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool IsControlMouseMsg(TMessage& m);
    bool IsMenuKey(TMessage& m);
    void NotifyChildren(UINT msg);
    void ApplyAnchors(TControl* control, TSize clientSize);
    static void SetAlignedBounds(TControl* control, const TRect& bounds);

    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool doubleBuffered_ = false;
    bool dockSite_ = false;
};

// ---- TGraphicControl / TCustomControl ----------------------------------------

// A windowless control that draws itself on its parent's DC.
class TGraphicControl : public TControl {
    TARVEL_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return canvas_.get(); }

protected:
    static void DeclareMessages(TMessageTable& t);
    virtual void Paint() {}
    void WMPaint(TMessage& m);

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// A windowed control that draws itself on a canvas.
class TCustomControl : public TWinControl {
    TARVEL_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace tarvel
