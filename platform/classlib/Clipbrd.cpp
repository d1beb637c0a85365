#include "platform/classlib/Clipbrd.h"

#include <algorithm>
#include <cstring>

#include "platform/base/LittleEndian.h"
#include "platform/classlib/Pictures.h"
#include "platform/classlib/Streams.h"

namespace tarvel {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint64_t kCoreHeaderSize = 12;
constexpr uint64_t kInfoHeaderSize = 40;
constexpr uint32_t kBiBitFields = 3;

[[noreturn]] void InvalidDib() { throw EInvalidGraphic("Bitmap image is not valid"); }

// Where the pixels of a packed DIB start: after the header, the bit masks
// of a 40-byte header with bit fields, and the colour table.
uint64_t PixelOffset(const uint8_t* dib, uint64_t size) {
    if (size < 4) InvalidDib();
    const uint64_t header = LoadLe32(dib);
    if (header < kCoreHeaderSize || header > size) InvalidDib();
    if (header == kCoreHeaderSize) {
        const uint16_t bits = LoadLe16(dib + 10);
        return header + (bits <= 8 ? (uint64_t{1} << bits) * 3 : 0);
    }
    if (header < kInfoHeaderSize) InvalidDib();
    const uint16_t bits = LoadLe16(dib + 14);
    const uint64_t compression = LoadLe32(dib + 16);
    const uint64_t used = LoadLe32(dib + 32);
    const uint64_t masks = compression == kBiBitFields && header == kInfoHeaderSize ? 12 : 0;
    const uint64_t colours = used ? used : (bits <= 8 ? uint64_t{1} << bits : 0);
    return header + masks + colours * 4;
}

}  // namespace

std::vector<uint8_t> BitmapToDib(TBitmap& bitmap) {
    if (bitmap.Empty()) return {};
    TMemoryStream file;
    bitmap.SaveToStream(file);
    if (file.Size() <= static_cast<int64_t>(kFileHeaderSize)) return {};
    return std::vector<uint8_t>(file.Memory() + kFileHeaderSize, file.Memory() + file.Size());
}

void LoadBitmapFromDib(TBitmap& bitmap, const uint8_t* dib, size_t size) {
    const uint64_t pixels = PixelOffset(dib, size);
    // The BMP reader checks the rest against the bytes there are.
    if (pixels > size || size > UINT32_MAX - kFileHeaderSize) InvalidDib();
    TMemoryStream file;
    file.SetSize(static_cast<int64_t>(kFileHeaderSize + size));
    uint8_t* p = file.Memory();
    p[0] = 'B';
    p[1] = 'M';
    StoreLe32(p + 2, static_cast<uint32_t>(kFileHeaderSize + size));
    StoreLe32(p + 10, static_cast<uint32_t>(kFileHeaderSize + pixels));
    std::memcpy(p + kFileHeaderSize, dib, size);
    TBitmap loaded;
    loaded.LoadFromStream(file);
    bitmap.Assign(&loaded);
}

String TClipboard::AsText() const { return GetClipboardText(); }

void TClipboard::SetAsText(const String& text) { SetClipboardText(text); }

bool TClipboard::HasFormat(UINT format) const { return IsClipboardFormatAvailable(format); }

void TClipboard::Assign(TPersistent* source) {
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (!picture->Graphic()) return SetAsText(String());
        source = picture->Graphic();
    }
    auto* graphic = dynamic_cast<TGraphic*>(source);
    if (!graphic) return inherited::Assign(source);
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    TBitmap drawn;
    if (!bitmap) {
        drawn.Assign(graphic);
        bitmap = &drawn;
    }
    std::vector<uint8_t> dib = BitmapToDib(*bitmap);
    if (dib.empty()) return SetAsText(String());
    // A copy of the pixels, opaque, for the other programs' formats.
    std::shared_ptr<Surface> pixels;
    if (std::shared_ptr<Surface> drawn = GetBitmapSurface(bitmap->Handle()); drawn && drawn->Valid()) {
        pixels = std::make_shared<Surface>(drawn->Width(), drawn->Height());
        if (pixels->Valid())
            for (int y = 0; y < drawn->Height(); ++y)
                for (int x = 0; x < drawn->Width(); ++x)
                    pixels->SetPixel(x, y, drawn->Pixel(x, y) | 0xFF000000u);
        else
            pixels.reset();
    }
    SetClipboardDib(std::move(dib), std::move(pixels));
}

void TClipboard::AssignTo(TPersistent* dest) {
    auto* picture = dynamic_cast<TPicture*>(dest);
    if (!picture && !dynamic_cast<TBitmap*>(dest)) return inherited::AssignTo(dest);
    const std::vector<uint8_t> dib = GetClipboardDib();
    if (dib.empty()) return inherited::AssignTo(dest);
    TBitmap loaded;
    LoadBitmapFromDib(loaded, dib.data(), dib.size());
    if (picture)
        picture->Bitmap()->Assign(&loaded);
    else
        dest->Assign(&loaded);
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

}  // namespace tarvel
