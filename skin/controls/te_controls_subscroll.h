#pragma once
// Skinned scroll bars over the class library's windowed controls. The
// native bars of a grid, memo or rich edit keep painting in the classic
// look; a TTeInplaceScrollBar window is laid over each one and hosts a
// theme-drawn TTeScrollBar that mirrors the native bar's visibility, place,
// range, page and position, and turns the user's clicks and drags back into
// scroll requests. TTeSubScrollBar owns the pair of one control and sees
// every message of that control through the window's procedure chain.
//
// Also here: the frame the wrapped controls share (border, hot flag,
// repaint on theme changes, the classic corner square).

#include <functional>
#include <memory>

#include "platform/classlib/Controls.h"
#include "platform/winsys/PaintApi.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

class TTeSubScrollBar;
class TListView;

// Lets a wrapped control make the hosted bar itself (a descendant class).
using TTeScrollBarFactory = std::function<void(TTeScrollBar*& scrollBar, TComponent* owner)>;

class TTeInplaceScrollBar : public TWinControl {
    TARVEL_CLASS(TTeInplaceScrollBar, TWinControl)

public:
    TTeInplaceScrollBar(TComponent* owner, const TTeScrollBarFactory& factory);
    ~TTeInplaceScrollBar() override;

    TTeScrollBar* ScrollBar() const { return bar_; }
    TWinControl* Control() const { return control_; }
    void SetControl(TWinControl* control) { control_ = control; }
    TTeScrollOrientation GetOrientation() const { return bar_->Orientation(); }
    void SetOrientation(TTeScrollOrientation value) { bar_->SetOrientation(value); }
    bool Dead() const { return dead_ || windowGone_; }

    // Reacts to one message of the wrapped control.
    void ScrollBarWndProc(TMessage& message);
    // Mirrors the native bar: shown or hidden, placed over it, its range,
    // page and (unless a drag is on) its position. Wrapped controls call it
    // when their scroll state changes without a message the hook sees.
    void ScrollBarUpdate();
    // Only the mirror places the bar: alignment, anchors and callers not.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    virtual void DoScroll(TObject* sender, TTeScrollCode code, int& scrollPos);

private:
    friend class TTeSubScrollBar;
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
    bool Vertical() const { return GetOrientation() == ksoVertical; }
    // A list view (but in the list style) is scrolled by pixels, not by
    // messages; false leaves the request to the view's own messages.
    bool ScrollListView(TListView* view, TTeScrollCode code, int scrollPos);

    TTeScrollBar* bar_ = nullptr;
    TWinControl* control_ = nullptr;
    TTeSubScrollBar* sub_ = nullptr;
    bool dead_ = false;        // being destroyed itself
    bool windowGone_ = false;  // the control's window was destroyed (a new one revives it)
    bool positionSync_ = true;
    bool inUpdate_ = false;
};

class TTeSubScrollBar : public TComponent {
    TARVEL_CLASS(TTeSubScrollBar, TComponent)

public:
    TTeSubScrollBar(TWinControl* control, const TTeScrollBarFactory& factory);
    // Frees the in-place bars it still has.
    ~TTeSubScrollBar() override;

    TWinControl* Control() const { return control_; }
    // Nil detaches: the bars leave their parent and nothing more is forwarded.
    void SetControl(TWinControl* control);
    void SetParent(TWinControl* parent);
    TTeInplaceScrollBar* VertBar() const { return vert_; }
    TTeInplaceScrollBar* HorzBar() const { return horz_; }
    bool Inactive() const { return inactive_; }
    // A control whose own scroll messages say nothing the bars need.
    void SetIgnoreScrollMessages(bool value) { ignoreScroll_ = value; }

    // Puts the hook in front of the control's window procedure; the wrapped
    // control calls it each time its window is made.
    void HookWindow();
    // The hook: every message of the control passes here before the control.
    void SubWndProc(TMessage& message);
    // Both mirrors, vertical first.
    void UpdateBars();

private:
    friend class TTeInplaceScrollBar;
    void BarDestroyed(TTeInplaceScrollBar* bar);
    LRESULT HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Unhook();

    TWinControl* control_ = nullptr;
    TTeInplaceScrollBar* vert_ = nullptr;
    TTeInplaceScrollBar* horz_ = nullptr;
    bool inactive_ = false;
    bool ignoreScroll_ = false;
    struct THookLink;
    std::shared_ptr<THookLink> link_;  // shared with the procedure, which may outlive us
    HWND hooked_ = nullptr;
    WNDPROC proc_ = nullptr;
};

// ---- the frame the wrapped controls share ----------------------------------------------

// Paints the frame of `control` on its window DC, the client clipped out;
// with no border style the frame lies 2 pixels outside the window.
void PaintWrappedFrame(TWinControl* control, bool borderNone,
                       const std::function<void(TCanvas&, const TRect&)>& paintBorder);
