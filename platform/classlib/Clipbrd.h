#pragma once
// The clipboard as the class library sees it: text, and bitmaps kept as
// packed DIBs by the window system. Also the conversions between a TBitmap
// and a packed DIB (info header, colours or masks, pixels; no file header),
// the form of clipboard bitmaps and of bitmap resources in modules.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Persistent.h"
#include "platform/winsys/SystemApi.h"

namespace tarvel {

class TClipboard : public TPersistent {
    TARVEL_CLASS(TClipboard, TPersistent)

public:
    String AsText() const;
    void SetAsText(const String& text);
    // CF_TEXT, CF_UNICODETEXT, CF_DIB or CF_BITMAP.
    bool HasFormat(UINT format) const;

    // A TBitmap, a TPicture or another graphic goes on the clipboard as a DIB
    // (32 bits with alpha for a pf32bit bitmap, else 24); an empty one, or an
    // empty picture, clears the clipboard. Other classes hand themselves over
    // through their AssignTo.
    void Assign(TPersistent* source) override;

protected:
    // The bitmap on the clipboard to a TBitmap or a TPicture. Without a bitmap
    // on the clipboard the class library's conversion error is raised.
    void AssignTo(TPersistent* dest) override;
};

// The one clipboard of the program.
TClipboard& Clipboard();

// Empty for an empty bitmap.
std::vector<uint8_t> BitmapToDib(TBitmap& bitmap);
// Reads a packed DIB through the BMP reader into `bitmap`. A malformed block
// raises EReadError or EInvalidGraphic and leaves `bitmap` as it was.
void LoadBitmapFromDib(TBitmap& bitmap, const uint8_t* dib, size_t size);

}  // namespace tarvel
