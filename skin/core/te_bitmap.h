#pragma once
// TteBitmap: the skin library's image and drawing surface, a 32-bit top-down
// DIB section with straight alpha in every pixel (0xAARRGGBB), selected into
// a memory DC of its own. It decides per bitmap how it is drawn (opaque, key
// colour 0x007F007F left out, or alpha-blended) and composes in memory when
// the target DC belongs to another TteBitmap.

#include <cstdint>
#include <memory>

#include "platform/classlib/Graphics.h"
#include "platform/classlib/Persistent.h"
#include "platform/classlib/Streams.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap_colors.h"
#include "skin/core/te_bitmap_pixels.h"

namespace tarvel {

class ResourceModule;
class TteBitmapLink;

class TteBitmap : public TPersistent {
    TARVEL_CLASS(TteBitmap, TPersistent)

public:
    TteBitmap();
    ~TteBitmap() override;

    // Absolute values are taken; a zero side or the current size changes
    // nothing. New pixels are zero. Raises Exception with the library's
    // DIB texts when the system cannot give the memory; the bitmap is then empty.
    void SetSize(int width, int height);
    bool Empty() const { return bits_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    uint32_t* Bits() { return bits_; }
    const uint32_t* Bits() const { return bits_; }
    uint32_t* GetScanLine(int y) { return bits_ + static_cast<int64_t>(y) * width_; }
    const uint32_t* GetScanLine(int y) const { return bits_ + static_cast<int64_t>(y) * width_; }
    uint32_t* GetPixelPtr(int x, int y) { return GetScanLine(y) + x; }
    // 0 outside the bitmap; SetPixel outside is ignored.
    uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t colour);
    bool Contains(int x, int y) const { return bits_ && x >= 0 && y >= 0 && x < width_ && y < height_; }
    TRect BoundsRect() const { return TRect{0, 0, width_, height_}; }

    HDC DC() const { return dc_; }
    HBITMAP Handle() const { return handle_; }
    // A canvas on the bitmap's DC, made on first use and kept across resizes.
    TCanvas* GetCanvas();

    void Clear(uint32_t colour);
    void SetAlpha(uint8_t alpha);
    void SetAlpha(uint8_t alpha, const TRect& rect);
    // With AlphaBlend set, colour is blended by its own alpha; else written.
    void FillRect(const TRect& rect, uint32_t colour);
    // Reverses the order of the rows.
    void FlipHorz();

    void CheckingAlphaBlend();
    // Pixels within 5 of colour on each of red, green and blue become the key colour.
    void CheckingTransparent(uint32_t colour);

    void ChangeBitmapBrightness(int amount);
    void ChangeBitmapSat(int amount);
    void ChangeBitmapHue(int amount);
    void SetBitmapHue(int hue);

    // Name, width, height, then the pixels top row first; the flags are not
    // stored. A malformed stream raises EReadError and leaves the bitmap
    // empty; nothing is allocated beyond what the stream holds.
    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);
    // An 8-bit ZSoft PCX picture; a malformed one loads nothing and raises EReadError.
    void LoadFromPcxStream(TStream& stream);
    // The bitmap resource resName ("#12" for a number) of a resource-only
    // module file; 32-bit pictures keep their alpha, others come opaque. A
    // missing module or resource, or a malformed one, leaves the bitmap as it
    // was and raises nothing.
    void LoadFromResource(const String& fileName, const String& resName);
    // The same from a module already open, for callers that load many.
    void LoadFromResource(const ResourceModule& module, const String& resName);

    // From a TteBitmap, a TBitmap (a 32-bit one keeps its alpha), a TPicture
    // or any other TGraphic (drawn, then opaque).
    void Assign(TPersistent* source) override;
    // Draws a graphic into rect; its background (pure fuchsia) is left out.
    void DrawGraphic(TGraphic* graphic, const TRect& rect);

    // The caller owns the link.
    TteBitmapLink* GetBitmapLink(const TRect& rect);
    TteBitmapLink* GetBitmapLink(const String& rectText);

