#pragma once
// JPEG pictures, decoded with libjpeg-turbo.

#include "platform/classlib/Pictures.h"

namespace tarvel {

class TJPEGImage : public TDecodedGraphic {
    TARVEL_CLASS(TJPEGImage, TDecodedGraphic)

public:
    // Pictures larger than this on either side are refused before decoding.
    static constexpr int kMaxSide = 16384;

protected:
    // Baseline and progressive, grey or colour, to pf24bit pixels. Damaged
    // data, a file cut short included, raises EInvalidGraphic "JPEG error #n".
    void Decode(const uint8_t* data, size_t size, TBitmap& into) override;
};

}  // namespace tarvel
