// Hatched brushes and dashed pens: the hatch cells, their alignment to the
// device and the background mode; the dash patterns of thin and wide pens,
// their gaps, and how the pattern runs on along a polyline and round a
// rectangle, a rounded rectangle and an ellipse.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/platform/gdi/GdiFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::Rows;

constexpr uint32_t kFill = 0x11223344;
constexpr uint32_t kRed = 0x00FF0000;
constexpr uint32_t kBlue = 0x000000FF;  // the background colour as drawn

class LineStyles : public ::testing::Test {
protected:
    // The DC draws with red ink on a blue background in `mode`.
    static void Prepare(PixelDc& p, int mode) {
        SetBkColor(p.dc, RGB(0, 0, 255));
        SetBkMode(p.dc, mode);
    }
};

TEST_F(LineStyles, HatchCellsOverWhatIsThere) {
    const struct {
        int hatch;
        std::string cell;
    } cases[] = {
        {HS_HORIZONTAL, Rows({"........", "........", "........", "########", "........", "........",
                              "........", "........"})},
        {HS_VERTICAL, Rows({"....#...", "....#...", "....#...", "....#...", "....#...", "....#...",
                            "....#...", "....#..."})},
        {HS_FDIAGONAL, Rows({"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..",
                             "......#.", ".......#"})},
        {HS_BDIAGONAL, Rows({".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....",
                             ".#......", "#......."})},
        {HS_CROSS, Rows({"....#...", "....#...", "....#...", "########", "....#...", "....#...", "....#...",
                         "....#..."})},
        {HS_DIAGCROSS, Rows({"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..",
                             ".#....#.", "#......#"})},
    };
    for (const auto& c : cases) {
        PixelDc p(8, 8, kFill);
        Prepare(p, TRANSPARENT);
        HBRUSH brush = CreateHatchBrush(c.hatch, RGB(255, 0, 0));
        ASSERT_TRUE(brush) << c.hatch;
        ASSERT_TRUE(FillRect(p.dc, TRect{0, 0, 8, 8}, brush));
        EXPECT_EQ(p.Picture(kRed, kFill, kBlue), c.cell) << "hatch " << c.hatch;
        LOGBRUSH log;
        ASSERT_EQ(GetObject(brush, log), static_cast<int>(sizeof(LOGBRUSH)));
        EXPECT_EQ(log.lbStyle, BS_HATCHED);
        EXPECT_EQ(log.lbHatch, c.hatch);
        DeleteObject(brush);
    }
    EXPECT_FALSE(CreateHatchBrush(6, 0));
    EXPECT_FALSE(CreateHatchBrush(-1, 0));
}

TEST_F(LineStyles, OpaqueHatchFillsBetweenItsLinesWithTheBackground) {
    PixelDc p(10, 4, kFill);
    Prepare(p, OPAQUE);
    HBRUSH brush = CreateHatchBrush(HS_BDIAGONAL, RGB(255, 0, 0));
    SelectObject(p.dc, brush);
    SelectObject(p.dc, HPEN(GetStockObject(NULL_PEN)));
    ASSERT_TRUE(Rectangle(p.dc, 1, 0, 10, 4));
    EXPECT_EQ(p.Picture(kRed, kFill, kBlue), Rows({".oooooo#oo", ".ooooo#ooo", ".oooo#oooo", ".ooo#ooooo"}));
    // Xored twice, the hatch leaves the pixels as they were.
    const uint32_t before = p.At(5, 1);
    PatBlt(p.dc, 0, 0, 10, 4, PATINVERT);
    EXPECT_NE(p.At(5, 1), before);
    PatBlt(p.dc, 0, 0, 10, 4, PATINVERT);
    EXPECT_EQ(p.Picture(kRed, kFill, kBlue), Rows({".oooooo#oo", ".ooooo#ooo", ".oooo#oooo", ".ooo#ooooo"}));
    SelectObject(p.dc, HBRUSH(GetStockObject(WHITE_BRUSH)));
    DeleteObject(brush);
}

TEST_F(LineStyles, HatchFollowsTheDeviceNotTheWindowOrigin) {
    HBRUSH brush = CreateHatchBrush(HS_VERTICAL, RGB(255, 0, 0));
    {
        // A window origin moves the drawing, not the cell.
        PixelDc p(12, 1, kFill);
        Prepare(p, TRANSPARENT);
        SetWindowOrgEx(p.dc, 2, 0, nullptr);
        FillRect(p.dc, TRect{2, 0, 14, 1}, brush);
        EXPECT_EQ(p.Picture(kRed, kFill), Rows({"....#......."}));
    }
    {
        // A DC whose (0, 0) lies at surface x 3 carries the cell along.
        auto surface = std::make_shared<Surface>(12, 1, false);
        for (int x = 0; x < 12; ++x) surface->SetPixel(x, 0, kFill);
        HDC dc = CreateSurfaceDC(surface, TPoint{3, 0}, TRect{0, 0, 12, 1});
        SetBkMode(dc, TRANSPARENT);
        FillRect(dc, TRect{-3, 0, 9, 1}, brush);
        std::string row;
        for (int x = 0; x < 12; ++x) row += surface->Pixel(x, 0) == kRed ? '#' : '.';
        EXPECT_EQ(row, ".......#....");
        DeleteDC(dc);
    }
    DeleteObject(brush);
}

