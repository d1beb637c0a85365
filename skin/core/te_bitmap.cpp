#include "skin/core/te_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Pictures.h"
#include "platform/system/ResourceModule.h"
#include "skin/core/te_bitmap_links.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"

namespace tarvel {

bool EnableDibOperation = true;

namespace {

// Every bitmap that owns a DC, by that DC.
std::unordered_map<HDC, TteBitmap*>& LiveBitmaps() {
    static std::unordered_map<HDC, TteBitmap*> live;
    return live;
}

// Far beyond any skin picture; keeps a claimed size from a stream whose
// length is unknown within reach of memory.
constexpr int64_t kMaxStreamPixels = int64_t{1} << 26;

}  // namespace

TteBitmap* FindLiveBitmap(HDC dc) {
    if (!dc) return nullptr;
    auto it = LiveBitmaps().find(dc);
    return it == LiveBitmaps().end() ? nullptr : it->second;
}

TteBitmap& ScratchBitmap(TScratch use, int width, int height) {
    // Never freed: the drawing layer's handles may be gone by the time
    // static objects are destroyed.
    static TteBitmap* const kept[] = {new TteBitmap, new TteBitmap};
    TteBitmap& b = *kept[static_cast<int>(use)];
    if (width > b.Width() || height > b.Height())
        b.SetSize(std::max(width, b.Width()), std::max(height, b.Height()));
    return b;
}

TteBitmap::TteBitmap() = default;

TteBitmap::~TteBitmap() { ReleaseSurface(); }

void TteBitmap::ReleaseSurface() {
    if (canvas_) canvas_->SetHandle(nullptr);
    if (dc_) {
        LiveBitmaps().erase(dc_);
        DeleteDC(dc_);
    }
    if (handle_) DeleteObject(handle_);
    dc_ = nullptr;
    handle_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void TteBitmap::SetSize(int width, int height) {
    const int64_t w = std::llabs(static_cast<int64_t>(width));
    const int64_t h = std::llabs(static_cast<int64_t>(height));
    if (w == 0 || h == 0 || (w == width_ && h == height_)) return;
    ReleaseSurface();
    if (w > INT32_MAX || h > INT32_MAX) throw Exception(SCantAllocateDib);

    BITMAPINFO info;
    info.bmiHeader.biWidth = static_cast<int32_t>(w);
    info.bmiHeader.biHeight = -static_cast<int32_t>(h);
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle || !bits) {
        if (handle) DeleteObject(handle);
        throw Exception(SCantAllocateDib);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(handle);
        throw Exception(SCantCreateDC);
    }
    if (!SelectObject(dc, handle)) {
        DeleteDC(dc);
        DeleteObject(handle);
        throw Exception(SCantSelectObject);
    }
    handle_ = handle;
    dc_ = dc;
    bits_ = static_cast<uint32_t*>(bits);
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    LiveBitmaps()[dc_] = this;
    if (canvas_) canvas_->SetHandle(dc_);
}

TCanvas* TteBitmap::GetCanvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        if (dc_) canvas_->SetHandle(dc_);
    }
    return canvas_.get();
}

uint32_t TteBitmap::GetPixel(int x, int y) const { return Contains(x, y) ? GetScanLine(y)[x] : 0; }

void TteBitmap::SetPixel(int x, int y, uint32_t colour) {
    if (Contains(x, y)) GetScanLine(y)[x] = colour;
}

void TteBitmap::Clear(uint32_t colour) {
    if (!Empty()) FillLongwordFunc(bits_, width_ * height_, colour);
}

void TteBitmap::SetAlpha(uint8_t alpha) {
    if (!Empty()) FillAlphaFunc(bits_, width_ * height_, alpha);
}

void TteBitmap::SetAlpha(uint8_t alpha, const TRect& rect) {
    const TRect r = Intersect(rect, BoundsRect());
    if (Empty() || r.IsEmpty()) return;
    FillAlphaRectFunc(bits_, width_, height_, r.left, r.top, r.right - 1, r.bottom - 1, alpha);
}

void TteBitmap::FillRect(const TRect& rect, uint32_t colour) {
    const TRect r = Intersect(rect, BoundsRect());
    if (Empty() || r.IsEmpty()) return;
    if (AlphaBlend) {
        std::vector<uint32_t> row(static_cast<size_t>(r.Width()), colour);
        for (int y = r.top; y < r.bottom; ++y)
            LineAlphaBlendFunc(row.data(), GetScanLine(y) + r.left, r.Width());
    } else {
        FillLongwordRectFunc(bits_, width_, height_, r.left, r.top, r.right - 1, r.bottom - 1, colour);
    }
}

