// The platform's standard icons, drawn here in a few flat colours: a window
// for the application, a red disc with a cross for errors, a yellow
// triangle with "!" for warnings, blue discs with "i" and "?" for
// information and questions.

#include "platform/gdi/SystemIcons.h"

#include <cmath>
#include <functional>
#include <string_view>

#include "platform/gdi/Gdi.h"

namespace tarvel {

namespace {

constexpr int kSide = 32;
constexpr uint32_t kOpaque = 0xFF000000u;

using Inside = std::function<bool(double x, double y)>;  // at a pixel's centre

void Fill(Surface& s, const Inside& inside, uint32_t colour) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (inside(x + 0.5, y + 0.5)) s.SetPixel(x, y, kOpaque | colour);
}

Inside Disc(double radius) {
    return [radius](double x, double y) {
        const double dx = x - kSide / 2.0, dy = y - kSide / 2.0;
        return dx * dx + dy * dy <= radius * radius;
    };
}

// The triangle standing on the bottom edge, its sides moved in by `inset`.
Inside Triangle(double inset) {
    struct Edge {
        double ax, ay, bx, by;
    };
    static const Edge kEdges[] = {{16, 1, 31, 30}, {31, 30, 1, 30}, {1, 30, 16, 1}};
    return [inset](double x, double y) {
        for (const Edge& e : kEdges) {
            const double ex = e.bx - e.ax, ey = e.by - e.ay;
            const double distance = (ex * (y - e.ay) - ey * (x - e.ax)) / std::hypot(ex, ey);
            if (distance < inset) return false;
        }
        return true;
    };
}

// A mark drawn from rows of '#', centred on (centreX, top).
void Mark(Surface& s, std::initializer_list<std::string_view> rows, int centreX, int top, uint32_t colour) {
    int y = top;
    for (const std::string_view row : rows) {
        const int left = centreX - static_cast<int>(row.size()) / 2;
        for (size_t i = 0; i < row.size(); ++i)
            if (row[i] == '#') s.SetPixel(left + static_cast<int>(i), y, kOpaque | colour);
        ++y;
    }
}

std::shared_ptr<Surface> Application() {
    auto s = std::make_shared<Surface>(kSide, kSide);
    const uint32_t frame = 0x404040, title = 0x000080, page = 0xFFFFFF;
    Fill(
        *s, [](double x, double y) { return x > 1 && x < kSide - 1 && y > 2 && y < kSide - 2; }, frame);
    Fill(
        *s, [](double x, double y) { return x > 2 && x < kSide - 2 && y > 3 && y < 9; }, title);
    Fill(
        *s, [](double x, double y) { return x > 2 && x < kSide - 2 && y > 9 && y < kSide - 3; }, page);
    return s;
}

std::shared_ptr<Surface> BlueDisc() {
    auto s = std::make_shared<Surface>(kSide, kSide);
    Fill(*s, Disc(15), 0x003080);
    Fill(*s, Disc(14), 0x1060E0);
    return s;
}

std::shared_ptr<Surface> Hand() {
    auto s = std::make_shared<Surface>(kSide, kSide);
    Fill(*s, Disc(15), 0x800000);
    Fill(*s, Disc(14), 0xE01010);
    // Two strokes three pixels thick corner to corner of a 14-pixel square.
    Fill(
        *s,
        [](double x, double y) {
            const double u = x - 9, v = y - 9;
            return u >= 0 && u < 14 && v >= 0 && v < 14 && (std::abs(u - v) < 2 || std::abs(u + v - 14) < 2);
        },
        0xFFFFFF);
    return s;
}

std::shared_ptr<Surface> Exclamation() {
    auto s = std::make_shared<Surface>(kSide, kSide);
    Fill(*s, Triangle(0), 0x806000);
    Fill(*s, Triangle(1.5), 0xFFD800);
    Mark(*s,
         {"####", "####", "####", "####", "####", ".##.", ".##.", ".##.", ".##.", "....", ".##.", "####",
          ".##."},
         16, 12, 0x000000);
    return s;
}

std::shared_ptr<Surface> Asterisk() {
    auto s = BlueDisc();
    Mark(*s,
         {".##.", "####", ".##.", "....", "....", "###.", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.",
          "####"},
         16, 7, 0xFFFFFF);
    return s;
}

std::shared_ptr<Surface> Question() {
    auto s = BlueDisc();
    Mark(*s,
         {"..######..", ".########.", "###....###", "##......##", "........##", ".......###", "......###.",
          ".....###..", "....###...", "....##....", "....##....", "..........", "....##....", "....##...."},
         16, 8, 0xFFFFFF);
    return s;
}

}  // namespace

std::shared_ptr<Surface> SystemIconPicture(int standardIcon) {
    switch (standardIcon) {
        case IDI_APPLICATION: return Application();
        case IDI_HAND: return Hand();
        case IDI_QUESTION: return Question();
        case IDI_EXCLAMATION: return Exclamation();
        case IDI_ASTERISK: return Asterisk();
        default: return nullptr;
    }
}

}  // namespace tarvel
