#pragma once
// A 32-bit pixel surface (0xAARRGGBB, stored B, G, R, A in memory, rows of
// width * 4 bytes), the target of every drawing operation: DIB sections,
// memory bitmaps and the back buffers of windows.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/Geometry.h"

namespace tarvel {

class Surface {
public:
    // What new pixels hold: zeros, or nothing yet for a surface whose maker
    // writes every pixel before anyone reads one.
    enum class Fill { Zero, None };

    // Sizes are checked in 64 bits; an impossible size gives an empty surface
    // (Valid() false), never an exception or a huge allocation.
    Surface(int width, int height, bool bottomUp = false, Fill fill = Fill::Zero);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool Valid() const { return pixels_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool BottomUp() const { return bottomUp_; }
    size_t StrideBytes() const { return static_cast<size_t>(width_) * 4; }

    // The memory as laid out: the first row in memory is the bottom row of a
    // bottom-up surface.
    uint32_t* Bits() { return pixels_.get(); }
    const uint32_t* Bits() const { return pixels_.get(); }

    // Row y counted from the top, whatever the layout.
    uint32_t* Row(int y) { return pixels_.get() + static_cast<size_t>(RowIndex(y)) * width_; }
    const uint32_t* Row(int y) const { return pixels_.get() + static_cast<size_t>(RowIndex(y)) * width_; }

    uint32_t Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, uint32_t argb) { Row(y)[x] = argb; }
    TRect BoundsRect() const { return TRect{0, 0, width_, height_}; }

private:
    int RowIndex(int y) const { return bottomUp_ ? height_ - 1 - y : y; }

    int width_ = 0;
    int height_ = 0;
    bool bottomUp_ = false;
    std::unique_ptr<uint32_t[]> pixels_;
};

}  // namespace tarvel
