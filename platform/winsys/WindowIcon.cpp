// The picture a display shows for a window in its task bar: the big icon
// given by WM_SETICON, else the small one.

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

std::shared_ptr<const Surface> IconPixelsOf(const Window* w) {
    LPARAM handle = w->icons[1] ? w->icons[1] : w->icons[0];
    return IconPixels(static_cast<uint64_t>(handle));
}

std::shared_ptr<const Surface> IconPixels(uint64_t handle) {
    if (!handle) return nullptr;
    ICONINFO info;
    if (!GetIconInfo(HICON(handle), &info)) return nullptr;
    std::shared_ptr<Surface> color = GetBitmapSurface(info.hbmColor);
    std::shared_ptr<Surface> copy;
    if (color && color->Valid()) {
        copy = std::make_shared<Surface>(color->Width(), color->Height());
        if (copy->Valid())
            for (int y = 0; y < color->Height(); ++y)
                std::copy_n(color->Row(y), color->Width(), copy->Row(y));
        else
            copy.reset();
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return copy;
}

}  // namespace tarvel
