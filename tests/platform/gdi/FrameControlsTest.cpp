#include <gtest/gtest.h>

#include <map>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;

struct Control {
    unsigned type, state;
    bool hasGlyph;
};

const Control kControls[] = {
    {DFC_CAPTION, DFCS_CAPTIONCLOSE, true},
    {DFC_CAPTION, DFCS_CAPTIONMIN, true},
    {DFC_CAPTION, DFCS_CAPTIONMAX, true},
    {DFC_CAPTION, DFCS_CAPTIONRESTORE, true},
    {DFC_CAPTION, DFCS_CAPTIONHELP, true},
    {DFC_MENU, DFCS_MENUARROW, true},
    {DFC_SCROLL, DFCS_SCROLLUP, true},
    {DFC_SCROLL, DFCS_SCROLLDOWN, true},
    {DFC_SCROLL, DFCS_SCROLLLEFT, true},
    {DFC_SCROLL, DFCS_SCROLLRIGHT, true},
    {DFC_BUTTON, DFCS_BUTTONPUSH, false},
    {DFC_BUTTON, DFCS_BUTTONCHECK, false},
    {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, true},
    {DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, false},  // the third state's mark is grey
};

TEST(FrameControls, TheGlyphIsTheOnlyPureBlack) {
    for (TSize size : {TSize{16, 14}, TSize{11, 11}, TSize{34, 30}}) {
        for (const Control& c : kControls) {
            for (unsigned extra : {0u, unsigned(DFCS_PUSHED), unsigned(DFCS_FLAT), unsigned(DFCS_INACTIVE)}) {
                // A zeroed bitmap, as the glyph recolouring uses: every pixel
                // must be painted, and only the glyph left exactly 0.
                PixelDc p(size.cx, size.cy, 0);
                TRect r = Rect(0, 0, size.cx, size.cy);
                ASSERT_TRUE(DrawFrameControl(p.dc, &r, c.type, c.state | extra));
                const TRect black = [&] {
                    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
                    for (int y = 0; y < size.cy; ++y)
                        for (int x = 0; x < size.cx; ++x)
                            if (p.At(x, y) == 0) {
                                box.left = std::min(box.left, x);
                                box.top = std::min(box.top, y);
                                box.right = std::max(box.right, x + 1);
                                box.bottom = std::max(box.bottom, y + 1);
                            }
                    return box.left == INT32_MAX ? TRect{} : box;
                }();
                const std::string what = std::to_string(c.type) + "/" + std::to_string(c.state | extra) +
                                         " at " + std::to_string(size.cx);
                if (!c.hasGlyph || (extra & DFCS_INACTIVE)) {
                    EXPECT_TRUE(black.IsEmpty()) << what;
                    continue;
                }
                ASSERT_FALSE(black.IsEmpty()) << what;
                if (c.type != DFC_MENU) {
                    // Inside the border.
                    EXPECT_GE(black.left, 1) << what;
                    EXPECT_GE(black.top, 1) << what;
                    EXPECT_LE(black.right, size.cx - 1) << what;
                    EXPECT_LE(black.bottom, size.cy - 1) << what;
                }
                // Roughly centred (a pushed glyph moves by one pixel) when
                // there is room for it; the minimize bar sits low and left.
                if (size.cx > 11 && !(c.type == DFC_CAPTION && c.state == DFCS_CAPTIONMIN)) {
                    EXPECT_LE(std::abs(black.left + black.right - size.cx), 4) << what;
                    EXPECT_LE(std::abs(black.top + black.bottom - size.cy), 4) << what;
                }
            }
        }
    }
}

// The halves of a spin button are a few pixels high; their arrows keep a
// readable triangle rather than shrinking to a dot.
TEST(FrameControls, ArrowsKeepAMinimumSizeInSmallButtons) {
    const struct {
        unsigned state;
        bool vertical;
    } arrows[] = {
        {DFCS_SCROLLUP, true}, {DFCS_SCROLLDOWN, true}, {DFCS_SCROLLLEFT, false}, {DFCS_SCROLLRIGHT, false}};
    for (TSize size : {TSize{17, 10}, TSize{17, 11}, TSize{15, 9}, TSize{12, 12}, TSize{16, 14}}) {
        for (const auto& a : arrows) {
            const TSize button = a.vertical ? size : TSize{size.cy, size.cx};
            PixelDc p(button.cx, button.cy, 0x11223344);
            TRect r = Rect(0, 0, button.cx, button.cy);
            ASSERT_TRUE(DrawFrameControl(p.dc, &r, DFC_SCROLL, a.state));
            const TRect glyph = [&] {
                TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
                for (int y = 0; y < button.cy; ++y)
                    for (int x = 0; x < button.cx; ++x)
                        if ((p.At(x, y) & 0xFFFFFF) == 0) {
                            box.left = std::min(box.left, x);
                            box.top = std::min(box.top, y);
                            box.right = std::max(box.right, x + 1);
                            box.bottom = std::max(box.bottom, y + 1);
                        }
                return box;
            }();
            const int base = a.vertical ? glyph.Width() : glyph.Height();
            const int depth = a.vertical ? glyph.Height() : glyph.Width();
            const std::string what = std::to_string(a.state) + " in " + std::to_string(button.cx) + "x" +
                                     std::to_string(button.cy);
            EXPECT_GE(base, 5) << what;
            EXPECT_GE(depth, 3) << what;
            EXPECT_EQ(base, 2 * depth - 1) << what << ": a whole triangle";
            EXPECT_GE(glyph.left, 2) << what << ": inside the raised edge";
            EXPECT_GE(glyph.top, 2) << what;
            EXPECT_LE(glyph.right, button.cx - 2) << what;
            EXPECT_LE(glyph.bottom, button.cy - 2) << what;
        }
    }
}

