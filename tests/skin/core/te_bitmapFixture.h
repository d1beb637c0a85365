#pragma once
// A DIB section of the drawing layer selected into a memory DC: a plain
// device target for the bitmap's drawing tests.

#include <cstdint>

#include "platform/gdi/Gdi.h"

namespace tarvel {

struct TDibOnDc {
    // height < 0: top-down; > 0: bottom-up.
    TDibOnDc(int width, int height) {
        BITMAPINFO info;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        void* raw = nullptr;
        dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = static_cast<uint32_t*>(raw);
        dc = CreateCompatibleDC(nullptr);
        stock = SelectObject(dc, dib);
    }
    ~TDibOnDc() {
        DeleteDC(dc);
        DeleteObject(dib);
    }
    TDibOnDc(const TDibOnDc&) = delete;
    TDibOnDc& operator=(const TDibOnDc&) = delete;

    HBITMAP dib;
    HBITMAP stock;
    HDC dc;
    uint32_t* bits = nullptr;
};

}  // namespace tarvel
