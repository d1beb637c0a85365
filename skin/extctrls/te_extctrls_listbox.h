#pragma once
// The class library's list box with the skinned edit frame and skinned
// scroll bars laid over its native ones. The items stay the list box's own;
// the frame has no hot look (disabled, focused or normal), and the bars
// follow every key, wheel turn, drag, resize and change of the items.

#include "platform/classlib/StdCtrls_ListBox.h"
#include "skin/controls/te_controls_subscroll.h"

namespace tarvel {

class TTeSListBox : public TTeWrapped<TListBox> {
    TARVEL_CLASS(TTeSListBox, TTeWrapped<TListBox>)

public:
    explicit TTeSListBox(TComponent* owner);

    // The theme's frame when it has a List element for ThemeObject, else classic edges.
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;
    // The list box paints its own background.
    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateScrollBar(TTeScrollBar*& scrollBar, TComponent* owner) override;
    void WndProc(TMessage& m) override;
    void Resize() override;
    void ItemsUpdated() override;
    void ThemeLinkChanged() override;

private:
    void WMNCPaint(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void UpdateBars();

    bool leftDown_ = false;
};

}  // namespace tarvel
