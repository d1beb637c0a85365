#pragma once
// TTeExplorerBar: header panels stacked one under another with a gap, over
// the full width, showing what lies behind them; its own vertical scroll bar
// appears at the right edge when they don't fit. A panel that rolls up or
// down moves the ones under it at once.

#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_forms.h"
#include "skin/extctrls/te_extctrls_hdrpanel.h"

namespace tarvel {

class TTeExplorerBar : public TTeControl {
    TARVEL_CLASS(TTeExplorerBar, TTeControl)

public:
    static constexpr int kScrollBarWidth = 16;

    explicit TTeExplorerBar(TComponent* owner);

    // The bar's own margin on every side, and the gap between panels.
    int BorderWidth() const { return border_; }
    void SetBorderWidth(int value);
    TTeScrollBar* ScrollBar() const { return scrollBar_; }

    // A new empty panel at the bottom of the stack.
    TTeHeaderPanel* AddPanel();
    void DeletePanel() {}
    TRect GetClientRect() override;
    void PaintBuffer() override;

protected:
    void AlignControls(TControl* control, TRect& rect) override;
    void Loaded() override;

private:
    void Hook(TTeHeaderPanel* panel);

    int border_ = 10;
    TTeScrollBar* scrollBar_ = nullptr;
};

}  // namespace tarvel
