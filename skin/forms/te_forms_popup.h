#pragma once
// One open level of a skinned menu: a topmost popup window that shows an
// item's sub-items through its view and runs their loop, hosted by a frame
// of its own. The window is shown without taking activation and lives from
// the item's Popup to the end of its loop. The frame takes the window's
// messages as every frame does: the menu's edge (a 3-pixel classic edge
// without a themed popup element) and the shadow to the right and below are
// its non-client area, the entries its client. It blends the menu, keeps
// the owner's caption active and plays the show animation on the window's
// first show; of the windows opened since the menu was entered only the
// first takes it. Shadow and blending mix with the live screen where a
// compositing manager runs, else with the screen that lay beneath the
// window when it was shown.

#include <memory>

#include "platform/classlib/Forms.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menuview.h"

namespace tarvel {

class TTePopupWindow;

class TTePopupView : public TTeItemView {
    TARVEL_CLASS(TTePopupView, TTeItemView)

public:
    explicit TTePopupView(TTePopupWindow* window);
    TTePopupWindow* Window() const { return window_; }

    void SetSize(const TPoint& size) override;
    void SetPosition(const TPoint& point) override;
    void InvalidateView() override;
    void InvalidateItem(TTeItem* item) override;
    void InvalidateScrollButton(TTeMenuScrollButton button) override;

private:
    TTePopupWindow* window_;
};

class TTePopupForm : public TTeForm {
    TARVEL_CLASS(TTePopupForm, TTeForm)

public:
    explicit TTePopupForm(TComponent* owner);

    TTePopupWindow* Window() const { return window_; }
    void SetWindow(TTePopupWindow* window) { window_ = window; }
    // The control whose caption stays active while the menu is open.
    TWinControl* OwnerControl() const { return ownerControl_; }
    void SetOwnerControl(TWinControl* control);
    // The window's first show plays the animation.
    bool TookAnimation() { return Animation()->Enabled(); }

    // Where the items lie in the window: inside the menu's edge.
    TRect GetClientBounds() override;
    TSize GetMinTrackSize() override;
    // The menu's ground and edge.
    void PaintNonClientArea(TCanvas& canvas) override;
    // The entries over the menu's ground.
    void PaintClientArea(TCanvas& canvas) override;
    // Repaints `rect` of the entries (client coordinates) at once.
    void InvalidateClientRect(const TRect& rect);
    // The client bounds of a window as large as any menu: the margins the
    // window adds to its content.
    TRect LargeWindowClientBounds();
    using TTeDefaultForm::RememberFormSize;

protected:
    friend class TTePopupWindow;  // creates and loads it
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void WMActivate(TMessage& m);
    void WMMouseActivate(TMessage& m);
    void WMGetMinMaxInfo(TMessage& m);
    // The owner's caption keeps its active look while the menu is used.
    void KeepOwnerActive();
    bool MenuThemed();

    TTePopupWindow* window_ = nullptr;
    TWinControl* ownerControl_ = nullptr;
};

class TTePopupWindow : public TForm {
    TARVEL_CLASS(TTePopupWindow, TForm)

public:
    TTePopupWindow(TComponent* owner, TTeItem* item, TTeItemView* parentView);
    ~TTePopupWindow() override;

    TTePopupView* View() const { return view_.get(); }
    TTePopupForm* Frame() const { return frame_; }
    TTeItem* Item() const { return item_; }
    // Lays the view out again, which sizes the window.
    void CalcSize();
    bool EnterLoop();
    // The class of the frame the window makes for itself (called from the
    // constructor: this class's answer counts).
    virtual TClass GetFormClass() const { return TTePopupForm::StaticClass(); }

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;

private:
    void CMShowingChanged(TMessage& m);
    void WMMouseActivate(TMessage& m);
    // The class library's answer with a minimum tracking size of 20 x 20.
    void WMGetMinMaxInfo(TMessage& m);

    TTeItem* item_;
    std::unique_ptr<TTePopupView> view_;
    TTePopupForm* frame_ = nullptr;
    std::unique_ptr<TBitmap> measure_;
};

}  // namespace tarvel