void TteBitmap::FlipHorz() {
    if (Empty()) return;
    std::vector<uint32_t> row(static_cast<size_t>(width_));
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
        MoveLongwordFunc(GetScanLine(top), row.data(), width_);
        MoveLongwordFunc(GetScanLine(bottom), GetScanLine(top), width_);
        MoveLongwordFunc(row.data(), GetScanLine(bottom), width_);
    }
}

void TteBitmap::CheckingAlphaBlend() {
    AlphaBlend = false;
    if (Empty()) return;
    const int64_t n = static_cast<int64_t>(width_) * height_;
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t a = bits_[i] >> 24;
        if (a != 0 && a != 255) {
            AlphaBlend = true;
            return;
        }
    }
}

void TteBitmap::CheckingTransparent(uint32_t colour) {
    Transparent = false;
    if (Empty()) return;
    auto near = [](int a, int b) { return std::abs(a - b) <= 5; };
    const int64_t n = static_cast<int64_t>(width_) * height_;
    for (int64_t i = 0; i < n; ++i) {
        const uint32_t p = bits_[i];
        if (near(RedOf(p), RedOf(colour)) && near(GreenOf(p), GreenOf(colour)) &&
            near(BlueOf(p), BlueOf(colour))) {
            bits_[i] = teKeyColor;
            Transparent = true;
        }
    }
}

void TteBitmap::Recolour(TRecolour how, int amount) {
    if (!Empty()) RecolourPixels(bits_, static_cast<int64_t>(width_) * height_, how, amount);
}

void TteBitmap::ChangeBitmapBrightness(int amount) {
    if (amount != 0) Recolour(TRecolour::Brightness, amount);
}
void TteBitmap::ChangeBitmapSat(int amount) {
    if (amount != 0) Recolour(TRecolour::Sat, amount);
}
void TteBitmap::ChangeBitmapHue(int amount) {
    if (amount != 0) Recolour(TRecolour::Hue, amount);
}
void TteBitmap::SetBitmapHue(int hue) { Recolour(TRecolour::SetHue, hue); }

// ---------------------------------------------------------------------------
// Streams

void TteBitmap::SaveToStream(TStream& stream) const {
    WriteString(stream, Name);
    WriteInt32(stream, width_);
    WriteInt32(stream, height_);
    if (!Empty()) stream.WriteBuffer(bits_, static_cast<int64_t>(width_) * height_ * 4);
}

void TteBitmap::LoadFromStream(TStream& stream) {
    try {
        String name = ReadString(stream);
        const int32_t w = ReadInt32(stream);
        const int32_t h = ReadInt32(stream);
        const int64_t rows = std::llabs(static_cast<int64_t>(h));
        if (w == 0 && h == 0) {  // how an empty bitmap is written
            ReleaseSurface();
            Name = std::move(name);
            return;
        }
        if (w <= 0 || h == 0) throw EReadError(SBitmapStreamError);
        const int64_t pixels = static_cast<int64_t>(w) * rows;
        const int64_t left = StreamBytesLeft(stream);
        if (pixels > (left >= 0 ? left / 4 : kMaxStreamPixels)) throw EReadError(SBitmapStreamError);
        const int64_t bytes = pixels * 4;
        if (left >= 0) {
            SetSize(w, static_cast<int>(rows));
            stream.ReadBuffer(bits_, bytes);
        } else {
            const std::vector<uint8_t> data = ReadBoundedBytes(stream, bytes);
            SetSize(w, static_cast<int>(rows));
            std::memcpy(bits_, data.data(), static_cast<size_t>(bytes));
        }
        Name = std::move(name);
        if (h < 0) FlipHorz();
    } catch (...) {
        ReleaseSurface();
        throw;
    }
}

// ---------------------------------------------------------------------------
// Copies

void TteBitmap::Assign(TPersistent* source) {
    if (auto* src = dynamic_cast<TteBitmap*>(source)) {
        if (src == this) return;
        if (src->Empty()) {
            ReleaseSurface();
        } else {
            SetSize(src->Width(), src->Height());
            std::memcpy(bits_, src->Bits(), static_cast<size_t>(width_) * height_ * 4);
        }
        Name = src->Name;
        Transparent = src->Transparent;
        AlphaBlend = src->AlphaBlend;
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        AssignBitmap(*bitmap, bitmap->PixelFormat() == pf32bit);
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (auto* held = dynamic_cast<TBitmap*>(picture->Graphic())) {
            AssignBitmap(*held, false);
            return;
        }
        source = picture->Graphic();
        if (!source) {
            ReleaseSurface();
            return;
        }
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        if (graphic->Empty()) {
            ReleaseSurface();
            return;
        }
        SetSize(graphic->Width(), graphic->Height());
        DrawGraphic(graphic, BoundsRect());
        SetAlpha(255);
        return;
    }
    inherited::Assign(source);
}

