// A form of double-buffered skinned controls repaints without allocating
// once its first paint has set everything up: update areas, DCs, clip
// regions and buffers are all reused.

#include <gtest/gtest.h>

#include "RepaintFixture.h"
#include "SkinControlFixture.h"

namespace tarvel {
namespace {

using testing::allocations;
using testing::SkinControlTest;
using testing::TSkinPiece;

class RepaintAllocations : public SkinControlTest {
protected:
    void SetUp() override {
        SkinControlTest::SetUp();
        testing::MakeSkinPiece(piece_, 12);
        // A row of controls and one lying over three of them, so that the
        // form's and the controls' areas have holes and several pieces.
        const TRect places[] = {
            {8, 8, 88, 48}, {96, 8, 176, 48}, {184, 8, 264, 48}, {8, 56, 88, 96}, {60, 30, 120, 70}};
        for (const TRect& r : places) {
            auto* face = new TSkinPiece(Form(), piece_);
            face->SetBounds(r.left, r.top, r.Width(), r.Height());
            face->SetParent(Form());
        }
        Ui().RunUntilIdle();
    }

    // Allocations of one repaint of `area` (form client coordinates, null
    // for all) and how many controls it painted.
    std::pair<size_t, size_t> Repaint(const TRect* area) {
        const size_t paintsBefore = TSkinPiece::paints;
        const size_t before = allocations;
        RedrawWindow(Form()->Handle(), area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return {allocations - before, TSkinPiece::paints - paintsBefore};
    }

    TteBitmap piece_;
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
    // Nothing above was vacuous: the count sees what is made.
    const size_t before = allocations;
    auto* late = new TSkinPiece(Form(), piece_);
    EXPECT_GT(allocations, before);
    delete late;
}

}  // namespace
}  // namespace tarvel
