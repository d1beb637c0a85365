#include "platform/classlib/Bitmaps.h"

#include <algorithm>
#include <cstring>

#include "platform/classlib/BmpFiles.h"

namespace tarvel {

namespace {
constexpr uint32_t kNewPixel = 0x00FFFFFF;  // white, as drawing leaves it

// Every caller writes all the pixels at once.
std::shared_ptr<Surface> NewSurface(int width, int height) {
    auto surface = std::make_shared<Surface>(width, height, true, Surface::Fill::None);
    if (!surface->Valid()) throw EOutOfMemory();
    return surface;
}
}  // namespace

// The memory DC of a bitmap's canvas keeps the bitmap selected across size
// changes; the DC's own 1x1 bitmap goes back in while the bitmap is empty.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : owner_(owner) {}
    ~TBitmapCanvas() override {
        SetHandle(nullptr);
        if (!dc_) return;
        if (stock_) SelectObject(dc_, stock_);
        DeleteDC(dc_);
    }

    void Select(HBITMAP bitmap) {
        if (!dc_) return;
        if (bitmap) {
            const HBITMAP previous = SelectObject(dc_, bitmap);
            if (!stock_) stock_ = previous;
        } else if (stock_) {
            SelectObject(dc_, stock_);
        }
    }

protected:
    void CreateHandle() override {
        dc_ = CreateCompatibleDC(nullptr);
        Select(owner_.handle_);
        SetHandle(dc_);
    }

private:
    TBitmap& owner_;
    HDC dc_;
    HBITMAP stock_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();
    if (handle_) DeleteObject(handle_);
}

int TBitmap::Width() const { return surface_ ? surface_->Width() : 0; }

int TBitmap::Height() const { return surface_ ? surface_->Height() : 0; }

void TBitmap::Replace(std::shared_ptr<Surface> surface) {
    const HBITMAP old = handle_;
    surface_ = std::move(surface);
    handle_ = surface_ ? CreateBitmapFromSurface(surface_, true) : HBITMAP();
    if (canvas_) canvas_->Select(handle_);
    if (old) DeleteObject(old);
}

void TBitmap::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        if (Empty()) return;
        Replace(nullptr);
        Changed();
        return;
    }
    if (width == Width() && height == Height()) return;
    auto next = NewSurface(width, height);
    const int keepWidth = std::min(width, Width());
    for (int y = 0; y < height; ++y) {
        uint32_t* row = next->Row(y);
        const int kept = y < Height() ? keepWidth : 0;
        if (kept > 0) std::memcpy(row, surface_->Row(y), static_cast<size_t>(kept) * 4);
        std::fill(row + kept, row + width, kNewPixel);
    }
    Replace(std::move(next));
    Changed();
}

void TBitmap::SetPixels(std::shared_ptr<Surface> pixels, TPixelFormat format) {
    if (pixels && !pixels->Valid()) pixels = nullptr;
    if (pixels && !pixels->BottomUp()) {
        auto flipped = NewSurface(pixels->Width(), pixels->Height());
        for (int y = 0; y < pixels->Height(); ++y)
            std::memcpy(flipped->Row(y), pixels->Row(y), pixels->StrideBytes());
        pixels = std::move(flipped);
    }
    Replace(std::move(pixels));
    pixelFormat_ = format;
    Changed();
}

void TBitmap::Assign(TPersistent* source) {
    if (source == nullptr) {
        SetPixels(nullptr, pixelFormat_);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (!bitmap) return inherited::Assign(source);
    if (bitmap == this) return;
    std::shared_ptr<Surface> copy;
    if (bitmap->surface_) {
        copy = NewSurface(bitmap->Width(), bitmap->Height());
        std::memcpy(copy->Bits(), bitmap->surface_->Bits(),
                    bitmap->surface_->StrideBytes() * bitmap->Height());
    }
    AssignPixels(*bitmap, std::move(copy));
}

void TBitmap::TakeOver(TBitmap& source) {
    if (&source == this) return;
    std::shared_ptr<Surface> pixels = source.surface_;
    source.Replace(nullptr);
    AssignPixels(source, std::move(pixels));
}

void TBitmap::AssignPixels(const TBitmap& source, std::shared_ptr<Surface> pixels) {
    alphaFormat_ = source.alphaFormat_;
    transparentMode_ = source.transparentMode_;
    transparentColor_ = source.transparentColor_;
    TGraphic::SetTransparent(source.Transparent());
    SetPixels(std::move(pixels), source.pixelFormat_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pixelFormat_) return;
    pixelFormat_ = format;
    Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat format) {
    if (format == alphaFormat_) return;
    alphaFormat_ = format;
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

uint32_t* TBitmap::ScanLine(int y) {
    return const_cast<uint32_t*>(static_cast<const TBitmap*>(this)->ScanLine(y));
}

const uint32_t* TBitmap::ScanLine(int y) const {
    if (!surface_ || y < 0 || y >= Height()) throw EInvalidGraphicOperation("Scan line index out of range");
    return surface_->Row(y);
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (!surface_) return clDefault;
    return PixelToColorRef(surface_->Pixel(0, Height() - 1) & 0x00FFFFFFu);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    if (mode == tmAuto) transparentColor_ = clDefault;
    transparentMode_ = mode;
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
    if (!surface_) return;
    HDC dest = canvas.Handle();
    HDC src = Canvas()->Handle();
    const int w = Width(), h = Height();
    if (alphaFormat_ == afDefined && pixelFormat_ == pf32bit) {
        BLENDFUNCTION blend;
        blend.AlphaFormat = AC_SRC_ALPHA;
        AlphaBlend(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, w, h, blend);
    } else if (Transparent()) {
        TransparentBlt(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, w, h,
                       ColorToColorRef(TransparentColor()));
    } else {
        StretchBlt(dest, rect.left, rect.top, rect.Width(), rect.Height(), src, 0, 0, w, h,
                   canvas.CopyMode());
    }
}

void TBitmap::LoadFromStream(TStream& stream) {
    TPixelFormat format = pixelFormat_;
    std::shared_ptr<Surface> pixels;
    try {
        pixels = ReadBmp(stream, format);
    } catch (...) {
        SetPixels(nullptr, pixelFormat_);
        throw;
    }
    SetPixels(std::move(pixels), format);
}

void TBitmap::SaveToStream(TStream& stream) {
    if (surface_) WriteBmp(stream, *surface_, pixelFormat_ == pf32bit);
}

}  // namespace tarvel
