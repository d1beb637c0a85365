#pragma once
// The skinned frame of an MDI child form. Like the full frame it hooks the
// form's window, declares the frame's size, paints caption, borders and
// caption buttons and hit-tests them; moving, sizing, activation and the
// window states stay with the MDI client, so the hit test answers the
// window system's own codes. While its form is maximized the frame steps
// aside and the MDI parent's skinned menu bar shows the child's system item
// and buttons. TTeMDIChild draws the frame from a theme.

#include <memory>

#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {

// The system menu's entry that activates the next MDI child.
extern const char* const SMDINext;
// FM_UPDATENCAREA's wParam when the caption's text changed.
constexpr WPARAM kCaptionChanged = 13;

class TTeCustomMDIChild : public TTeHook {
    TARVEL_CLASS(TTeCustomMDIChild, TTeHook)

public:
    explicit TTeCustomMDIChild(TComponent* owner);
    ~TTeCustomMDIChild() override;

    TTeBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TTeBorderIcons value);
    TTeBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TTeBorderStyle value);
    TTeFormPerformance Performance() const { return performance_; }
    void SetPerformance(TTeFormPerformance value) { performance_ = value; }
    // The persistent buffer once made (qvfpPersistentBuffer), else null.
    const TteBitmap* Buffer() const { return buffer_.get(); }
    bool StretchBackground = false;
    bool FrameActive() const { return frameActive_; }

    // ---- geometry (window coordinates) ----
    int GetWidth();
    int GetHeight();
    virtual TRect GetClientBounds();
    TRect GetClientRect();
    virtual TRect GetCaptionButtonRect(TTeBorderIcon icon);
    virtual TSize GetMinTrackSize();
    virtual TSize GetMaxTrackSize();
    virtual TRect GetMaximizedRect();
    // Offered to descendants; the MDI client places a minimized child itself.
    virtual TRect GetMinimizedRect();
    virtual TRect GetRollupRect();
    // The work area of the monitor holding the window.
    TRect GetParentRect();
    virtual HRGN GetRegion();
    virtual TteWindowHitTest GetHitTest(int x, int y);

    // ---- painting ----
    void Update();
    void InvalidateNow();
    void UpdateNonClientArea();
    virtual void PaintNonClientArea(TCanvas& canvas);
    virtual void PaintClientArea(TCanvas& canvas);
    // While set, only the client background within `rect` (client
    // coordinates) is painted, for a transparent control on the form.
    void SetBackgroundRequest(const TRect* rect) {
        backgroundRequest_ = rect != nullptr;
        backgroundRect_ = rect ? *rect : TRect{};
    }

    // ---- the MDI side ----
    TCustomForm* GetMDIParentForm();
    TTeDefaultForm* GetMDIParentQvForm();
    bool IsMDIChildMaximized();
    // Shows or hides the MDI items of the parent's menu bar.
    void UpdateMenuBar();

    // The system menu, refilled at every showing; SysMenu pops it up.
    TTeItem* SystemMenu() const { return systemMenu_; }
    void BuildSysMenu();
    void SysMenu();

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void DoAfterMessage(TMessage& message, bool& handled) override;
    void DoBeforeDestruction() override;
    void ChangeSize();
    // True when the frame took the press (a caption button).
    bool NCMouseDown(TMouseButton button, int x, int y);
    void NCMouseMove(int x, int y);
    bool NCMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    TteWindowButtonDrawState ButtonDrawState(TteWindowHitTest part) const;
    bool Minimized();
    bool Maximized();
    bool Designing() const { return ComponentState().Contains(csDesigning); }

private:
    void WMNCCalcSize(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMNCActivate(TMessage& m);
    void WMNCLButtonDown(TMessage& m);
    void WMNCLButtonUp(TMessage& m);
    void WMNCRButtonUp(TMessage& m);
    void WMNCLButtonDblClk(TMessage& m);
    void WMNCMouseMove(TMessage& m);
    void WMSysCommand(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    // Has the window system recompute the frame (SWP_FRAMECHANGED).
    void UpdateFrame();
    void FMUpdateFrame(TMessage& m);
    void FMUpdateNCArea(TMessage& m);
    // The target of a frame or client paint by Performance: null for none,
    // the shared or the persistent buffer, or `temporary` made for it.
    TteBitmap* PaintBuffer(std::unique_ptr<TteBitmap>& temporary, int width, int height);
    int CaptionHeight();
    TPoint NormalizePoint(TPoint screen);
    void DrawCaption(TCanvas& canvas);
    void DoSysItemClick(TObject* sender);

    TTeBorderStyle borderStyle_ = kbsStandard;
    TTeBorderIcons borderIcons_{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize};
    TTeFormPerformance performance_ = qvfpNoBuffer;
    std::unique_ptr<TteBitmap> buffer_;  // the persistent buffer
    String captionText_;                 // the text the caption shows
    TTeItem* systemMenu_ = nullptr;
    TTeItem *restoreItem_ = nullptr, *minimizeItem_ = nullptr, *maximizeItem_ = nullptr,
            *closeItem_ = nullptr, *nextItem_ = nullptr;
    TPoint menuPos_;
    bool frameActive_ = true;
    bool drawingEnabled_ = true;
    TteWindowHitTest pressedHit_ = kwhtClient;
    TteWindowHitTest hoverHit_ = kwhtClient;
    TShiftState mouseButtons_;
    TWindowState loadedState_ = wsNormal;
    bool updatingFrame_ = false;  // while UpdateFrame runs
    bool backgroundRequest_ = false;
    TRect backgroundRect_;
};

class TTeMDIChild : public TTeCustomMDIChild {
    TARVEL_CLASS(TTeMDIChild, TTeCustomMDIChild)

public:
    explicit TTeMDIChild(TComponent* owner);
    ~TTeMDIChild() override;

    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* link);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    bool Themed();

    TRect GetClientBounds() override;
    TRect GetCaptionButtonRect(TTeBorderIcon icon) override;
    TSize GetMinTrackSize() override;
    HRGN GetRegion() override;
    TteWindowHitTest GetHitTest(int x, int y) override;
    void PaintNonClientArea(TCanvas& canvas) override;
    void PaintClientArea(TCanvas& canvas) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SNMThemeMessage(TMessage& m);
    TteTheme* Theme();
    TteWindowInfo MakeWindowInfo();

    TteCustomThemeLink* themeLink_ = nullptr;
    String themeObject_ = "default";
};

TteWindowSubclass MDIWindowSubclass(TTeCustomMDIChild* frame);
TteWindowButtons MDIWindowButtons(TTeCustomMDIChild* frame);
// The first active MDI child frame of the form a control lies on, or null.
// What a transparent control on an MDI child form shows behind it: the
// child frame's client background, else what `fallback` paints.
bool DrawMDIChildBackground(TCanvas* canvas, const TteBackground& b,
                            void (*fallback)(TCanvas* canvas, const TteBackground& b));
inline TTeCustomMDIChild* GetParentQvMDIChild(TControl* control) {
    return FirstActiveFrame<TTeCustomMDIChild>(control);
}

}  // namespace tarvel
