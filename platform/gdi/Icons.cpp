// Icons: small 32-bit pictures whose alpha is their mask, their copies and
// drawing, and the platform's standard icons.

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/gdi/Paint.h"
#include "platform/gdi/SystemIcons.h"

namespace tarvel {

namespace {

constexpr int kMaxIconSide = 256;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColourBits = 0x00FFFFFFu;

bool IconSized(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxIconSide && height <= kMaxIconSide;
}

HICON NewIcon(std::shared_ptr<Surface> image, bool isIcon, TPoint hotspot, bool stock = false) {
    auto icon = std::make_shared<IconObject>();
    icon->image = std::move(image);
    icon->isIcon = isIcon;
    icon->hotspot = hotspot;
    icon->stock = stock;
    return HICON(AddObject(icon));
}

bool AnyAlpha(const Surface& s) {
    for (int y = 0; y < s.Height(); ++y) {
        const uint32_t* row = s.Row(y);
        if (std::any_of(row, row + s.Width(), [](uint32_t p) { return (p & kOpaque) != 0; })) return true;
    }
    return false;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info) return nullptr;
    auto colour = FindBitmap(info->hbmColor);
    if (!colour || !colour->surface) return nullptr;
    const Surface& from = *colour->surface;
    if (!IconSized(from.Width(), from.Height())) return nullptr;
    auto image = std::make_shared<Surface>(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y) std::copy_n(from.Row(y), from.Width(), image->Row(y));
    // A picture drawn by GDI calls has no alpha at all: the mask says
    // what is transparent, and without one the whole picture shows.
    if (!AnyAlpha(from)) {
        std::shared_ptr<BitmapObject> mask = info->hbmMask ? FindBitmap(info->hbmMask) : nullptr;
        if (info->hbmMask && (!mask || !mask->surface || mask->surface->Width() < from.Width() ||
                              mask->surface->Height() < from.Height()))
            return nullptr;
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x) {
                const bool clear = mask && (mask->surface->Pixel(x, y) & kColourBits) != 0;
                image->SetPixel(x, y, clear ? 0 : (image->Pixel(x, y) | kOpaque));
            }
    }
    return NewIcon(std::move(image), info->fIcon,
                   TPoint{static_cast<int>(std::min<uint32_t>(info->xHotspot, kMaxIconSide)),
                          static_cast<int>(std::min<uint32_t>(info->yHotspot, kMaxIconSide))});
}

bool GetIconInfo(HICON icon, ICONINFO* info) {
    auto i = FindIcon(icon);
    if (!i || !info) return false;
    const Surface& image = *i->image;
    auto colour = std::make_shared<Surface>(image.Width(), image.Height());
    auto mask = std::make_shared<Surface>(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint32_t p = image.Pixel(x, y);
            colour->SetPixel(x, y, p);
            mask->SetPixel(x, y, (p & kOpaque) ? 0 : kColourBits);
        }
    *info = ICONINFO{};
    info->fIcon = i->isIcon;
    info->xHotspot = static_cast<uint32_t>(i->hotspot.x);
    info->yHotspot = static_cast<uint32_t>(i->hotspot.y);
    info->hbmColor = CreateBitmapFromSurface(colour);
    info->hbmMask = CreateBitmapFromSurface(mask);
    return true;
}

bool DestroyIcon(HICON icon) {
    auto i = FindIcon(icon);
    if (!i) return false;
    if (!i->stock) RemoveObject(icon.Value());
    return true;
}

HICON LoadIcon(int standardIcon) {
    static std::mutex mutex;
    static std::map<int, HICON> loaded;
    std::lock_guard<std::mutex> lock(mutex);
    if (const auto it = loaded.find(standardIcon); it != loaded.end()) return it->second;
    auto picture = SystemIconPicture(standardIcon);
    if (!picture) return nullptr;
    return loaded[standardIcon] = NewIcon(std::move(picture), true, TPoint{}, true);
}

HICON CopyImage(HICON icon, unsigned type, int cx, int cy, unsigned) {
    auto i = FindIcon(icon);
    if (!i || type != IMAGE_ICON || cx < 0 || cy < 0) return nullptr;
    const Surface& from = *i->image;
    const int width = cx ? cx : from.Width(), height = cy ? cy : from.Height();
    if (!IconSized(width, height)) return nullptr;
    auto image = std::make_shared<Surface>(width, height);
    // The source pixel under each new pixel's centre.
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>((int64_t{2} * y + 1) * from.Height() / (int64_t{2} * height));
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>((int64_t{2} * x + 1) * from.Width() / (int64_t{2} * width));
            image->SetPixel(x, y, from.Pixel(sx, sy));
        }
    }
    return NewIcon(std::move(image), i->isIcon, i->hotspot);
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, unsigned, HBRUSH flickerFree,
                unsigned flags) {
    auto i = FindIcon(icon);
    if (!i || !FindDc(dc) || cx < 0 || cy < 0 || !(flags & DI_NORMAL)) return false;
    const int width = cx ? cx : i->image->Width(), height = cy ? cy : i->image->Height();
    if (flickerFree) {
        const TRect box{x, y, static_cast<int>(std::min<int64_t>(int64_t{x} + width, INT32_MAX)),
                        static_cast<int>(std::min<int64_t>(int64_t{y} + height, INT32_MAX))};
        if (!FillRect(dc, box, flickerFree)) return false;
    }
    const ImageDraw how = (flags & DI_NORMAL) == DI_NORMAL ? ImageDraw::Blend
                          : (flags & DI_IMAGE)             ? ImageDraw::Copy
                                                           : ImageDraw::Mask;
    return DrawSurfaceImage(dc, x, y, width, height, *i->image, how);
}

}  // namespace tarvel
