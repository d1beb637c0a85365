#pragma once
// The class library's string and draw grids with a skinned frame, cells
// drawn by the theme's grid element, and skinned scroll bars.

#include "platform/classlib/Grids.h"
#include "platform/classlib/ScrollBars.h"
#include "skin/controls/te_controls_subscroll.h"

namespace tarvel {

// What the two grids share; they differ only in the text a cell shows.
template <class Base>
class TTeGridSkin : public TTeWrapped<Base> {
public:
    explicit TTeGridSkin(TComponent* owner);

    void PaintBuffer(TCanvas& canvas, const TRect& rect) override;
    void PaintBorder(TCanvas& canvas, const TRect& rect) override;

protected:
    static void DeclareGridMessages(TMessageTable& t);
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void Loaded() override;

private:
    void WMNCPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { this->EraseWith(m, this->Inflated()); }
    void SNMThemeMessage(TMessage& m);
    // The theme's grid colour and whether the grid draws its cells itself.
    void TakeThemeLook(TteTheme* theme);
};

class TTeDrawGrid : public TTeGridSkin<TDrawGrid> {
    TARVEL_CLASS(TTeDrawGrid, TTeGridSkin<TDrawGrid>)

public:
    using TTeGridSkin<TDrawGrid>::TTeGridSkin;

protected:
    static void DeclareMessages(TMessageTable& t) { DeclareGridMessages(t); }
};

class TTeStringGrid : public TTeGridSkin<TStringGrid> {
    TARVEL_CLASS(TTeStringGrid, TTeGridSkin<TStringGrid>)

public:
    using TTeGridSkin<TStringGrid>::TTeGridSkin;

protected:
    static void DeclareMessages(TMessageTable& t) { DeclareGridMessages(t); }
};

// A frame that shows its parent's background through it: its own colour is
// never painted, only its windowless children over that background.
class TTeFrame : public TFrame {
    TARVEL_CLASS(TTeFrame, TFrame)

public:
    using TFrame::TFrame;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;

private:
    void WMEraseBkgnd(TMessage& m);
};

}  // namespace tarvel
