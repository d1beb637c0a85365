// A form of double-buffered skinned controls repaints without allocating
// once its first paint has set everything up: update areas, DCs, clip
// regions and buffers are all reused.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "te_control_testkit.h"

namespace {
// Counted only while a test asks; every other allocation of this program
// goes through unchanged.
bool counting = false;
size_t allocations = 0;

void* Allocate(size_t size) {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

// Pairs malloc with free on purpose: every operator new here is malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tarvel {
namespace {

using testing::SkinControlTest;

size_t paints = 0;

// A skinned face: the control's colour with a translucent piece on top.
class TPieceFace : public TTeControl {
public:
    TPieceFace(TComponent* owner, const TteBitmap& piece) : TTeControl(owner), piece_(piece) {
        SetPerformance(qvpDoubleBuffer);
    }

protected:
    void PaintBuffer() override {
        ++paints;
        TTeControl::PaintBuffer();
        piece_.Draw(*Canvas(), GetClientRect());
    }

private:
    const TteBitmap& piece_;
};

class RepaintAllocations : public SkinControlTest {
protected:
    void SetUp() override {
        SkinControlTest::SetUp();
        piece_.SetSize(12, 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                piece_.SetPixel(x, y, (static_cast<uint32_t>((x + y) * 9 + 10) << 24) | 0x3366CC);
        piece_.AlphaBlend = true;
        // A row of controls and one lying over two of them, so that the
        // form's and the controls' areas have holes and several pieces.
        const TRect places[] = {
            {8, 8, 88, 48}, {96, 8, 176, 48}, {184, 8, 264, 48}, {8, 56, 88, 96}, {60, 30, 120, 70}};
        for (const TRect& r : places) {
            auto* face = new TPieceFace(Form(), piece_);
            face->SetBounds(r.left, r.top, r.Width(), r.Height());
            face->SetParent(Form());
            faces_.push_back(face);
        }
        Ui().RunUntilIdle();
    }

    // Allocations of one repaint of `area` (form client coordinates, null
    // for all) and how many controls it painted.
    std::pair<size_t, size_t> Repaint(const TRect* area) {
        const size_t paintsBefore = paints;
        allocations = 0;
        counting = true;
        RedrawWindow(Form()->Handle(), area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        counting = false;
        return {allocations, paints - paintsBefore};
    }

    TteBitmap piece_;
    std::vector<TPieceFace*> faces_;
};

TEST_F(RepaintAllocations, SecondRepaintAllocatesNothing) {
    struct Case {
        const char* what;
        TRect area;
        size_t painted;
    };
    const Case cases[] = {
        {"the whole form", TRect{0, 0, 400, 300}, 5},
        {"one control", TRect{190, 10, 200, 20}, 1},
        {"across overlapping controls", TRect{50, 20, 110, 60}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto first = Repaint(&c.area);
        ASSERT_EQ(first.second, c.painted);
        const auto second = Repaint(&c.area);
        EXPECT_EQ(second.first, 0u);
        EXPECT_EQ(second.second, c.painted);
    }
    // Nothing above was vacuous: the counter sees what a paint does make.
    counting = true;
    allocations = 0;
    auto* late = new TPieceFace(Form(), piece_);
    counting = false;
    EXPECT_GT(allocations, 0u);
    delete late;
}

}  // namespace
}  // namespace tarvel
