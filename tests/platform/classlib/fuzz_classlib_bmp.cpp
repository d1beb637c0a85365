// BMP files from disk and streams. Nothing may crash or read past the data;
// whatever reads must write and read back as the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/classlib/Bitmaps.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const Exception&) {
        if (!bitmap.Empty()) std::abort();
        return 0;
    }
    if (stream.Position() > stream.Size()) std::abort();
    if (bitmap.Empty()) return 0;

    TMemoryStream saved;
    bitmap.SaveToStream(saved);
    saved.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(saved);
    const uint32_t mask = bitmap.PixelFormat() == pf32bit ? 0xFFFFFFFFu : 0x00FFFFFFu;
    if (back.Width() != bitmap.Width() || back.Height() != bitmap.Height()) std::abort();
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((back.ScanLine(y)[x] & mask) != (bitmap.ScanLine(y)[x] & mask)) std::abort();

    TBitmap small(7, 5);
    small.Canvas()->StretchDraw(Rect(-1, -1, 6, 4), &bitmap);
    return 0;
}
