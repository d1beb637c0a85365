#pragma once
// The class library's tab control, page control and tab sheet painted from
// the theme's Tab element: the tabs, the page frame, the arrows of the
// up-down that scrolls overflowing tabs, and the tab under the mouse. The
// layout, hit-testing, keys and scrolling stay the controls' own. Without
// the element they paint as they always do.

#include "platform/classlib/ComCtrls_Tabs.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_updown.h"

namespace tarvel {

template <class Base>
class TTeNativeTabs : public Base, public TTeThemeLinked {
public:
    explicit TTeNativeTabs(TComponent* owner);
    ~TTeNativeTabs() override;

    // -1 while no tab is under the mouse.
    int HotTab() const { return hotTab_; }
    // The up-down child while its arrows are ours to draw.
    HWND HookedUpDown() const { return upDown_.Window(); }
    bool Themed() const;

    // The display rectangle grown to the control's edges away from the tabs.
    TRect PageFrameRect();
    void PaintControl(TCanvas& canvas);
    void DrawThemedTab(TCanvas& canvas, int index);
    // Every tab drawn again at once, the current one last.
    void UpdateTabs();

protected:
    void WndProc(TMessage& m) override;
    void Paint() override;
    void CreateHandleDone() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Repaints what the control shows of the theme.
    virtual void InvalidateThemed() { this->Invalidate(); }

private:
    void SetHotTab(int index);
    void ThemeMessage(const TMessage& m);
    void HookUpDown();
    void UnhookUpDown() { upDown_.Unhook(); }

    TThemedUpDown upDown_;
    int hotTab_ = -1;
};

class TTeSTabControl : public TTeNativeTabs<TTabControl> {
    TARVEL_CLASS(TTeSTabControl, TTeNativeTabs<TTabControl>)

public:
    using TTeNativeTabs<TTabControl>::TTeNativeTabs;
};

class TTeSPageControl : public TTeNativeTabs<TPageControl> {
    TARVEL_CLASS(TTeSPageControl, TTeNativeTabs<TPageControl>)

public:
    using TTeNativeTabs<TPageControl>::TTeNativeTabs;
    // Kept and repainted; nothing draws close buttons yet.
    bool ShowCloseButtons() const { return showCloseButtons_; }
    void SetShowCloseButtons(bool value);

protected:
    void InvalidateThemed() override;

private:
    bool showCloseButtons_ = false;
};

// A page's background from the current theme's Tab element, in the look of
// its skinned page control when it has one.
class TTeSTabSheet : public TTabSheet {
    TARVEL_CLASS(TTeSTabSheet, TTabSheet)

public:
    using TTabSheet::TTabSheet;
    // Whether the current theme (no link) defines the Tab element.
    static bool Themed();
    // The theme's page frame over the client grown by 4.
    void PaintThemedBackground(TCanvas& canvas);

protected:
    void WndProc(TMessage& m) override;
    void PaintWindow(HDC dc) override;
};

// Registers the painters that let transparent children of these controls
// show the themed page behind them; once after each start of the theme
// library.
void RegisterNativeTabBackgrounds();

}  // namespace tarvel
