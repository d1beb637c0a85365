#include "platform/winsys/SurfaceDcAdapter.h"

// The drawing layer's own object table, reached from here only until its
// interface offers this (see the header).
#include "platform/gdi/Objects.h"

namespace tarvel {

bool RetargetSurfaceDC(HDC dc, std::shared_ptr<Surface> target, TPoint deviceOrigin, TRect deviceClip) {
    std::shared_ptr<DcObject> d = FindDc(dc);
    if (!d || d->memory || !target || !target->Valid()) return false;
    d->fixedTarget = std::move(target);
    d->deviceOrigin = deviceOrigin;
    d->deviceClip = deviceClip;
    d->ClipChanged();
    return true;
}

}  // namespace tarvel
