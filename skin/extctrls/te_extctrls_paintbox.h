#pragma once
// A windowless surface its owner draws on in OnPaint, through the skinned
// controls' buffered canvas.

#include "skin/core/te_forms.h"

namespace tarvel {

class TTePaintBox : public TTeGraphicControl {
    TARVEL_CLASS(TTePaintBox, TTeGraphicControl)

public:
    explicit TTePaintBox(TComponent* owner);

    // The canvas holds the control's font and a brush of its colour; at
    // design time a dashed outline marks the box; then OnPaint draws.
    void PaintBuffer() override;

    TNotifyEvent OnPaint;
};

}  // namespace tarvel
