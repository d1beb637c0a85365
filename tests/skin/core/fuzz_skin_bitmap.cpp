// Bitmap, bitmap-link and PCX streams from untrusted bytes: each either loads
// or raises the library's errors, never reading past the data.
#include <cstddef>
#include <cstdint>

#include "skin/core/te_bitmap.h"
#include "skin/core/te_bitmap_links.h"
#include "skin/core/te_compress.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    TMemoryStream s;
    s.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
    s.SetPosition(0);
    try {
        TteBitmap b;
        switch (data[0] % 4) {
            case 0: b.LoadFromStream(s); break;
            case 1: b.LoadFromPcxStream(s); break;
            case 2: {
                TteBitmapLink link;
                link.LoadFromStream(s);
                break;
            }
            default: {
                // A bitmap inside compressed data, as skin files hold them.
                TDecompressionStream z(s);
                b.LoadFromStream(z);
                break;
            }
        }
        if (!b.Empty()) {
            b.CheckingAlphaBlend();
            TteBitmap copy;
            copy.SetSize(8, 8);
            b.Draw(copy, TRect{0, 0, 8, 8});
        }
    } catch (const Exception&) {
    }
    return 0;
}
