// Region data from outside (window regions built from skin bitmaps) and the
// operations on it: nothing may crash, hang or read past the data.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/gdi/Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvel;
    if (size < 2) return 0;
    const int mode = data[0] % 6;  // RGN_AND..RGN_COPY and one bad mode
    data += 2;
    size -= 2;
    const size_t split = size == 0 ? 0 : data[0] % (size + 1);
    HRGN a = ExtCreateRegion(nullptr, static_cast<uint32_t>(split), data);
    HRGN b = ExtCreateRegion(nullptr, static_cast<uint32_t>(size - split), data + split);
    HRGN dest = CreateRectRgn(0, 0, 0, 0);
    if (a && b) CombineRgn(dest, a, b, mode);
    TRect box;
    GetRgnBox(dest, &box);
    PtInRegion(dest, box.left, box.top);
    RectInRegion(dest, box);
    OffsetRgn(dest, INT32_MAX, INT32_MIN);
    EqualRgn(a, b);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(dest);
    return 0;
}