TEST_F(LineStyles, DashPatternsOfThinPens) {
    const struct {
        int style, mode, width;
        std::string row;
    } cases[] = {
        {PS_SOLID, OPAQUE, 1, "##############################.."},
        {PS_DASH, TRANSPARENT, 1, "##################......######.."},
        {PS_DASH, OPAQUE, 1, "##################oooooo######.."},
        {PS_DOT, TRANSPARENT, 1, "###...###...###...###...###....."},
        {PS_DASHDOT, OPAQUE, 1, "#########oooooo###oooooo######.."},
        {PS_DASHDOTDOT, TRANSPARENT, 1, "#########...###...###...######.."},
        {PS_NULL, OPAQUE, 1, "................................"},
        {PS_INSIDEFRAME, OPAQUE, 1, "##############################.."},
        // A wider pen's runs scale with it: dashes of three widths, dots and
        // gaps of one, each dot a square.
        {PS_DOT, TRANSPARENT, 2, "##..##..##..##..##..##..##..##.."},
        {PS_DASH, TRANSPARENT, 3, "#########...#########...#######."},
        {PS_DASHDOT, OPAQUE, 2, "######oo##oo######oo##oo######.."},
        {PS_SOLID, TRANSPARENT, 3, "###############################."},
    };
    for (const auto& c : cases) {
        PixelDc p(32, 1, kFill);
        Prepare(p, c.mode);
        HPEN pen = CreatePen(c.style, c.width, RGB(255, 0, 0));
        SelectObject(p.dc, pen);
        MoveToEx(p.dc, 0, 0, nullptr);
        LineTo(p.dc, 30, 0);
        std::string row = p.Picture(kRed, kFill, kBlue);
        row.pop_back();
        EXPECT_EQ(row, c.row) << "style " << c.style << " width " << c.width;
        SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
        DeleteObject(pen);
    }
}

TEST_F(LineStyles, DashesRunOnAlongAPolylineAndRoundARectangle) {
    HPEN dots = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
    {
        PixelDc p(5, 5, kFill);
        Prepare(p, TRANSPARENT);
        SelectObject(p.dc, dots);
        const TPoint corner[] = {{0, 0}, {4, 0}, {4, 4}};
        ASSERT_TRUE(Polyline(p.dc, corner, 3));
        EXPECT_EQ(p.Picture(kRed, kFill), Rows({"###..", ".....", "....#", "....#", "....."}));
        SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    }
    {
        // Each LineTo starts the pattern afresh.
        PixelDc p(5, 5, kFill);
        Prepare(p, TRANSPARENT);
        SelectObject(p.dc, dots);
        MoveToEx(p.dc, 0, 0, nullptr);
        LineTo(p.dc, 4, 0);
        LineTo(p.dc, 4, 4);
        EXPECT_EQ(p.Picture(kRed, kFill), Rows({"###.#", "....#", "....#", ".....", "....."}));
        SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    }
    {
        // Clockwise from the top-left corner; the brush fills inside only.
        PixelDc p(6, 4, kFill);
        Prepare(p, TRANSPARENT);
        SelectObject(p.dc, dots);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        SelectObject(p.dc, blue);
        ASSERT_TRUE(Rectangle(p.dc, 0, 0, 6, 4));
        EXPECT_EQ(p.Picture(kRed, kFill, kBlue), Rows({"###...", ".oooo#", "#oooo#", "##...#"}));
        SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
        SelectObject(p.dc, HBRUSH(GetStockObject(WHITE_BRUSH)));
        DeleteObject(blue);
    }
    DeleteObject(dots);
}

