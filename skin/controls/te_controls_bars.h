#pragma once
// Containers that lay out their children themselves, showing what lies
// behind them: the outlook bar (caption buttons with one open page under
// its button) and the button bar (square items along the longer side, with
// two scroll buttons when they overflow).

#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_forms.h"

namespace tarvel {

class TTeOutlookBarPanel;

// Always drawn in its hot look.
class TTeOutlookBarButton : public TTeSpeedButton {
    TARVEL_CLASS(TTeOutlookBarButton, TTeSpeedButton)

public:
    explicit TTeOutlookBarButton(TComponent* owner);
    ~TTeOutlookBarButton() override;
    TTeOutlookBarPanel* Page() const { return page_; }
    void SetPage(TTeOutlookBarPanel* page);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TTeOutlookBarPanel* page_ = nullptr;
};

class TTeOutlookBarPanel : public TTeTransPanel {
    TARVEL_CLASS(TTeOutlookBarPanel, TTeTransPanel)

public:
    using TTeTransPanel::TTeTransPanel;
    ~TTeOutlookBarPanel() override;
    TTeOutlookBarButton* Button() const { return button_; }
    void SetButton(TTeOutlookBarButton* button);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TTeOutlookBarButton* button_ = nullptr;
};

class TTeOutlookBar : public TTeControl {
    TARVEL_CLASS(TTeOutlookBar, TTeControl)

public:
    explicit TTeOutlookBar(TComponent* owner);

    // The bar's own margin, on every side of the client area.
    int BorderWidth() const { return border_; }
    void SetBorderWidth(int value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    TTeOutlookBarPanel* ActiveBar() const { return activeBar_; }
    // Only a page of this bar.
    void SetActiveBar(TTeOutlookBarPanel* page);

    // A new button and page at the end; the page opens.
    TTeOutlookBarPanel* AddPanel();
    void DeletePanel() {}
    TRect GetClientRect() override;
    void PaintBuffer() override;

protected:
    void AlignControls(TControl* control, TRect& rect) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DoButtonClick(TObject* sender);

    int border_ = 0;
    int buttonHeight_ = 23;
    TTeOutlookBarPanel* activeBar_ = nullptr;
};

class TTeButtonBarScroll : public TTeSpeedButton {
    TARVEL_CLASS(TTeButtonBarScroll, TTeSpeedButton)

public:
    explicit TTeButtonBarScroll(TComponent* owner);
};

class TTeButtonBar : public TTeControl {
    TARVEL_CLASS(TTeButtonBar, TTeControl)

public:
    explicit TTeButtonBar(TComponent* owner);

    int BorderWidth() const { return border_; }
    void SetBorderWidth(int value);
    int ItemSize() const { return itemSize_; }
    int ScrollOffset() const { return scrollOffset_; }
    TTeButtonBarScroll* BackButton() const { return back_; }
    TTeButtonBarScroll* ForwardButton() const { return forward_; }
    TRect GetClientRect() override;
    void PaintBuffer() override;

protected:
    void AlignControls(TControl* control, TRect& rect) override;

private:
    void DoScrollClick(TObject* sender);

    int border_ = 5;
    int itemSize_ = 0;
    int scrollOffset_ = 0;
    TTeButtonBarScroll* back_ = nullptr;
    TTeButtonBarScroll* forward_ = nullptr;
};

}  // namespace tarvel
