#include "skin/extras/te_extended_fullscreen.h"

#include "platform/classlib/Forms.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

TRect TTeFullScreenForm::GetMaximizedRect() {
    if (!GetForm()) return TRect{0, 0, Screen->Width(), Screen->Height()};
    const TRect m = GetRectOfMonitorContainingWindow(GetHandle(), !fullScreen_);
    // The frame's border lies outside the monitor.
    const int b = GetClientBounds().left;
    return TRect{m.left - b, m.top - b, m.right + b, m.bottom + b};
}

void TTeFullScreenForm::Loaded() {
    // Asked for while still loading, the frame maximizes once the window is
    // up, as for a state read from the form data.
    if (!Designing()) SetWindowState(kwsMaximized);
    inherited::Loaded();
}

}  // namespace tarvel
