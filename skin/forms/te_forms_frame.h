#pragma once
// The skinned form frame. TTeDefaultForm is a component dropped on a form:
// it hooks the form's window and takes over the whole non-client area - it
// declares the frame's size, paints caption, borders and caption buttons,
// hit-tests them, moves and sizes the window itself and keeps window states
// of its own. Without a theme it draws the classic frame. TTeForm draws the
// frame from a theme (its link's, else the current one) as long as that
// theme defines a window for the frame's kind.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/Timers.h"
#include "platform/winsys/ShellApi.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_const.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_hooks.h"
#include "skin/forms/te_forms_options.h"

namespace tarvel {

class TTePopupMenu;
class TTeMenuBar;
class TTeScrollBar;
class TTeItem;

enum TTeBorderStyle : uint8_t { kbsNone, kbsBorder, kbsStandard, kbsDialog, kbsToolWindow };
enum TTeWindowState : uint8_t { kwsNormal, kwsMaximized, kwsMinimized, kwsRollup, kwsTray };
enum TTeFormPerformance : uint8_t { qvfpNoBuffer, qvfpSharedBuffer, qvfpPersistentBuffer, qvfpDoubleBuffer };
// CallDefault arrives true; false cancels the action.
using TTeFormActionEvent = std::function<void(TObject* sender, bool& callDefault)>;
// Paints what lies behind a transparent child at `rect` (client coordinates).
using TPaintBackground = std::function<void(TObject* sender, HDC dc, const TRect& rect)>;

// The skinned combo box whose list is open (set and cleared by the combo
// box), and its close-up: a press on a frame's non-client area closes the
// list.
extern TControl* ActiveComboBox;
extern TNotifyEvent DoCloseActiveComboBox;
// Closes the open list, if any, with `frame` as the sender.
void CloseActiveComboBox(TObject* frame);

enum TTeEraseBackgroundAction : uint8_t { keaInvalidateRect, keaPaintBackground };
// Handed in lParam of WM_ERASEBKGND to ask the frame for part of the client
// background (keaInvalidateRect) rather than all of it.
struct TEraseBackgroundInfo {
    TTeEraseBackgroundAction Action = keaPaintBackground;
    TRect Rect{};
    bool Trailing = false;
};
// Plays a transition from `background` to `image` at screen point (x, y) on
// the screen canvas and returns when it has ended. A player that serves
// messages takes what it needs first: the form may close meanwhile, and the
// pictures and the record go with it.
using TTeShowAnimation = std::function<void(TCanvas* canvas, int x, int y, TteBitmap* background,
                                            TteBitmap* image, TteShowAnimationRec* animation)>;
// The effects engine lives above the frames; it hands its player in here.
// Without one no show animation runs.
void SetShowAnimation(TTeShowAnimation player);
bool HasShowAnimation();
// Plays the show animation over the screen rectangle `at`, in a topmost
// window of its own, as what is drawn on the screen's DC is never shown.
void ShowAnimated(const TRect& at, TteBitmap* background, TteBitmap* image, TteShowAnimationRec* animation);

// The pixel of the shadow's key colour and its colour at full strength.
constexpr uint32_t kShadowKey = 0x007F007F;
constexpr uint32_t kShadowColour = 0x803F3F3F;
// The drop shadow of the rectangle (0, 0, right, bottom) in a picture of
// the target's size: a `size`-pixel band to its right and below that fades
// over its outer pixels, composed over `behind` (the screen there) when given.
void PaintShadowBand(TteBitmap& target, int size, int right, int bottom, const TteBitmap* behind);

// The captions of the built system menu.
extern const char* const SSysMenuMaximize;
extern const char* const SSysMenuMinimize;
extern const char* const SSysMenuClose;
extern const char* const SSysMenuRollup;
extern const char* const SSysMenuRestore;
extern const char* const SSysMenuTray;

class TTeDefaultForm : public TTeHook {
    TARVEL_CLASS(TTeDefaultForm, TTeHook)

public:
    explicit TTeDefaultForm(TComponent* owner);
    ~TTeDefaultForm() override;

    void SetActive(bool value) override;