TEST(FrameControls, PushedGlyphMovesDownRight) {
    for (unsigned type : {unsigned(DFC_CAPTION), unsigned(DFC_SCROLL)}) {
        PixelDc up(16, 16, 0), down(16, 16, 0);
        TRect r = Rect(0, 0, 16, 16);
        DrawFrameControl(up.dc, &r, type, 0);
        DrawFrameControl(down.dc, &r, type, DFCS_PUSHED);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 15; ++x) EXPECT_EQ(up.At(x, y) == 0, down.At(x + 1, y + 1) == 0) << type;
    }
}

// The radio box paints its round box only: the corners keep what lies below.
TEST(FrameControls, RadioBoxIsRoundWithADotWhenChecked) {
    for (unsigned extra : {0u, unsigned(DFCS_CHECKED), unsigned(DFCS_CHECKED | DFCS_INACTIVE)}) {
        PixelDc p(13, 13, 0x123456);
        TRect r = Rect(0, 0, 13, 13);
        ASSERT_TRUE(DrawFrameControl(p.dc, &r, DFC_BUTTON, DFCS_BUTTONRADIO | extra));
        EXPECT_EQ(p.At(0, 0), 0x123456u) << extra;
        EXPECT_EQ(p.At(12, 12), 0x123456u) << extra;
        EXPECT_NE(p.At(0, 6), 0x123456u) << extra;
        EXPECT_EQ(p.At(6, 6) == 0, extra == DFCS_CHECKED) << extra;
    }
}

TEST(FrameControls, UnknownKindsFail) {
    PixelDc p(8, 8);
    TRect r = Rect(0, 0, 8, 8);
    EXPECT_FALSE(DrawFrameControl(p.dc, &r, 9, 0));
    EXPECT_FALSE(DrawFrameControl(p.dc, &r, DFC_CAPTION, 7));
    EXPECT_FALSE(DrawFrameControl(p.dc, &r, DFC_SCROLL, 4));
    EXPECT_FALSE(DrawFrameControl(p.dc, nullptr, DFC_CAPTION, 0));
    EXPECT_FALSE(DrawFrameControl(HDC(), &r, DFC_CAPTION, 0));
    TRect huge = Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_FALSE(DrawFrameControl(p.dc, &huge, DFC_CAPTION, 0));
    EXPECT_FALSE(DrawEdge(p.dc, &huge, EDGE_RAISED, BF_RECT | BF_ADJUST));
    TRect large = Rect(-(1 << 28), -(1 << 28), 1 << 28, 1 << 28);  // drawable, mostly off the surface
    EXPECT_TRUE(DrawFrameControl(p.dc, &large, DFC_SCROLL, DFCS_SCROLLUP));
    EXPECT_TRUE(DrawEdge(p.dc, &large, EDGE_SUNKEN, BF_RECT | BF_MIDDLE));
}

TEST(FrameControls, RaisedEdgeRows) {
    PixelDc p(5, 5, 0x11223344);
    TRect r = Rect(0, 0, 5, 5);
    ASSERT_TRUE(DrawEdge(p.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, Rect(2, 2, 3, 3));
    const std::map<uint32_t, char> names = {{ColorRefToPixel(GetSysColor(COLOR_3DLIGHT)), 'L'},
                                            {ColorRefToPixel(GetSysColor(COLOR_3DDKSHADOW)), 'D'},
                                            {ColorRefToPixel(GetSysColor(COLOR_3DHILIGHT)), 'H'},
                                            {ColorRefToPixel(GetSysColor(COLOR_3DSHADOW)), 'S'},
                                            {0x11223344, '.'}};
    std::string picture;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) picture += names.count(p.At(x, y)) ? names.at(p.At(x, y)) : '?';
        picture += '\n';
    }
    EXPECT_EQ(picture, gditest::Rows({"LLLLD", "LHHSD", "LH.SD", "LSSSD", "DDDDD"}));
}

TEST(FrameControls, SunkenEdgeWithMiddleAndPartialSides) {
    PixelDc p(4, 4, 0x11223344);
    TRect r = Rect(0, 0, 4, 4);
    DrawEdge(p.dc, &r, EDGE_SUNKEN, BF_TOP | BF_LEFT | BF_MIDDLE);
    EXPECT_EQ(p.At(0, 0), ColorRefToPixel(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_EQ(p.At(1, 1), ColorRefToPixel(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(p.At(3, 3), ColorRefToPixel(GetSysColor(COLOR_3DFACE)));  // middle, no bottom-right sides
    EXPECT_EQ(r, Rect(0, 0, 4, 4));                                     // not adjusted without BF_ADJUST
}

TEST(SysColors, TableAndResolution) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_NE(GetSysColor(COLOR_3DDKSHADOW), 0u);  // frame controls rely on it
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSysColorCount), 0u);
    EXPECT_EQ(ResolveSysColor(0x8000000F), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveSysColor(0x00123456), 0x00123456u);
    EXPECT_EQ(ResolveSysColor(0x1FFFFFFF), 0x00FFFFFFu);
}

}  // namespace
}  // namespace tarvel
