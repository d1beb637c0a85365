#pragma once
// What the repaint benchmark and the repaint allocation test share: a count
// of every allocation the program makes, and a double-buffered skinned face.
// It replaces the global operator new, so one file of a program includes it.

#include <cstdlib>
#include <new>

#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"

namespace tarvel::testing {
inline size_t allocations = 0;
}  // namespace tarvel::testing

// Pairs malloc with free on purpose: every operator new here is malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    ++tarvel::testing::allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    ++tarvel::testing::allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tarvel::testing {

// A translucent square of `side` pixels to draw over a face.
inline void MakeSkinPiece(TteBitmap& piece, int side) {
    piece.SetSize(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            piece.SetPixel(x, y, (static_cast<uint32_t>((x + y) * 5 + 10) << 24) | 0x3366CC);
    piece.AlphaBlend = true;
}

// A skinned face: the control's colour with a translucent piece on top.
class TSkinPiece : public TTeControl {
public:
    TSkinPiece(TComponent* owner, const TteBitmap& piece) : TTeControl(owner), piece_(piece) {
        SetPerformance(qvpDoubleBuffer);
    }
    static inline size_t paints = 0;  // of every face, by their buffers

protected:
    void PaintBuffer() override {
        ++paints;
        TTeControl::PaintBuffer();
        piece_.Draw(*Canvas(), GetClientRect());
    }

private:
    const TteBitmap& piece_;
};

}  // namespace tarvel::testing
