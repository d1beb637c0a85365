#pragma once
// Saving and restoring the DC under a canvas. A plain SaveDC / RestoreDC
// pair puts back the pen, brush and font the DC had when it was saved,
// behind the canvas's back; this guard takes the canvas's objects out first
// and lets the canvas select them again afterwards. The state comes back
// when the guard ends, also when the drawing in between raises.

#include "platform/classlib/Graphics.h"

namespace tarvel {

class TCanvasDCState {
public:
    explicit TCanvasDCState(TCanvas& canvas) : canvas_(canvas), dc_(canvas.Handle()) {
        canvas_.SetHandle(HDC{});
        saved_ = SaveDC(dc_);
        canvas_.SetHandle(dc_);
    }
    ~TCanvasDCState() {
        canvas_.SetHandle(HDC{});
        if (saved_ > 0) RestoreDC(dc_, saved_);
        canvas_.SetHandle(dc_);
    }
    TCanvasDCState(const TCanvasDCState&) = delete;
    TCanvasDCState& operator=(const TCanvasDCState&) = delete;

    HDC DC() const { return dc_; }

private:
    TCanvas& canvas_;
    HDC dc_;
    int saved_ = 0;
};

// Points a control's canvas at another DC for one painting, locked so
// nothing else draws through it meanwhile; the canvas gets its own handle
// back at the end, also when the painting raises.
class TCanvasOnDC {
public:
    TCanvasOnDC(TCanvas& canvas, HDC dc)
        : canvas_(canvas), old_(canvas.HandleAllocated() ? canvas.Handle() : HDC{}) {
        canvas_.Lock();
        canvas_.SetHandle(dc);
    }
    ~TCanvasOnDC() {
        canvas_.SetHandle(old_);
        canvas_.Unlock();
    }
    TCanvasOnDC(const TCanvasOnDC&) = delete;
    TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

private:
    TCanvas& canvas_;
    HDC old_;
};

}  // namespace tarvel
