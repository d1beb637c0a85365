#include "platform/classlib/PngImage.h"

namespace tarvel {

void TPngImage::Decode(const uint8_t* data, size_t size, TBitmap& into) {
    PngPicture picture = DecodePng(data, size, kMaxSide);
    if (!picture.pixels) throw EInvalidGraphic("PNG error: " + picture.error);
    into.SetAlphaFormat(picture.alpha ? afDefined : afIgnored);
    into.SetPixels(std::move(picture.pixels), picture.alpha ? pf32bit : pf24bit);
    SetTransparent(picture.alpha);
}

}  // namespace tarvel
