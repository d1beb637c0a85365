#pragma once
// TTeToolBar: a bar that lines up its children in one row (one column when
// it stands upright), in the order of their edges, with a gripper at its
// left end (on a control bar, the bar's face and the band's grabber stand
// instead). With ButtonAutoSize it sizes its speed buttons to its own
// thickness and its dividers to DividerWidth. A transparent child shows the
// bar's face behind it.

#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

class TTeToolBar : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeToolBar, TTeControl)

public:
    explicit TTeToolBar(TComponent* owner);
    ~TTeToolBar() override;

    bool ButtonAutoSize() const { return buttonAutoSize_; }
    void SetButtonAutoSize(bool value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    int DividerWidth() const { return dividerWidth_; }
    void SetDividerWidth(int value);
    // The bar's own inset of its client area (not the bevel border).
    int BorderWidth() const { return toolBorder_; }
    void SetBorderWidth(int value);

    // Wider than high, or aligned to the top or the bottom.
    bool IsHorizontal() const;
    // Standing in a band of a control bar, which draws the bar's face.
    bool OnControlBar() const;

    TRect GetClientRect() override;
    void SetBounds(int left, int top, int width, int height) override;
    void PaintBuffer() override;

    // The bar's face painted into another DC, as the background of a child.
    void PaintAsBackground(HDC dc);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;

private:
    void SNMThemeMessage(TMessage& m);
    void PaintClassic();

    bool buttonAutoSize_ = true;
    int buttonWidth_ = 29;
    int dividerWidth_ = 8;
    int toolBorder_ = 0;
    bool paintingBackground_ = false;
};

// The classic face of a tool bar: its colour, a raised double grip at the
// left end and a light and dark edge around it.
void DrawClassicToolBar(TCanvas& canvas, int width, int height, TColor color);

// Registers the tool bar's background painter, once after each start of
// the theme core (whose end forgets the painters).
void RegisterToolBarBackground();

}  // namespace tarvel