void TteBitmap::AssignBitmap(TBitmap& bitmap, bool keepAlpha) {
    if (bitmap.Empty()) {
        ReleaseSurface();
        return;
    }
    SetSize(bitmap.Width(), bitmap.Height());
    if (keepAlpha) {
        for (int y = 0; y < height_; ++y) MoveLongwordFunc(bitmap.ScanLine(y), GetScanLine(y), width_);
        CheckingAlphaBlend();
        return;
    }
    BitBlt(dc_, 0, 0, width_, height_, bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    SetAlpha(255);
}

void TteBitmap::DrawGraphic(TGraphic* graphic, const TRect& rect) {
    if (!graphic || Empty()) return;
    TBitmap scratch(width_, height_);
    scratch.SetPixelFormat(pf32bit);
    TCanvas* c = scratch.Canvas();
    c->Brush()->SetColor(RGB(255, 0, 255));
    c->Rectangle(-1, -1, width_ + 1, height_ + 1);
    c->StretchDraw(rect, graphic);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = scratch.ScanLine(y);
        for (int x = 0; x < width_; ++x)
            if ((row[x] & 0x00FFFFFFu) != 0x00FF00FFu) SetPixel(x, y, row[x]);
    }
}

void TteBitmap::LoadFromResource(const String& fileName, const String& resName) {
    ResourceModule module;
    if (module.Open(fileName)) LoadFromResource(module, resName);
}

void TteBitmap::LoadFromResource(const ResourceModule& module, const String& resName) {
    const std::optional<std::vector<uint8_t>> dib = module.FindResource(RT_BITMAP, resName);
    if (!dib) return;
    try {
        // A 32-bit resource reads as a pf32bit bitmap, whose alpha Assign keeps.
        TBitmap bitmap;
        LoadBitmapFromDib(bitmap, dib->data(), dib->size());
        Assign(&bitmap);
    } catch (const Exception&) {
        // Only sizing can fail once the pixels are read; it leaves the bitmap empty.
    }
}

void TteBitmap::AssignTo(TPersistent* dest) {
    if (auto* clipboard = dynamic_cast<TClipboard*>(dest)) {
        TBitmap bitmap;
        AssignTo(&bitmap);
        clipboard->Assign(&bitmap);
        return;
    }
    TBitmap* bitmap = dynamic_cast<TBitmap*>(dest);
    if (auto* picture = dynamic_cast<TPicture*>(dest)) bitmap = picture->Bitmap();
    if (!bitmap) return inherited::AssignTo(dest);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width_, height_);
    if (!Empty()) Draw(bitmap->Canvas()->Handle(), 0, 0);
}

TteBitmapLink* TteBitmap::GetBitmapLink(const TRect& rect) {
    auto* link = new TteBitmapLink;
    link->Name = Name;
    link->Bitmap = this;
    link->SetRect(rect);
    return link;
}

TteBitmapLink* TteBitmap::GetBitmapLink(const String& rectText) {
    return GetBitmapLink(StringToRect(rectText));
}

// ---------------------------------------------------------------------------
// Drawing

TDrawMode TteBitmap::DrawMode() const {
    if (AlphaBlend) return TDrawMode::AlphaBlend;
    if (Transparent) return TDrawMode::Transparent;
    return TDrawMode::Opaque;
}

namespace {

TRect MovedByOrigin(HDC dc, TRect r) {
    TPoint origin;
    if (GetWindowOrgEx(dc, &origin)) r.Offset(-origin.x, -origin.y);
    return r;
}

void DrawOntoDevice(const TteBitmap& bitmap, HDC dc, const TRect& d, const TRect& s) {
    using Routine = void (*)(HDC, int, int, int, int, const TteBitmap&, int, int, int, int);
    static constexpr Routine kRoutines[] = {&StretchToDCOpaqueFunc, &StretchToDCAlphaBlendFunc,
                                            &StretchToDCTransparentFunc};
    kRoutines[static_cast<int>(bitmap.DrawMode())](dc, d.left, d.top, d.Width(), d.Height(), bitmap, s.left,
                                                   s.top, s.Width(), s.Height());
}

}  // namespace

void TteBitmap::Draw(HDC dc, int x, int y) const { Draw(dc, x, y, BoundsRect()); }

void TteBitmap::Draw(HDC dc, int x, int y, const TRect& srcRect) const {
    Draw(dc, TRect{x, y, x + srcRect.Width(), y + srcRect.Height()}, srcRect);
}

void TteBitmap::Draw(HDC dc, const TRect& dstRect) const { Draw(dc, dstRect, BoundsRect()); }

void TteBitmap::Draw(HDC dc, const TRect& dstRect, const TRect& srcRect) const {
    if (Empty() || !dc) return;
    if (TteBitmap* target = FindLiveBitmap(dc)) {
        Draw(*target, MovedByOrigin(dc, dstRect), srcRect);
        return;
    }
    DrawOntoDevice(*this, dc, dstRect, srcRect);
}

