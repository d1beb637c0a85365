// JPEG and PNG data as TPicture finds it in files. Nothing may crash or hang;
// a picture that decodes has a size within the limits and draws.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/classlib/JpegImage.h"
#include "platform/classlib/PngImage.h"

using namespace tarvel;

namespace {
template <class Graphic>
void Decode(const uint8_t* data, size_t size) {
    Graphic graphic;
    try {
        graphic.LoadFromMemory(data, size);
    } catch (const Exception&) {
        if (!graphic.Empty()) std::abort();
        return;
    }
    if (graphic.Width() > Graphic::kMaxSide || graphic.Height() > Graphic::kMaxSide) std::abort();
    TBitmap small(5, 4);
    small.Canvas()->StretchDraw(Rect(0, 0, 5, 4), &graphic);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Decode<TJPEGImage>(data, size);
    Decode<TPngImage>(data, size);
    return 0;
}
