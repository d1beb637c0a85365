#pragma once
// The bitmap graphic: 32-bit pixels in a bottom-up DIB section of the
// drawing layer, a canvas on a memory DC that holds it, and BMP files.

#include <memory>

#include "platform/classlib/Graphics.h"
#include "platform/gdi/Surface.h"

namespace tarvel {

// The pixel format is what the bitmap stands for (and how a BMP file is
// written); the pixels themselves are always 32-bit 0xAARRGGBB.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
// tmAuto: the transparent colour is the bottom-left pixel's.
enum TTransparentMode { tmAuto, tmFixed };
// afDefined: the alpha byte of each pixel is drawn as its opacity.
enum TAlphaFormat { afIgnored, afDefined };

class TBitmap : public TGraphic {
    TARVEL_CLASS(TBitmap, TGraphic)

public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    // From another bitmap (pixels, alpha and settings) or null (empty); other
    // graphics hand themselves over through AssignTo.
    void Assign(TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    // Keeps the pixels that still fit; new ones are white. A side of 0 (or
    // less) empties the bitmap; an impossible size raises EOutOfMemory and
    // leaves it as it was.
    void SetSize(int width, int height);
    bool Empty() const override { return !surface_; }

    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat format);
    TBitmapHandleType HandleType() const { return bmDIB; }
    void SetHandleType(TBitmapHandleType) {}  // always a DIB section
    TAlphaFormat AlphaFormat() const { return alphaFormat_; }
    void SetAlphaFormat(TAlphaFormat format);

    // The DIB section, null while empty; the bitmap keeps it.
    HBITMAP Handle() const { return handle_; }
    // A canvas on a memory DC that holds this bitmap, made on first use.
    TCanvas* Canvas();

    // Row y counted from the top. Rows lie bottom-up in memory, so row y + 1
    // starts one row of Width() pixels below row y. Raises
    // EInvalidGraphicOperation "Scan line index out of range" for a y outside
    // the bitmap.
    uint32_t* ScanLine(int y);
    const uint32_t* ScanLine(int y) const;

    TColor TransparentColor() const;         // clDefault while empty in tmAuto
    void SetTransparentColor(TColor color);  // clDefault goes back to tmAuto
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // BMP files: 1, 4, 8, 24 and 32 bits per pixel are read (uncompressed);
    // a pf32bit bitmap is written with 32 bits, any other with 24. An empty
    // bitmap writes nothing, and a stream with nothing left reads as empty.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // Takes over ready pixels (a decoder's); null empties the bitmap.
    void SetPixels(std::shared_ptr<Surface> pixels, TPixelFormat format);
    // What Assign does, without copying the pixels: `source` is left empty.
    void TakeOver(TBitmap& source);

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;

private:
    class TBitmapCanvas;

    void Replace(std::shared_ptr<Surface> surface);
    // Source's settings with the given pixels.
    void AssignPixels(const TBitmap& source, std::shared_ptr<Surface> pixels);

    std::shared_ptr<Surface> surface_;  // bottom-up; null while empty
    HBITMAP handle_;
    std::unique_ptr<TBitmapCanvas> canvas_;
    TPixelFormat pixelFormat_ = pfDevice;
    TAlphaFormat alphaFormat_ = afIgnored;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
};

}  // namespace tarvel
