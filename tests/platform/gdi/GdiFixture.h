#pragma once
// A small memory DC over a DIB section, and ways to look at its pixels.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace tarvel::gditest {

class PixelDc {
public:
    PixelDc(int width, int height, uint32_t fill = 0x11223344, bool bottomUp = false) {
        BITMAPINFO info;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = bottomUp ? height : -height;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        surface = GetBitmapSurface(bitmap);
        Clear(fill);
    }
    ~PixelDc() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    PixelDc(const PixelDc&) = delete;
    PixelDc& operator=(const PixelDc&) = delete;

    void Clear(uint32_t pixel) {
        for (int y = 0; y < surface->Height(); ++y)
            for (int x = 0; x < surface->Width(); ++x) surface->SetPixel(x, y, pixel);
    }
    uint32_t At(int x, int y) const { return surface->Pixel(x, y); }

    // One character per pixel: '#' where the pixel equals `ink`, '.' where
    // it is untouched (`fill`), '?' for anything else.
    // With `back` as well, 'o' where the pixel equals it.
    std::string Picture(uint32_t ink, uint32_t fill) const { return Picture(ink, fill, ink); }
    std::string Picture(uint32_t ink, uint32_t fill, uint32_t back) const {
        std::string out;
        for (int y = 0; y < surface->Height(); ++y) {
            for (int x = 0; x < surface->Width(); ++x) {
                const uint32_t p = At(x, y);
                out += p == ink ? '#' : p == fill ? '.' : p == back ? 'o' : '?';
            }
            out += '\n';
        }
        return out;
    }

    // The bounding box of pixels that differ from `fill` (empty if none).
    TRect Ink(uint32_t fill) const {
        TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (int y = 0; y < surface->Height(); ++y)
            for (int x = 0; x < surface->Width(); ++x)
                if (At(x, y) != fill) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box.left == INT32_MAX ? TRect{} : box;
    }

    int Count(uint32_t pixel) const {
        int n = 0;
        for (int y = 0; y < surface->Height(); ++y)
            for (int x = 0; x < surface->Width(); ++x) n += At(x, y) == pixel;
        return n;
    }

    HBITMAP bitmap;
    HDC dc;
    HBITMAP old;
    std::shared_ptr<Surface> surface;
};

// Joins picture rows written one per line in a test.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* r : rows) {
        out += r;
        out += '\n';
    }
    return out;
}

// A region's pixels in a small grid, '#' inside.
inline std::string RegionPicture(HRGN region, int width, int height) {
    std::string out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out += PtInRegion(region, x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

// A font handle that deletes itself.
class ScopedFont {
public:
    ScopedFont(const char* face, int height, int weight = FW_NORMAL, uint8_t quality = DEFAULT_QUALITY) {
        LOGFONTW log;
        SetFaceName(log, face);
        log.lfHeight = height;
        log.lfWeight = weight;
        log.lfQuality = quality;
        font = CreateFontIndirectW(log);
    }
    ~ScopedFont() { DeleteObject(font); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    HFONT font;
};

}  // namespace tarvel::gditest
