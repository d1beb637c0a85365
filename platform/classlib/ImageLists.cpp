#include "platform/classlib/ImageLists.h"

#include <algorithm>
#include <cstring>

namespace tarvel {

namespace {
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr uint32_t kWhite = 0x00FFFFFFu;

uint32_t OpaquePixel(TColor color) { return ColorRefToPixel(ColorToColorRef(color)) | kOpaque; }
}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

void TCustomImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TCustomImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    images_.clear();
    Changed();
}

// The list-sized cell of `bitmap` starting at column `left`; what lies past
// the bitmap is transparent.
TCustomImageList::Image TCustomImageList::Cut(TBitmap& bitmap, int left, uint32_t key, bool keyed) const {
    Image image(size_t(width_) * size_t(height_), 0);
    const int w = std::min(width_, bitmap.Width() - left);
    const int h = std::min(height_, bitmap.Height());
    for (int y = 0; y < h; ++y) {
        const uint32_t* in = bitmap.ScanLine(y) + left;
        uint32_t* out = image.data() + size_t(y) * width_;
        for (int x = 0; x < w; ++x) {
            const uint32_t colour = in[x] & kColourBits;
            out[x] = keyed && masked_ && colour == key ? colour : colour | kOpaque;
        }
    }
    return image;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    Image pixels = Cut(*image, 0, 0, false);
    if (mask && !mask->Empty() && masked_) {
        const int w = std::min(width_, mask->Width());
        const int h = std::min(height_, mask->Height());
        for (int y = 0; y < h; ++y) {
            const uint32_t* m = mask->ScanLine(y);
            for (int x = 0; x < w; ++x)
                if (m[x] & kColourBits) pixels[size_t(y) * width_ + x] &= kColourBits;
        }
    }
    images_.push_back(std::move(pixels));
    Changed();
    return Count() - 1;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    const TColor keyColor = maskColor == clDefault ? image->TransparentColor() : maskColor;
    const uint32_t key = ColorRefToPixel(ColorToColorRef(keyColor));
    const int first = Count();
    const int cells = std::max(1, image->Width() / width_);
    for (int i = 0; i < cells; ++i) images_.push_back(Cut(*image, i * width_, key, true));
    Changed();
    return first;
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    images_.erase(images_.begin() + index);
    Changed();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Changed();
}

void TCustomImageList::DrawPixels(TCanvas* canvas, int x, int y, const Image& pixels) {
    TBitmap bitmap(width_, height_);
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetAlphaFormat(afDefined);
    for (int row = 0; row < height_; ++row)
        std::memcpy(bitmap.ScanLine(row), pixels.data() + size_t(row) * width_, size_t(width_) * 4);
    canvas->Draw(x, y, &bitmap);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || index < 0 || index >= Count()) return;
    const Image& image = images_[size_t(index)];
    if (enabled) {
        if (bkColor_ == clNone || drawingStyle_ == dsTransparent) return DrawPixels(canvas, x, y, image);
        Image backed = image;
        const uint32_t back = OpaquePixel(bkColor_);
        for (uint32_t& p : backed)
            if ((p & kOpaque) == 0) p = back;
        return DrawPixels(canvas, x, y, backed);
    }
    auto shape = [&image](TColor color) {
        Image out(image.size(), 0);
        const uint32_t ink = OpaquePixel(color);
        for (size_t i = 0; i < image.size(); ++i)
            if ((image[i] & kOpaque) != 0 && (image[i] & kColourBits) != kWhite) out[i] = ink;
        return out;
    };
    DrawPixels(canvas, x + 1, y + 1, shape(clBtnHighlight));
    DrawPixels(canvas, x, y, shape(clBtnShadow));
}

}  // namespace tarvel
