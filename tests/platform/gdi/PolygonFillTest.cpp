// Which pixels a polygon covers: with a pen of the brush's colour, as the
// skins draw arrows and chevrons, and with the brush alone, which a polygon
// region shares.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::RegionPicture;

constexpr uint32_t kFill = 0x11223344;
constexpr uint32_t kRed = 0x00FF0000;

// A shape and its pixels, one row of the picture per string: drawn with a
// pen and brush of one colour, then with the brush alone (a null pen),
// which a polygon region of the same points covers too.
struct Shape {
    const char* name;
    std::vector<TPoint> points;
    std::vector<std::string> rows;  // "<with pen>  <brush alone>"

    int Width() const { return static_cast<int>(rows[0].size() - 2) / 2; }
    int Height() const { return static_cast<int>(rows.size()); }
    std::string Picture(bool withPen) const {
        std::string out;
        for (const std::string& r : rows) out += r.substr(withPen ? 0 : Width() + 2, Width()) + '\n';
        return out;
    }
};

// Red pen and red brush; either may be left out.
std::string Draw(int width, int height, const std::vector<TPoint>& points, bool pen, bool brush = true) {
    PixelDc p(width, height, kFill);
    HBRUSH red = brush ? CreateSolidBrush(RGB(255, 0, 0)) : HBRUSH(GetStockObject(NULL_BRUSH));
    HPEN outline = pen ? CreatePen(PS_SOLID, 1, RGB(255, 0, 0)) : HPEN(GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(p.dc, red);
    HGDIOBJ oldPen = SelectObject(p.dc, outline);
    EXPECT_TRUE(Polygon(p.dc, points.data(), static_cast<int>(points.size())));
    SelectObject(p.dc, oldBrush);
    SelectObject(p.dc, oldPen);
    DeleteObject(red);
    DeleteObject(outline);
    return p.Picture(kRed, kFill);
}

std::string Draw(const Shape& s, bool pen) { return Draw(s.Width(), s.Height(), s.points, pen); }

// Arrows as the skins build them from a w x h box: (left, top),
// (right - 1, top), ((left + right - 1) / 2, bottom - 1) and turns of it.
const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes = {
        {"down 5x3",
         {{1, 1}, {5, 1}, {3, 3}},
         {
             ".......  .......",
             ".#####.  .####..",
             "..###..  ..##...",
             "...#...  .......",
             ".......  .......",
         }},
        {"up 5x3",
         {{1, 3}, {5, 3}, {3, 1}},
         {
             ".......  .......",
             "...#...  .......",
             "..###..  ..##...",
             ".#####.  .......",
             ".......  .......",
         }},
        {"left 3x5",
         {{3, 1}, {3, 5}, {1, 3}},
         {
             ".....  .....",
             "...#.  .....",
             "..##.  ..#..",
             ".###.  .##..",
             "..##.  ..#..",
             "...#.  .....",
             ".....  .....",
         }},
        {"right 3x5",
         {{1, 1}, {1, 5}, {3, 3}},
         {
             ".....  .....",
             ".#...  .....",
             ".##..  .#...",
             ".###.  .##..",
             ".##..  .#...",
             ".#...  .....",
             ".....  .....",
         }},
        {"down 3x2",
         {{1, 1}, {3, 1}, {2, 2}},
         {
             ".....  .....",
             ".###.  .##..",
             "..#..  .....",
             ".....  .....",
         }},
        {"up 3x2",
         {{1, 2}, {3, 2}, {2, 1}},
         {
             ".....  .....",
             "..#..  .....",
             ".###.  .....",
             ".....  .....",
         }},
        {"left 2x3",
         {{2, 1}, {2, 3}, {1, 2}},
         {
             "....  ....",
             "..#.  ....",
             ".##.  .#..",
             "..#.  ....",
             "....  ....",
         }},
        {"right 2x3",
         {{1, 1}, {1, 3}, {2, 2}},
         {
             "....  ....",
             ".#..  ....",
             ".##.  .#..",
             ".#..  ....",
             "....  ....",
         }},
        {"down 7x4",
         {{1, 1}, {7, 1}, {4, 4}},
         {
             ".........  .........",
             ".#######.  .######..",
             "..#####..  ..####...",
             "...###...  ...##....",
             "....#....  .........",
             ".........  .........",
         }},
        {"up 7x4",
         {{1, 4}, {7, 4}, {4, 1}},
         {
             ".........  .........",
             "....#....  .........",
             "...###...  ...##....",
             "..#####..  ..####...",
             ".#######.  .........",
             ".........  .........",
         }},
        {"left 4x7",
         {{4, 1}, {4, 7}, {1, 4}},
         {
             "......  ......",
             "....#.  ......",
             "...##.  ...#..",
             "..###.  ..##..",
             ".####.  .###..",
             "..###.  ..##..",
             "...##.  ...#..",
             "....#.  ......",
             "......  ......",
         }},
        {"right 4x7",
         {{1, 1}, {1, 7}, {4, 4}},
         {
             "......  ......",
             ".#....  ......",
             ".##...  .#....",
             ".###..  .##...",
             ".####.  .###..",
             ".###..  .##...",
             ".##...  .#....",
             ".#....  ......",
             "......  ......",
         }},
        // All on one row: the pen draws it, the brush has no area to fill.
        {"sliver",
         {{1, 1}, {6, 1}, {3, 1}},
         {
             "........  ........",
             ".######.  ........",
             "........  ........",
         }},
        {"diamond",
         {{3, 1}, {5, 3}, {3, 5}, {1, 3}},
         {
             ".......  .......",
             "...#...  .......",
             "..###..  ..##...",
             ".#####.  .####..",
             "..###..  ..##...",
             "...#...  .......",
             ".......  .......",
         }},
        // Drawn alike before and after vertices came to name pixels: its
        // slanted edge falls to the right, along the old half-pixel shift.
        {"larger, falling edge",
         {{1, 1}, {1, 11}, {11, 11}},
         {
             ".............  .............",
             ".#...........  .............",
             ".##..........  .#...........",
             ".###.........  .##..........",
             ".####........  .###.........",
             ".#####.......  .####........",
             ".######......  .#####.......",
             ".#######.....  .######......",
             ".########....  .#######.....",
             ".#########...  .########....",
             ".##########..  .#########...",
             ".###########.  .............",
             ".............  .............",
         }},
        // Its rising edge had a line of holes inside the pen.
        {"larger, rising edge",
         {{1, 1}, {11, 1}, {1, 11}},
         {
             ".............  .............",
             ".###########.  .##########..",
             ".##########..  .#########...",
             ".#########...  .########....",
             ".########....  .#######.....",
             ".#######.....  .######......",
             ".######......  .#####.......",
             ".#####.......  .####........",
             ".####........  .###.........",
             ".###.........  .##..........",
             ".##..........  .#...........",
             ".#...........  .............",
             ".............  .............",
         }},
    };
    return shapes;
}

