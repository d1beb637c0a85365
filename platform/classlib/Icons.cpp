#include "platform/classlib/Icons.h"

#include <cstring>

namespace tarvel {

namespace {
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColourBits = 0x00FFFFFFu;
}  // namespace

TIcon::TIcon() {
    TGraphic::SetTransparent(true);
    UseAlpha();
}

void TIcon::UseAlpha() {
    image_.SetPixelFormat(pf32bit);
    image_.SetAlphaFormat(afDefined);
}

void TIcon::Assign(TPersistent* source) {
    if (auto* icon = dynamic_cast<TIcon*>(source)) {
        image_.Assign(&icon->image_);
        Changed();
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (source && !bitmap) return inherited::Assign(source);
    image_.Assign(bitmap);
    const bool keepAlpha = bitmap && bitmap->PixelFormat() == pf32bit && bitmap->AlphaFormat() == afDefined;
    if (!image_.Empty() && !keepAlpha) {
        const bool keyed = bitmap->Transparent();
        const uint32_t key = ColorRefToPixel(ColorToColorRef(bitmap->TransparentColor()));
        for (int y = 0; y < Height(); ++y) {
            uint32_t* row = image_.ScanLine(y);
            for (int x = 0; x < Width(); ++x) {
                const uint32_t colour = row[x] & kColourBits;
                row[x] = keyed && colour == key ? colour : colour | kOpaque;
            }
        }
    }
    image_.SetTransparent(false);
    UseAlpha();
    Changed();
}

void TIcon::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) return bitmap->Assign(&image_);
    inherited::AssignTo(dest);
}

void TIcon::SetPixels(int width, int height, std::span<const uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != size_t(width) * size_t(height))
        throw EInvalidGraphicOperation("Icon pixels do not match its size");
    image_.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(image_.ScanLine(y), argb.data() + size_t(y) * width, size_t(width) * 4);
    Changed();
}

uint32_t TIcon::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return image_.ScanLine(y)[x];
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) { canvas.StretchDraw(rect, &image_); }

void TIcon::DrawCentered(TCanvas& canvas, const TRect& rect) {
    canvas.Draw(rect.left + (rect.Width() - Width()) / 2, rect.top + (rect.Height() - Height()) / 2, &image_);
}

void TIcon::LoadFromStream(TStream& stream) {
    try {
        image_.LoadFromStream(stream);
    } catch (...) {
        UseAlpha();
        throw;
    }
    if (image_.PixelFormat() != pf32bit) {
        for (int y = 0; y < Height(); ++y) {
            uint32_t* row = image_.ScanLine(y);
            for (int x = 0; x < Width(); ++x) row[x] |= kOpaque;
        }
    }
    UseAlpha();
    Changed();
}

void TIcon::SaveToStream(TStream& stream) { image_.SaveToStream(stream); }

}  // namespace tarvel
