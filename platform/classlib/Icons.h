#pragma once
// Icons of our own: small pictures held as 32-bit pixels whose alpha is
// their mask (0 outside the icon), drawn blended over what lies below.

#include <span>

#include "platform/classlib/Bitmaps.h"

namespace tarvel {

class TIcon : public TGraphic {
    TARVEL_CLASS(TIcon, TGraphic)

public:
    TIcon();

    // From another icon, from a bitmap (a transparent bitmap's key colour
    // becomes the mask; a pf32bit bitmap drawn with alpha keeps its alpha;
    // any other is opaque) or null (empty).
    void Assign(TPersistent* source) override;

    int Width() const override { return image_.Width(); }
    int Height() const override { return image_.Height(); }
    void SetWidth(int width) override { image_.SetSize(width, Height()); }
    void SetHeight(int height) override { image_.SetSize(Width(), height); }
    bool Empty() const override { return image_.Empty(); }

    // `argb` holds width * height pixels 0xAARRGGBB, top row first; a count
    // that does not match raises EInvalidGraphicOperation.
    void SetPixels(int width, int height, std::span<const uint32_t> argb);
    uint32_t Pixel(int x, int y) const;  // 0 outside the icon

    // At its own size, centred in `rect`.
    void DrawCentered(TCanvas& canvas, const TRect& rect);

    // As a 32-bit BMP with the alpha kept; a BMP of fewer bits reads opaque.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

protected:
    // Stretched into `rect`.
    void Draw(TCanvas& canvas, const TRect& rect) override;
    // To a TBitmap: a pf32bit bitmap drawn with alpha.
    void AssignTo(TPersistent* dest) override;

private:
    void UseAlpha();

    TBitmap image_;
};

}  // namespace tarvel