TEST(PolygonFill, WithTheirPenShapesHaveNoHoles) {
    for (const Shape& s : Shapes()) EXPECT_EQ(Draw(s, true), s.Picture(true)) << s.name;
}

TEST(PolygonFill, TheBrushAloneCoversTheInsideAndTheRegionAgrees) {
    for (const Shape& s : Shapes()) {
        EXPECT_EQ(Draw(s, false), s.Picture(false)) << s.name;
        HRGN region = CreatePolygonRgn(s.points.data(), static_cast<int>(s.points.size()), ALTERNATE);
        ASSERT_TRUE(region) << s.name;
        EXPECT_EQ(RegionPicture(region, s.Width(), s.Height()), s.Picture(false)) << s.name;
        DeleteObject(region);
    }
}

// For any convex shape: filled, each row is its outline's row with every
// pixel between the outline's first and last one, and nothing outside.
TEST(PolygonFill, ConvexShapesFillExactlyUpToTheirOutline) {
    const std::vector<TPoint> shapes[] = {
        {{1, 1}, {12, 3}, {4, 10}}, {{2, 1}, {9, 2}, {1, 8}},           {{3, 1}, {4, 12}, {1, 6}},
        {{1, 2}, {13, 1}, {7, 4}},  {{2, 1}, {11, 3}, {9, 10}, {1, 7}}, {{4, 10}, {12, 3}, {1, 1}},
        {{7, 1}, {13, 6}, {1, 11}},
    };
    for (const auto& points : shapes) {
        const std::string filled = Draw(15, 13, points, true);
        const std::string outline = Draw(15, 13, points, true, false);
        std::string expected = outline;
        for (size_t row = 0; row < outline.size(); row = outline.find('\n', row) + 1) {
            const size_t first = outline.find('#', row), end = outline.find('\n', row);
            if (first > end) continue;
            const size_t last = outline.rfind('#', end);
            expected.replace(first, last - first, last - first, '#');
        }
        EXPECT_EQ(filled, expected) << points[0].x << "," << points[0].y << " " << points[1].x << ","
                                    << points[1].y;
    }
}

}  // namespace
}  // namespace tarvel
