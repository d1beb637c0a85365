#pragma once
// BMP files (a file header, an info header, a palette and rows of pixels),
// read into and written from 32-bit bottom-up surfaces.

#include <memory>

#include "platform/classlib/Bitmaps.h"

namespace tarvel {

// Reads one BMP file from the stream's position and leaves the stream after
// its pixels. Every size is checked against the stream before anything is
// read or reserved: a stream that ends early raises EReadError, headers we
// cannot take raise EInvalidGraphic "Bitmap image is not valid". A stream
// with nothing left answers null. `format` receives the file's pixel format.
std::shared_ptr<Surface> ReadBmp(TStream& stream, TPixelFormat& format);

// 24 bits per pixel, or 32 (the alpha byte kept) with `withAlpha`; bottom-up.
void WriteBmp(TStream& stream, const Surface& pixels, bool withAlpha);

}  // namespace tarvel
