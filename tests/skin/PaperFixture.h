#pragma once
// A white alpha bitmap with a canvas on its DC: the paper the theme and
// drawing tests draw on and read back.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/classlib/Graphics.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap.h"

namespace tarvel::testing {

struct TPaper {
    TteBitmap bitmap;
    TCanvas canvas;
    TPaper(int w, int h) {
        bitmap.SetSize(w, h);
        bitmap.Clear(0xFFFFFFFF);
        canvas.SetHandle(bitmap.DC());
    }
    ~TPaper() { canvas.SetHandle(HDC{}); }
    TPaper(const TPaper&) = delete;
    TPaper& operator=(const TPaper&) = delete;

    // Drawing through the DC writes alpha 0: colours only.
    uint32_t At(int x, int y) const { return bitmap.GetPixel(x, y) & 0xFFFFFF; }
    bool SameAs(const TPaper& other) const {
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (At(x, y) != other.At(x, y)) return false;
        return true;
    }
    // The box of the pixels that are not white.
    std::optional<TRect> Ink() const {
        std::optional<TRect> box;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                if (At(x, y) != 0xFFFFFF) {
                    if (!box) box = TRect{x, y, x + 1, y + 1};
                    box->left = std::min(box->left, x);
                    box->top = std::min(box->top, y);
                    box->right = std::max(box->right, x + 1);
                    box->bottom = std::max(box->bottom, y + 1);
                }
        return box;
    }
};

// A colour as drawn into a bitmap or shown on the screen.
inline uint32_t Rgb(TColor c) { return ColorRefToPixel(ColorToColorRef(c)) & 0xFFFFFF; }

}  // namespace tarvel::testing