    // Drawing this bitmap. Every form comes down to Draw(target, dstRect, srcRect).
    void Draw(HDC dc, int x, int y) const;
    void Draw(HDC dc, int x, int y, const TRect& srcRect) const;
    void Draw(HDC dc, const TRect& dstRect) const;
    void Draw(HDC dc, const TRect& dstRect, const TRect& srcRect) const;
    void Draw(TCanvas& canvas, int x, int y) const { Draw(canvas.Handle(), x, y); }
    void Draw(TCanvas& canvas, int x, int y, const TRect& srcRect) const {
        Draw(canvas.Handle(), x, y, srcRect);
    }
    void Draw(TCanvas& canvas, const TRect& dstRect) const { Draw(canvas.Handle(), dstRect); }
    void Draw(TCanvas& canvas, const TRect& dstRect, const TRect& srcRect) const {
        Draw(canvas.Handle(), dstRect, srcRect);
    }
    void Draw(TteBitmap& target, int x, int y) const;
    void Draw(TteBitmap& target, int x, int y, const TRect& srcRect) const;
    void Draw(TteBitmap& target, const TRect& dstRect) const;
    void Draw(TteBitmap& target, const TRect& dstRect, const TRect& srcRect) const;
    void Tile(HDC dc, const TRect& dstRect, const TRect& srcRect) const;
    void Tile(TteBitmap& target, const TRect& dstRect, const TRect& srcRect) const;
    void Tile(TCanvas& canvas, const TRect& dstRect, const TRect& srcRect) const {
        Tile(canvas.Handle(), dstRect, srcRect);
    }
    // Only cells that meet clipRect (or all, when it is empty) are drawn.
    void TileClip(HDC dc, const TRect& dstRect, const TRect& clipRect, const TRect& srcRect) const;
    void TileClip(TteBitmap& target, const TRect& dstRect, const TRect& clipRect, const TRect& srcRect) const;
    void TileClip(TCanvas& canvas, const TRect& dstRect, const TRect& clipRect, const TRect& srcRect) const {
        TileClip(canvas.Handle(), dstRect, clipRect, srcRect);
    }
    // Puts source's pixels under this bitmap's transparent and translucent ones.
    void MergeDraw(const TteBitmap& source, int x, int y, const TRect& srcRect);

    TDrawMode DrawMode() const;

    String Name;
    bool AlphaBlend = false;
    bool Transparent = false;

protected:
    // To a TBitmap (32-bit, drawn with this bitmap's flags), a TPicture's
    // bitmap, or the clipboard (through such a TBitmap).
    void AssignTo(TPersistent* dest) override;

private:
    void ReleaseSurface();
    void AssignBitmap(TBitmap& bitmap, bool keepAlpha);
    void Recolour(TRecolour how, int amount);

    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    HBITMAP handle_;
    HDC dc_;
    std::unique_ptr<TCanvas> canvas_;
};

// The bitmap whose DC is dc, or null: drawing onto it composes in memory.
TteBitmap* FindLiveBitmap(HDC dc);

// A bitmap of at least width x height kept for passing work, one for each
// use: it only grows, so that drawing allocates nothing once warm. Its pixels
// and flags are whatever the last user left.
enum class TScratch { Compose, Layer };
TteBitmap& ScratchBitmap(TScratch use, int width, int height);

// The cells that tile dstRect with srcRect-sized copies, column by column,
// each with the part of srcRect it takes.
struct TTileCell {
    TRect dst;
    TRect src;
};
template <class Visit>
void ForEachTileCell(const TRect& dstRect, const TRect& srcRect, Visit&& visit);
// The same for the cells that meet `within` alone, found without walking the others.
template <class Visit>
void ForEachTileCellWithin(const TRect& dstRect, const TRect& srcRect, const TRect& within, Visit&& visit);

// When false, tiling onto a DC never writes straight into its DIB section.
extern bool EnableDibOperation;

// ---- templates -----------------------------------------------------------

template <class Visit>
void ForEachTileCell(const TRect& dstRect, const TRect& srcRect, Visit&& visit) {
    const int tw = srcRect.Width(), th = srcRect.Height();
    if (tw <= 0 || th <= 0 || dstRect.IsEmpty()) return;
    for (int64_t x = dstRect.left; x < dstRect.right; x += tw) {
        for (int64_t y = dstRect.top; y < dstRect.bottom; y += th) {
            const TRect cell = Intersect(TRect{static_cast<int>(x), static_cast<int>(y),
                                               static_cast<int>(std::min<int64_t>(x + tw, dstRect.right)),
                                               static_cast<int>(std::min<int64_t>(y + th, dstRect.bottom))},
                                         dstRect);
            if (cell.IsEmpty()) break;
            visit(TTileCell{cell, TRect{srcRect.left, srcRect.top, srcRect.left + cell.Width(),
                                        srcRect.top + cell.Height()}});
        }
    }
}

template <class Visit>
void ForEachTileCellWithin(const TRect& dstRect, const TRect& srcRect, const TRect& within, Visit&& visit) {
    const int tw = srcRect.Width(), th = srcRect.Height();
    const TRect area = Intersect(dstRect, within);
    if (tw <= 0 || th <= 0 || area.IsEmpty()) return;
    // The first cell meeting the area, counted in whole cells from the rectangle's corner.
    const int64_t left = dstRect.left + (int64_t{area.left} - dstRect.left) / tw * tw;
    const int64_t top = dstRect.top + (int64_t{area.top} - dstRect.top) / th * th;
    for (int64_t x = left; x < area.right; x += tw) {
        for (int64_t y = top; y < area.bottom; y += th) {
            const TRect cell = Intersect(TRect{static_cast<int>(x), static_cast<int>(y),
                                               static_cast<int>(std::min<int64_t>(x + tw, dstRect.right)),
                                               static_cast<int>(std::min<int64_t>(y + th, dstRect.bottom))},
                                         dstRect);
            visit(TTileCell{cell, TRect{srcRect.left, srcRect.top, srcRect.left + cell.Width(),
                                        srcRect.top + cell.Height()}});
        }
    }
}

}  // namespace tarvel
