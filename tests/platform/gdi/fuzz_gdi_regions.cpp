// Region data from outside (window regions built from skin bitmaps) and the
// operations on it: nothing may crash, hang or read past the data.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/gdi/Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvel;
    if (size < 2) return 0;
    // Byte 0 picks the operation, byte 1 the rectangle count of the first
    // region's data; the rest of the input is the second region's data.
    const int mode = data[0] % 6 + 1;  // RGN_AND..RGN_COPY and one bad mode
    const size_t first = std::min<size_t>(size - 2, 32 + 16 * size_t{data[1]});
    data += 2;
    size -= 2;
    HRGN a = ExtCreateRegion(nullptr, static_cast<uint32_t>(first), data);
    HRGN b = ExtCreateRegion(nullptr, static_cast<uint32_t>(size - first), data + first);
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
