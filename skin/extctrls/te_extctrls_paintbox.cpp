#include "skin/extctrls/te_extctrls_paintbox.h"

namespace tarvel {

TTePaintBox::TTePaintBox(TComponent* owner) : TTeGraphicControl(owner) {
    ControlStyle.Include(csReplicatable);
    SetBounds(Left(), Top(), 105, 105);
}

void TTePaintBox::PaintBuffer() {
    TCanvas& c = *Canvas();
    c.Font()->Assign(Font());
    c.Brush()->SetColor(Color());
    c.Brush()->SetStyle(bsSolid);
    if (ComponentState().Contains(csDesigning)) {
        c.Pen()->SetStyle(psDash);
        c.Brush()->SetStyle(bsClear);
        c.Rectangle(0, 0, Width(), Height());
        // The owner's drawing starts from the box's own pen and brush.
        c.Pen()->SetStyle(psSolid);
        c.Brush()->SetStyle(bsSolid);
    }
    if (OnPaint) OnPaint(this);
}

}  // namespace tarvel