// The classic two-edge border; a corner square of `corner` pixels (none
// for 0) filled with clBtnFace at the bottom right.
void PaintClassicWrappedBorder(TCanvas& canvas, const TRect& r, int corner, bool cornerFirst);
// The frame and the erased client painted anew.
void RepaintWrapped(TWinControl* control);
// Both hosted bars draw from the wrapped control's theme link.
void HandThemeLinkToBars(TTeSubScrollBar* sub, TteCustomThemeLink* link);
// Theme messages with their own handler: the hook leaves them alone.
bool IsThemeMessage(UINT msg);

// The part of a wrapped control that every wrapper has: its companion with
// the skinned bars, the theme link and object, the hot flag, and the frame
// painted on WM_NCPAINT. A final class lists the mixin's messages in its own
// DeclareMessages (the class table knows only the class library's parent).
template <class Base>
class TTeWrapped : public Base {
public:
    explicit TTeWrapped(TComponent* owner) : Base(owner) { AddThemeNotification(this); }
    ~TTeWrapped() override {
        RemoveThemeNotification(this);
        if (!sub_) return;
        sub_->SetControl(nullptr);
        delete sub_;
    }

    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value) {
        if (value == themeLink_) return;
        if (themeLink_) themeLink_->RemoveFreeNotification(this);
        themeLink_ = value;
        if (themeLink_) themeLink_->FreeNotification(this);
        ThemeLinkChanged();
        RepaintWrapped(this);
    }
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value) {
        if (value == themeObject_) return;
        themeObject_ = value;
        this->Invalidate();
    }
    TTeSubScrollBar* SubScrollBar() const { return sub_; }
    bool Hot() const { return hot_; }
    void SetParent(TWinControl* parent) override {
        Base::SetParent(parent);
        if (sub_) sub_->SetParent(parent);
    }

    virtual void PaintBuffer(TCanvas& canvas, const TRect& rect) = 0;
    virtual void PaintBorder(TCanvas& canvas, const TRect& rect) = 0;

protected:
    static void DeclareWrappedMessages(TMessageTable& t) {
        t.Add<&TTeWrapped::CMMouseEnter>(CM_MOUSEENTER);
        t.Add<&TTeWrapped::CMMouseLeave>(CM_MOUSELEAVE);
    }
    void Notification(TComponent* component, TOperation operation) override {
        Base::Notification(component, operation);
        if (operation == TOperation::opRemove && component == themeLink_) SetThemeLink(nullptr);
    }
    void CreateHandleDone() override {
        Base::CreateHandleDone();
        sub_->HookWindow();
    }
    // Each wrapper's constructor makes its companion, once its own factory can run.
    void MakeSubScrollBar(const TTeScrollBarFactory& factory) { sub_ = new TTeSubScrollBar(this, factory); }
    // The companion whose hosted bars come from CreateScrollBar.
    void MakeSubScrollBar() {
        MakeSubScrollBar([this](TTeScrollBar*& bar, TComponent* owner) { CreateScrollBar(bar, owner); });
    }
    // A descendant may host a bar class of its own.
    virtual void CreateScrollBar(TTeScrollBar*& scrollBar, TComponent* owner) {
        scrollBar = new TTeScrollBar(owner);
    }
    virtual void ThemeLinkChanged() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The frame on the window DC; with no border it lies outside the window.
    void PaintFrame() { PaintFrame(this->BorderStyle() == bsNone); }
    void PaintFrame(bool borderNone) {
        PaintWrappedFrame(this, borderNone,
                          [this](TCanvas& canvas, const TRect& r) { PaintBorder(canvas, r); });
    }
    // The wheel and a new size change the scroll state without a message the hook sees.
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override {
        const bool used = Base::DoMouseWheel(shift, wheelDelta, mousePos);
        if (sub_) sub_->UpdateBars();
        return used;
    }
    void Resize() override {
        Base::Resize();
        if (sub_) sub_->UpdateBars();
    }
    // Erases through PaintBuffer over `rect` on the message's DC.
    void EraseWith(TMessage& m, const TRect& rect) {
        TCanvas canvas;
        canvas.SetHandle(DcFromWParam(m.WParam));
        PaintBuffer(canvas, rect);
        canvas.SetHandle(nullptr);
        m.Result = 1;
    }
    TRect Inflated() { return TRect{-2, -2, this->Width() + 2, this->Height() + 2}; }

    TteCustomThemeLink* themeLink_ = nullptr;
    String themeObject_ = "default";

private:
    void CMMouseEnter(TMessage& m) {
        this->DispatchFrom(Base::StaticClass(), m);
        if (!this->IsOwnMouseMessage(m)) return;
        hot_ = true;
        MouseEnter();
    }
    void CMMouseLeave(TMessage& m) {
        this->DispatchFrom(Base::StaticClass(), m);
        if (!this->IsOwnMouseMessage(m)) return;
        hot_ = false;
        MouseLeave();
    }

    TTeSubScrollBar* sub_ = nullptr;
    bool hot_ = false;
};

}  // namespace tarvel