    // ---- properties ----
    TTeBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TTeBorderStyle value);
    TTeBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TTeBorderIcons value);
    WideString Caption() const;
    void SetCaption(const WideString& value);
    TTeBlending* Blending() { return &blending_; }
    TTeShadow* Shadow() { return &shadow_; }
    TTeGravitation* Gravitation() { return &gravitation_; }
    TTeDragging* Dragging() { return &dragging_; }
    TTeAnimation* Animation() { return &animation_; }
    TTePopupMenuOptions* SystemMenuOptions() { return &systemMenuOptions_; }
    TTePopupMenuOptions* TrayMenuOptions() { return &trayMenuOptions_; }
    // The menu the tray icon shows instead of the built one.
    TPopupMenu* TrayMenuLink() const { return trayMenuLink_; }
    void SetTrayMenuLink(TPopupMenu* menu);
    TSizeConstraints* Constraints() { return &constraints_; }
    void SetConstraints(const TSizeConstraints& value);
    TTeFormPerformance Performance() const { return performance_; }
    void SetPerformance(TTeFormPerformance value) { performance_ = value; }
    TTeWindowState WindowState() const { return windowState_; }
    void SetWindowState(TTeWindowState value);
    bool MinimizeApplication = true;
    bool DisabledNCArea = false;
    bool SystemMenuLinkMerge = false;
    bool SystemMenuLinkMergeAtFirst = false;
    TPopupMenu* SystemMenuLink() const { return systemMenuLink_; }
    void SetSystemMenuLink(TPopupMenu* menu);
    // The bar that takes Alt, F10 and the form's short-cut keys.
    TTeMenuBar* MenuBar() const { return menuBar_; }
    void SetMenuBar(TTeMenuBar* bar);

    TNotifyEvent OnFormShown;
    TNotifyEvent OnCreate;
    TNotifyEvent OnPaint;
    TNotifyEvent OnResize;
    TTeFormActionEvent OnClose, OnMinimize, OnMaximize, OnRollup, OnMinToTray;
    // Without a non-client area: paints a transparent child's background
    // instead of the frame.
    TPaintBackground OnPaintBackground;

    // ---- geometry (window coordinates: the window's top-left is 0, 0) ----
    virtual TRect GetClientBounds();
    TRect GetClientRect();
    virtual TRect GetCaptionButtonRect(TTeBorderIcon icon);
    virtual TSize GetMinTrackSize();
    virtual TSize GetMaxTrackSize();
    virtual TRect GetMaximizedRect();
    virtual TRect GetMinimizedRect();
    virtual TRect GetRollupRect();
    TRect GetParentRect();
    // The shadow's width as the geometry sees it: none while maximized.
    int ShadowSize() const;
    // Where a form moved to `r` comes to rest after snapping.
    TRect ApplyGravitation(const TRect& r);
    TRect GravBoundsRect();
    // The window's shape in window coordinates (the caller owns it).
    virtual HRGN GetRegion();
    // The screen behind the window, for shadow and blending.
    void CopyScreen(const TRect& rect);
    // Shadow and blending mix with the live screen: a compositing manager
    // ran when the window was shown. No snapshot is then taken; the window
    // shows its pixels with the opacity the frame gives each of them.
    bool Composited() const { return composited_; }
    const TteBitmap* Snapshot() const { return snapshot_.get(); }
    // Plays the first show; false when the form was freed while it played.
    bool AnimationShow();
    int FormWidth() const { return formWidth_; }
    int FormHeight() const { return formHeight_; }
    bool FrameActive() const { return frameActive_; }

    // ---- input ----
    virtual TteWindowHitTest GetHitTest(int x, int y);
    // The size grip the frame keeps in its client area (window coordinates):
    // on an MDI main form, the corner between the client's two scroll bars.
    virtual TRect GetGripperRect();
    // kwhtBottomRight over the frame's own grip or over the grip of a child
    // carrying the form's size grip, else kwhtClient.
    TteWindowHitTest GetGripperHitTest(int x, int y);
    TteWindowHitTest GetStatusBarHitTest(int x, int y);
    TteWindowHitTest HoverHit() const { return hoverHit_; }
    TteWindowHitTest PressedHit() const { return pressedHit_; }

    // ---- commands ----
    virtual void Maximize();
    virtual void Minimize();
    virtual void Restore();
    virtual void Rollup();
    virtual void MinToTray();
    virtual void Close();
    void Help();
    // The tray icon's picture (the form's icon, else the application's) and
    // tip (the application's title, at most 63 characters), for an icon shown.
    void UpdateTrayIcon();
    // The desktop session ends: the tray icon goes.
    void EndSession();
    // The hidden window that hears the tray icon and the session's end.
    HWND TrayWindow() const { return trayWindow_; }
    // The built system menu; rebuilt at every showing.
    TTePopupMenu* CreateSysMenu();
    TTePopupMenu* SystemMenu() const { return systemMenu_.get(); }
    void SysMenu();
    // Moves the form to (left, top) with the size clamped to its tracking sizes.
    void MoveWindow(int left, int top, int width, int height);
    void MoveWindow(const TRect& bounds) {
        MoveWindow(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    }
    void MoveWindowBy(int dx, int dy);

    // ---- painting ----
    void Update();
    void InvalidateNow();
    // Repaints the client background within `rect` (window coordinates,
    // clipped to the window) at once, and nothing else.
    void InvalidateRect(const TRect& rect);
    void UpdateNonClientArea();
    virtual void PaintNonClientArea(TCanvas& canvas);
    virtual void PaintClientArea(TCanvas& canvas);
    // While set, the client background is painted only within `rect` (client
    // coordinates): a transparent control asks for what lies behind it.
    void SetBackgroundRequest(const TRect* rect) {
        backgroundRequest_ = rect != nullptr;
        backgroundRect_ = rect ? *rect : TRect{};
    }
    void EnableDrawing() { drawingEnabled_ = true; }
    void DisableDrawing() { drawingEnabled_ = false; }

    // ---- on an MDI main form (te_forms_frame_mdi.cpp) ----
    // The item whose sub-menu lists the MDI children.
    TTeItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TTeItem* item);
    void UpdateWindowMenu();
    void DoWindowMenuParentBeforePopup();
    void DoWindowItemClick(TObject* item);
    void Cascade();
    void Tile();
    // The skinned bars laid over the MDI client's own: shown, placed and
    // ranged as those are; and the grip square between them.
    void ScrollBarUpdate();
    void DoVScroll(TTeScrollCode code, int& scrollPos);
    void DoHScroll(TTeScrollCode code, int& scrollPos);
    TTeScrollBar* MDIScrollBar(int bar) const { return bar == SB_VERT ? vertBar_ : horzBar_; }
    TWinControl* MDIScrollHost(int bar) const { return bar == SB_VERT ? vertHost_ : horzHost_; }
    // The grip in the MDI client's window coordinates; empty without both bars.
    TRect MDIGripperRect() const { return gripperRect_; }
    // Fills `rect` of the canvas (the MDI client's window) as the grip.
    virtual void PaintGripper(TCanvas& canvas, const TRect& rect);
    // The link the skinned MDI bars draw from (none: the current theme).
    virtual TteCustomThemeLink* BarsThemeLink() { return nullptr; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void DoAfterMessage(TMessage& message, bool& handled) override;
    virtual void ChangeSize();
    virtual void NCMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void NCMouseMove(TShiftState shift, int x, int y);
    virtual void NCMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The classic caption: gradient band, text and buttons.
    void DrawCaption(TCanvas& canvas);
    void DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeBorderIcon icon, bool hot, bool pressed);
    TteWindowButtonDrawState ButtonDrawState(TteWindowHitTest part) const;
    // The form's bounds on the screen.
    TRect FormBounds();
    TPoint NormalizePoint(TPoint screen);
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool AskAction(const TTeFormActionEvent& event);
    void SetState(TTeWindowState state) { windowState_ = state; }
    // A frame that reads its look from the form takes it on without writing back.
    void TakeFormLook(TTeBorderStyle style, TTeBorderIcons icons, TTeWindowState state) {
        borderStyle_ = style;
        borderIcons_ = icons;
        windowState_ = state;
    }
    // The look is the form's own: Loaded writes nothing back to it.
    bool readsForm_ = false;
    // See Composited().
    bool composited_ = false;
    std::vector<int> alphaMaskKey_;  // what the alpha mask last given was made of
    // For a frame that follows its window's size itself: the form's width
    // and height without the shadow.
    void RememberFormSize(int width, int height) {
        formWidth_ = width;
        formHeight_ = height;
        windowWidth_ = width + ShadowSize();
        windowHeight_ = height + ShadowSize();
    }
    // False: OnPaint never replaces the client background.
    bool paintEvent_ = true;
    bool Effects() const { return blending_.Enabled() || shadow_.Extent() > 0; }
    TteWindowHitTest GripHitTest(int x, int y);
    // With DisabledNCArea: the graphic control at a window point, and the
    // mouse passed on to the one pressed on the frame.
    TControl* GraphicControlAt(int x, int y);
    bool PassToCapturedControl(UINT msg, TMouseButton button, int x, int y);
    void PaintShadow(TteBitmap& target, const TRect& cb);
    // Blending: `rect` of the target takes the blending's alpha over the
    // screen behind the window, read at `rect` moved by `fromWindow`.
    void BlendOverSnapshot(TteBitmap& target, const TRect& rect, TPoint fromWindow);
    void BlendFrameStrips(TteBitmap& target, const TRect& cb);
    // The client background into `dc`, or the window's client DC when it
    // is null; while painting to a bitmap, into the target.
    // With `info` of keaInvalidateRect only its rectangle is drawn (and
    // blended).
    void PaintBackground(HDC dc, const TEraseBackgroundInfo* info = nullptr);
    // Whether the erase handler draws only the rectangle of an erase request.
    virtual bool RepaintsPartOfTheBackground() const { return true; }
    // With DisabledNCArea the frame shows through the transparent children:
    // they repaint after a size change.
    void InvalidateTransparentChildren();
    void HookApplication();
    void UnhookApplication();
    // Hands the form's short-cut keys to the menu bar, once per frame.
    void HookShortCuts();
    // Takes over the look of the MDI client window of an MDI main form.
    void HookMDIClient();
    void UnhookMDIClient();
    LRESULT ClientWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void ScrollMDIClient(int bar, TTeScrollCode code, int& scrollPos);
    void PaintMDIGripper();

    TTeWindowState prevState_ = kwsNormal;
    TRect restoreBounds_;

    void WMNCLButtonDown(TMessage& m);
    void WMNCButtonUp(TMessage& m);
    void WMNCMouseMove(TMessage& m);
    void WMSysCommand(TMessage& m);