TEST_F(LineStyles, EllipseAndRoundRectangleOutlinesFollowThePenStyle) {
    struct Case {
        const char* shape;
        int style, width;
    } cases[] = {
        {"ellipse", PS_DOT, 1},         {"ellipse", PS_DASH, 3},
        {"round rectangle", PS_DOT, 1}, {"round rectangle", PS_DASHDOT, 2},
        {"rectangle", PS_DASH, 4},
    };
    auto draw = [](PixelDc& p, const char* shape) {
        if (std::string(shape) == "ellipse") return Ellipse(p.dc, 2, 2, 58, 38);
        if (std::string(shape) == "round rectangle") return RoundRect(p.dc, 2, 2, 58, 38, 20, 16);
        return Rectangle(p.dc, 2, 2, 58, 38);
    };
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shape) + " style " + std::to_string(c.style) + " width " +
                     std::to_string(c.width));
        PixelDc solid(60, 40, kFill), styled(60, 40, kFill);
        for (PixelDc* p : {&solid, &styled}) {
            Prepare(*p, TRANSPARENT);
            SelectObject(p->dc, blue);
        }
        HPEN solidPen = CreatePen(PS_SOLID, c.width, RGB(255, 0, 0));
        HPEN styledPen = CreatePen(c.style, c.width, RGB(255, 0, 0));
        SelectObject(solid.dc, solidPen);
        SelectObject(styled.dc, styledPen);
        ASSERT_TRUE(draw(solid, c.shape));
        ASSERT_TRUE(draw(styled, c.shape));
        // The square pen may reach a pixel past the solid outline on a curve.
        auto nearShape = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (x + dx >= 0 && x + dx < 60 && y + dy >= 0 && y + dy < 40 &&
                        solid.At(x + dx, y + dy) != kFill)
                        return true;
            return false;
        };
        int ring = 0, blankOnRing = 0, styledInk = 0, outside = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                if (solid.At(x, y) == kRed) {
                    ++ring;
                    blankOnRing += styled.At(x, y) != kRed;
                }
                if (styled.At(x, y) != kRed) continue;
                ++styledInk;
                if (!nearShape(x, y)) ++outside;
            }
        EXPECT_GT(styledInk, ring / 4);
        EXPECT_GT(blankOnRing, ring / 5) << "gaps in the outline";
        EXPECT_EQ(outside, 0) << "the stroke keeps to the shape";
        EXPECT_EQ(styled.At(30, 20), kBlue) << "the brush still fills the inside";
        EXPECT_EQ(styled.At(0, 0), kFill);
        for (PixelDc* p : {&solid, &styled}) SelectObject(p->dc, HPEN(GetStockObject(BLACK_PEN)));
        DeleteObject(solidPen);
        DeleteObject(styledPen);
    }
    DeleteObject(blue);
}

// Every style at widths 1 to 8 as lines, rectangles, round rectangles and
// ellipses, saved for people to look at and compared with its reference.
TEST_F(LineStyles, WideDashedPenSheet) {
    PixelDc p(520, 420, 0x00FFFFFF);
    SetBkMode(p.dc, TRANSPARENT);
    SelectObject(p.dc, GetStockObject(NULL_BRUSH));
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    const int widths[] = {1, 2, 4, 8};
    for (int s = 0; s < 5; ++s)
        for (int w = 0; w < 4; ++w) {
            HPEN pen = CreatePen(styles[s], widths[w], RGB(0, 0, 128));
            SelectObject(p.dc, pen);
            const int x = 10 + w * 128, y = 10 + s * 80;
            MoveToEx(p.dc, x, y + 4, nullptr);
            LineTo(p.dc, x + 110, y + 4);
            MoveToEx(p.dc, x, y + 14, nullptr);
            LineTo(p.dc, x + 50, y + 66);
            Rectangle(p.dc, x + 14, y + 14, x + 50, y + 66);
            RoundRect(p.dc, x + 56, y + 14, x + 80, y + 66, 14, 14);
            Ellipse(p.dc, x + 84, y + 14, x + 118, y + 66);
            SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
            DeleteObject(pen);
        }
    const auto path = std::filesystem::path(TARVEL_BINARY_DIR) / "gdi_wide_pens.png";
    ASSERT_TRUE(WritePng(*p.surface, path.string().c_str()));
    EXPECT_TRUE(reference::MatchesReference(*p.surface, "platform/gdi/wide_pens.png"));
}

TEST_F(LineStyles, AClippedDashedLineKeepsItsPattern) {
    // Only the visible part is walked; the pixels there are those of the
    // whole line.
    PixelDc p(8, 1, kFill);
    Prepare(p, TRANSPARENT);
    HPEN pen = CreatePen(PS_DASHDOT, 1, RGB(255, 0, 0));
    SelectObject(p.dc, pen);
    MoveToEx(p.dc, -1000000 * 24 - 8, 0, nullptr);
    LineTo(p.dc, 8, 0);
    // The line starts 24,000,008 pixels left of x 0: x 0 is pattern pixel 8.
    EXPECT_EQ(p.Picture(kRed, kFill), Rows({"#......#"}));
    SelectObject(p.dc, HPEN(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

}  // namespace
}  // namespace tarvel
