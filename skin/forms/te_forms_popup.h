#pragma once
// One open level of a skinned menu: a topmost popup window that shows an
// item's sub-items through its view and runs their loop. It is shown
// without taking activation and lives from the item's Popup to the end of
// its loop. Without a themed popup element it wears a 3-pixel classic edge.
// It always casts a shadow to the right and below, which its size includes;
// of the windows opened since the menu was entered only the first takes
// the show animation. Shadow and blending are mixed with the screen that
// lay beneath the window when it was shown.

#include <memory>

#include "platform/classlib/Forms.h"
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

class TTePopupWindow : public TForm {
    TARVEL_CLASS(TTePopupWindow, TForm)

public:
    TTePopupWindow(TComponent* owner, TTeItem* item, TTeItemView* parentView);
    ~TTePopupWindow() override;

    TTePopupView* View() const { return view_.get(); }
    TTeItem* Item() const { return item_; }
    // Lays the view out again, which sizes the window.
    void CalcSize();
    bool EnterLoop();
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    // Where the items lie in the window: inside the menu's edge.
    TRect GetClientBounds();
    TTeShadow* Shadow() { return &shadow_; }
    TTeBlending* Blending() { return &blending_; }
    // The show animation this window took; disabled when it took none.
    TTeAnimation* Animation() { return &animation_; }
    bool TookAnimation() const { return tookAnimation_; }
    // The control whose caption stays active while the menu is open.
    TWinControl* OwnerControl() const { return ownerControl_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    void CMShowingChanged(TMessage& m);
    void WMMouseActivate(TMessage& m);
    void WMActivate(TMessage& m);
    // The owner's caption keeps its active look while the menu is used.
    void KeepOwnerActive();
    bool Themed();
    void ClipShadowCorners();
    // The first show of a window that took the animation.
    void PlayAnimation();
    // The edge and the entries, without shadow or blending.
    void PaintMenu(TCanvas& canvas);

    TTeItem* item_;
    std::unique_ptr<TTePopupView> view_;
    std::unique_ptr<TBitmap> measure_;
    String themeObject_ = "default";
    TTeShadow shadow_;
    TTeBlending blending_;
    TTeAnimation animation_;
    // The screen beneath the window when it was shown: the shadow and a
    // blended menu are mixed with it.
    std::unique_ptr<TteBitmap> behind_;
    bool tookAnimation_ = false;
    TWinControl* ownerControl_ = nullptr;
};

}  // namespace tarvel
