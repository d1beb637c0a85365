#pragma once
// Docking: the small tool window a control floats in when a dock drag
// leaves it outside every dock site, and the search for the dock site under
// the pointer. The drag itself is the control's (TControl::DragKind dkDock):
// it asks the sites it passes over (TWinControl::DockOver) and drops the
// control on the one that accepts, else floats it.

#include <memory>

#include "platform/classlib/Forms.h"

namespace tarvel {

// The tool window of one floating control: a thin frame and a small
// caption strip of its own over the control (window managers draw no frame
// around it, and one that did would move it itself, never docking it).
// Dragging the strip is a dock drag of the control, so the window follows
// the pointer and docks where a site takes it.
class TToolDockForm : public TCustomForm {
    TARVEL_CLASS(TToolDockForm, TCustomForm)

public:
    explicit TToolDockForm(TComponent* owner);
    ~TToolDockForm() override;

    // The control floating in it (null once it has docked elsewhere).
    TControl* DockedControl() const { return ControlCount() > 0 ? Controls(0) : nullptr; }
    // Takes the control in, below the strip, sized to hold it.
    void Hold(TControl* control);
    // The strip, in client coordinates.
    TRect CaptionRect();
    static constexpr int kFrame = 2;

protected:
    void PaintWindow(HDC dc) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// The tool window the control floats in, else null.
TToolDockForm* FloatingHost(const TControl* control);
// The innermost shown dock site whose window holds the screen point and is
// not covered there by another window (the dragged control's own tool
// window aside); never the dragged control or a site inside it.
TWinControl* FindDockSite(const TControl* dragged, TPoint screen);

}  // namespace tarvel