void TteBitmap::Draw(TteBitmap& target, int x, int y) const { Draw(target, x, y, BoundsRect()); }

void TteBitmap::Draw(TteBitmap& target, int x, int y, const TRect& srcRect) const {
    Draw(target, TRect{x, y, x + srcRect.Width(), y + srcRect.Height()}, srcRect);
}

void TteBitmap::Draw(TteBitmap& target, const TRect& dstRect) const { Draw(target, dstRect, BoundsRect()); }

void TteBitmap::Draw(TteBitmap& target, const TRect& dstRect, const TRect& srcRect) const {
    if (Empty() || target.Empty()) return;
    StretchPixels(RowsOf(target), dstRect, dstRect, RowsOf(*this), srcRect, DrawMode(),
                  TMapRounding::Truncate);
}

void TteBitmap::Tile(TteBitmap& target, const TRect& dstRect, const TRect& srcRect) const {
    if (Empty() || target.Empty()) return;
    TilePixels(RowsOf(target), dstRect, dstRect, RowsOf(*this), srcRect, DrawMode());
}

void TteBitmap::Tile(HDC dc, const TRect& dstRect, const TRect& srcRect) const {
    if (Empty() || !dc) return;
    // Only the part the clip leaves visible is drawn: a parent's face tiled
    // behind one small child is mostly hidden, and a small pattern over a
    // large face is thousands of cells.
    TRect clip;
    const int complexity = GetClipBox(dc, &clip);
    if (complexity == NULLREGION) return;
    const TRect area = complexity == RGN_ERROR ? dstRect : Intersect(dstRect, clip);
    if (area.IsEmpty()) return;
    TPoint origin;
    if (!GetWindowOrgEx(dc, &origin)) origin = TPoint{0, 0};
    auto tileInto = [&](const TPixelRows& rows, TPoint at) {
        TRect d = dstRect, within = area;
        d.Offset(-at.x, -at.y);
        within.Offset(-at.x, -at.y);
        TilePixels(rows, d, within, RowsOf(*this), srcRect, DrawMode());
    };
    if (TteBitmap* target = FindLiveBitmap(dc)) {
        if (!target->Empty()) tileInto(RowsOf(*target), origin);
        return;
    }
    int w = 0, h = 0, bitCount = 0;
    uint32_t* bits = EnableDibOperation ? GetBitsFromDCFunc(dc, w, h, bitCount) : nullptr;
    if (bits && bitCount == 32 && h > 0) {
        tileInto(TPixelRows{bits, w, h, true}, origin);
        return;
    }
    // On a device the visible part makes one round trip through memory.
    const int aw = area.Width(), ah = area.Height();
    TteBitmap& temp = ScratchBitmap(TScratch::Compose, aw, ah);
    BitBlt(temp.DC(), 0, 0, aw, ah, dc, area.left, area.top, SRCCOPY);
    tileInto(RowsOf(temp), TPoint{area.left, area.top});
    BitBlt(dc, area.left, area.top, aw, ah, temp.DC(), 0, 0, SRCCOPY);
}

namespace {
bool CellMeets(const TRect& cell, const TRect& clip) {
    return clip.IsEmpty() || !Intersect(cell, clip).IsEmpty();
}
}  // namespace

void TteBitmap::TileClip(HDC dc, const TRect& dstRect, const TRect& clipRect, const TRect& srcRect) const {
    ForEachTileCell(dstRect, srcRect, [&](const TTileCell& c) {
        if (CellMeets(c.dst, clipRect)) Draw(dc, c.dst, c.src);
    });
}

void TteBitmap::TileClip(TteBitmap& target, const TRect& dstRect, const TRect& clipRect,
                         const TRect& srcRect) const {
    ForEachTileCell(dstRect, srcRect, [&](const TTileCell& c) {
        if (CellMeets(c.dst, clipRect)) Draw(target, c.dst, c.src);
    });
}

void TteBitmap::MergeDraw(const TteBitmap& source, int x, int y, const TRect& srcRect) {
    if (Empty() || source.Empty()) return;
    const TRect s = Intersect(srcRect, source.BoundsRect());
    for (int sy = s.top; sy < s.bottom; ++sy) {
        const int ty = y + sy - s.top;
        if (ty < 0 || ty >= height_) continue;
        for (int sx = s.left; sx < s.right; ++sx) {
            const int tx = x + sx - s.left;
            if (tx < 0 || tx >= width_) continue;
            uint32_t& p = GetScanLine(ty)[tx];
            const uint32_t a = p >> 24;
            if (a == 0)
                p = source.GetScanLine(sy)[sx];
            else if (a != 255)
                p = PixelAlphaBlendFunc(p, source.GetScanLine(sy)[sx]);
        }
    }
}

}  // namespace tarvel
