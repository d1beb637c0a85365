#pragma once
// PNG pictures, decoded with libpng.

#include "platform/classlib/Pictures.h"

namespace tarvel {

class TPngImage : public TDecodedGraphic {
    TARVEL_CLASS(TPngImage, TDecodedGraphic)

public:
    static constexpr int kMaxSide = 16384;

protected:
    // Every colour type and depth, to pf24bit pixels, or pf32bit drawn with
    // their alpha when the picture has one. Damaged data raises
    // EInvalidGraphic "PNG error: ...".
    void Decode(const uint8_t* data, size_t size, TBitmap& into) override;
};

}  // namespace tarvel
