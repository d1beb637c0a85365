#pragma once
// What the window system needs of the drawing layer and does not find in
// its interface yet: moving a surface DC that a caller keeps (GetDC held for
// a window's life) to where its window now is. To be replaced by the drawing
// layer's own call.

#include <memory>

#include "platform/gdi/Gdi.h"

namespace tarvel {

// Points a surface DC at `target`, with its (0, 0) at `deviceOrigin` and
// output clipped to `deviceClip` (surface coordinates). The DC's own state
// (objects, clip region, origin) stays. False for any other DC.
bool RetargetSurfaceDC(HDC dc, std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip);

}  // namespace tarvel