private:
    void WMNCCalcSize(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMNCActivate(TMessage& m);
    void WMActivate(TMessage& m);
    void WMNCRButtonDown(TMessage& m);
    void NCButtonDown(TMessage& m, TMouseButton button, TShiftStateFlag held);
    void WMNCLButtonDblClk(TMessage& m);
    void WMMouseMove(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void WMWindowPosChanging(TMessage& m);
    void WMGetMinMaxInfo(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMPaint(TMessage& m);
    void WMThemeChanged(TMessage& m);
    // A compositing manager came or went: live mixing or the snapshot.
    void WMDwmCompositionChanged(TMessage& m);
    void FMUpdateNCArea(TMessage& m);
    void FMMaximize(TMessage& m);
    void FMStartAction(TMessage& m);
    void CMPaintToBitmap(TMessage& m);
    void DoTimer(TObject* sender);
    // The opacity of each pixel of a composited window: the shadow's band,
    // the blending's over the form, the children opaque.
    void UpdateAlphaMask();
    void DoSysMenu(TObject* item);
    LRESULT TrayWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Puts the icon with `tip` in the notification area; false when there is none.
    bool AddTrayIcon(const String& tip);
    void TakeWindowSize();
    int CaptionButtonCount() const;

    TTeBorderStyle borderStyle_ = kbsStandard;
    TTeBorderIcons borderIcons_{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray};
    TTeBlending blending_;
    TTeShadow shadow_;
    TTeGravitation gravitation_;
    TTeDragging dragging_;
    TTeAnimation animation_;
    TTePopupMenuOptions systemMenuOptions_;
    TTePopupMenuOptions trayMenuOptions_;
    TPopupMenu* trayMenuLink_ = nullptr;
    HWND trayWindow_ = nullptr;
    NOTIFYICONDATA trayData_;
    TSizeConstraints constraints_;
    TTeFormPerformance performance_ = qvfpNoBuffer;
    TTeWindowState windowState_ = kwsNormal;
    TTeWindowState loadedState_ = kwsNormal;
    TPopupMenu* systemMenuLink_ = nullptr;
    std::unique_ptr<TTePopupMenu> systemMenu_;
    TTeMenuBar* menuBar_ = nullptr;
    // Null once the frame is gone: what outlives a call (the form's
    // short-cut hook, a show animation serving messages) asks it.
    std::shared_ptr<TTeDefaultForm*> self_ = std::make_shared<TTeDefaultForm*>(this);
    bool shortCutsHooked_ = false;
    std::unique_ptr<TteBitmap> buffer_;
    std::unique_ptr<TTimer> hoverTimer_;
    TPoint menuPos_;
    WideString captionText_;
    TPoint pressPoint_, lastPoint_;
    TControl* capturedControl_ = nullptr;
    TRect dragStart_;
    TPoint dragStartScreen_;
    bool drawingEnabled_ = true;
    bool frameActive_ = false;
    TteWindowHitTest pressedHit_ = kwhtClient;
    TteWindowHitTest hoverHit_ = kwhtClient;
    TShiftState mouseButtons_;
    int formWidth_ = 0, formHeight_ = 0;
    int windowWidth_ = 0, windowHeight_ = 0;
    bool updating_ = false;
    bool dragging__ = false;
    bool pumpPaint_ = true;
    bool shown_ = false;
    bool inStartAction_ = false;
    bool appHooked_ = false;
    bool backgroundRequest_ = false;
    TRect backgroundRect_;
    TNotifyEvent savedAppOnMinimize_, savedAppOnRestore_;
    std::unique_ptr<TteBitmap> snapshot_;
    TRect snapshotRect_;
    bool paintToBitmap_ = false;
    TteBitmap* paintTarget_ = nullptr;
    HWND mdiClient_ = nullptr;
    WNDPROC mdiClientOldProc_ = nullptr;
    WNDPROC mdiClientProc_ = nullptr;
    TWinControl *vertHost_ = nullptr, *horzHost_ = nullptr;
    TTeScrollBar *vertBar_ = nullptr, *horzBar_ = nullptr;
    TRect gripperRect_;
    TTeItem* windowMenu_ = nullptr;
    std::vector<std::pair<TTeItem*, TCustomForm*>> windowItems_;
    bool inWindowItemClick_ = false;
};

TteWindowSubclass WindowSubclass(TTeDefaultForm* frame);
TteWindowButtons WindowButtons(TTeDefaultForm* frame);

class TTeForm : public TTeDefaultForm {
    TARVEL_CLASS(TTeForm, TTeDefaultForm)

public:
    explicit TTeForm(TComponent* owner);
    ~TTeForm() override;

    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* link);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    // The theme defines a window for this frame's kind.
    bool Themed();

    TRect GetClientBounds() override;
    TRect GetCaptionButtonRect(TTeBorderIcon icon) override;
    TRect GetMaximizedRect() override;
    HRGN GetRegion() override;
    TteWindowHitTest GetHitTest(int x, int y) override;
    void PaintNonClientArea(TCanvas& canvas) override;
    void PaintClientArea(TCanvas& canvas) override;
    void PaintGripper(TCanvas& canvas, const TRect& rect) override;
    TteCustomThemeLink* BarsThemeLink() override { return themeLink_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The buttons the theme lays the caption out for.
    virtual TteWindowButtons ThemeButtons() { return WindowButtons(this); }

private:
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    TteTheme* Theme();
    TteWindowInfo MakeWindowInfo();

    TteCustomThemeLink* themeLink_ = nullptr;
    String themeObject_ = "default";

protected:
    // False: a frame that never draws from a theme.
    bool themeable_ = true;
    // False: theme changes and a new link repaint the frame but never hook
    // or unhook it, nor size the form.
    bool themeSwitches_ = true;
};

// ---- the classic frame, shared by the full frame and the MDI child frame ----
// Window coordinates; `cb` is the frame's client bounds.

// What lays out the caption buttons: the tray slot is the full frame's only.
struct TClassicCaption {
    TTeBorderStyle style;
    TTeBorderIcons icons;
    bool minimized = false;
    bool rolledUp = false;
    bool traySlot = true;
};
// A button's place from the right of the caption band; the system-menu
// icon is the square at its left. Empty for an icon not shown.
TRect ClassicCaptionButtonRect(TTeBorderIcon icon, const TRect& cb, const TClassicCaption& caption);
// The caption and then the buttons at (x, y), a later hit replacing an earlier one.
TteWindowHitTest CaptionHitTest(int x, int y, int width, const TRect& cb,
                                const std::function<TRect(TTeBorderIcon)>& buttonRect);
// The border zones, with 20-pixel corners, over `hit`.
TteWindowHitTest BorderHitTest(int x, int y, TSize size, const TRect& cb, TTeBorderStyle style,
                               TteWindowHitTest hit);
// The window system's hit code of a frame part.
int FrameHitCode(TteWindowHitTest part, bool moveable, bool sizing);
// The window's small icon (the application's without one), centred in `r`.
void DrawFrameIcon(HDC dc, HWND h, const TRect& r);
// That icon on a 16 x 16 transparent key-colour bitmap: the glyph a theme
// draws on a system-menu button. Without a window it stays empty.
std::unique_ptr<TteBitmap> FrameIconGlyph(HWND h);
// Close, help, minimize, maximize (restore in those states) and the icon;
// false for the buttons the caller draws itself.
bool DrawClassicCaptionButton(HDC dc, HWND h, const TRect& rect, TTeBorderIcon icon, bool pressed,
                              bool minimized, bool maximized);
// The raised edge and the borders around `cb` over (0, 0, W, H).
void PaintClassicBorders(TCanvas& canvas, TSize size, const TRect& cb);
// The caption band's gradient and its text, shortened to `room` pixels, right
// of the icon's square when there is one; `flags` as DrawText's.
void DrawClassicCaptionBand(TCanvas& canvas, const TRect& band, bool active, bool tool, bool iconSquare,
                            const WideString& text, int room, unsigned flags);
// The theme's title in its title rectangle, the caption shortened to fit.
void DrawThemedWindowTitle(TteTheme* theme, TteWindowSubclass s, TCanvas& canvas, TteWindowInfo info,
                           const String& object);
// Binds a canvas to a DC for one paint and detaches it again.
struct CanvasOnDc {
    TCanvas canvas;
    explicit CanvasOnDc(HDC dc) { canvas.SetHandle(dc); }
    ~CanvasOnDc() { canvas.SetHandle(HDC{}); }
    CanvasOnDc(const CanvasOnDc&) = delete;
    CanvasOnDc& operator=(const CanvasOnDc&) = delete;
};

// The same for any frame of that border style, caption icons and state.
TteWindowSubclass WindowSubclassOf(TTeBorderStyle style);
TteWindowButtons WindowButtonsOf(TTeBorderStyle style, TTeBorderIcons icons, TTeWindowState state);
// The theme's button for a caption icon in a window state (kwbCustom: none).
TteWindowButtonClass WindowButtonOf(TTeBorderIcon icon, TTeWindowState state);
// The first active frame of class Frame on the form a control lies on, or null.
template <class Frame>
Frame* FirstActiveFrame(TControl* control) {
    if (!control) return nullptr;
    while (control->Parent()) control = control->Parent();
    auto* form = dynamic_cast<TCustomForm*>(control);
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* frame = dynamic_cast<Frame*>(form->Components(i)); frame && frame->Active()) return frame;
    return nullptr;
}
// The active frame of the form a control lies on, or null.
inline TTeDefaultForm* GetParentQvForm(TControl* control) {
    return FirstActiveFrame<TTeDefaultForm>(control);
}

}  // namespace tarvel
