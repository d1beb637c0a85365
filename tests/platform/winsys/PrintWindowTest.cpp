// WM_PRINT: a window, its frame and its children painted into a DC of the
// caller's, as they look on the screen.

#include <memory>

#include "WinsysFixture.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);  // what the bitmap held before
constexpr LPARAM kAll = PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN;

// A memory bitmap of `size` filled grey, to print into.
struct Canvas {
    explicit Canvas(TSize size) : pixels(std::make_shared<Surface>(size.cx, size.cy)) {
        bitmap = CreateBitmapFromSurface(pixels);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        WinsysTest::FillWith(dc, Rect(0, 0, size.cx, size.cy), kGrey);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const { return PixelToColorRef(pixels->Pixel(x, y) & 0xFFFFFF); }

    std::shared_ptr<Surface> pixels;
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

class PrintWindowTest : public WinsysTest {
protected:
    // A 60x50 top-level window with a 4-pixel red frame and a green client,
    // a blue child at (10, 10) in it that reaches beyond the client area,
    // and a red child at (30, 5) under that one.
    HWND BuildTree(DWORD shown, HWND* child = nullptr) {
        HWND top = Create(WS_POPUP | WS_CLIPCHILDREN | shown, Bounds(100, 100, 60, 50), nullptr,
                          FramedPainter(Rect(4, 4, 4, 4), kRed, kGreen));
        HWND lower = Create(WS_CHILD | WS_VISIBLE, Bounds(30, 5, 20, 20), top, Painter(kRed));
        HWND upper = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 100, 15), top,
                            FramedPainter(Rect(1, 1, 1, 1), kBlue, kBlue));
        (void)lower;
        if (child) *child = upper;
        return top;
    }
};

TEST_F(PrintWindowTest, APrintedWindowEqualsItsPixelsOnTheScreen) {
    HWND top = BuildTree(WS_VISIBLE);
    Pump();
    Canvas canvas(TSize{60, 50});
    SendMessage(top, WM_PRINT, DcToWParam(canvas.dc), kAll | PRF_CHECKVISIBLE);
    std::unique_ptr<Surface> screen = backend->WindowPixels(top);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(canvas.At(x, y), PixelToColorRef(screen->Pixel(x, y) & 0xFFFFFF)) << x << "," << y;
    // The tree is as meant: frame, client, the upper child over the lower,
    // clipped at the frame.
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(4, 4), kGreen);
    EXPECT_EQ(canvas.At(8, 40), kGreen);
    EXPECT_EQ(canvas.At(40, 20), kBlue);
    EXPECT_EQ(canvas.At(40, 12), kRed);
    EXPECT_EQ(canvas.At(57, 20), kRed);
}

TEST_F(PrintWindowTest, TheFlagsChooseWhatIsPrinted) {
    HWND top = BuildTree(0);  // hidden: printed all the same, unless asked to check
    struct Case {
        const char* what;
        LPARAM flags;
        COLORREF frame, client, child;
    };
    const Case cases[] = {
        {"everything", kAll, kRed, kGreen, kBlue},
        {"visible only", kAll | PRF_CHECKVISIBLE, kGrey, kGrey, kGrey},
        {"the frame", PRF_NONCLIENT, kRed, kGrey, kGrey},
        {"the client", PRF_CLIENT, kGrey, kGreen, kGreen},
        {"the children's clients", PRF_CLIENT | PRF_CHILDREN, kGrey, kGreen, kBlue},
        {"no children", PRF_NONCLIENT | PRF_CLIENT, kRed, kGreen, kGreen},
    };
    for (const Case& c : cases) {
        Canvas canvas(TSize{60, 50});
        SendMessage(top, WM_PRINT, DcToWParam(canvas.dc), c.flags);
        EXPECT_EQ(canvas.At(1, 20), c.frame) << c.what;
        EXPECT_EQ(canvas.At(8, 40), c.client) << c.what;
        EXPECT_EQ(canvas.At(40, 20), c.child) << c.what;
    }
}

TEST_F(PrintWindowTest, PrintingLeavesTheScreenAndWhatIsDueAlone) {
    HWND child = nullptr;
    HWND top = BuildTree(WS_VISIBLE, &child);
    Pump();
    InvalidateRect(child, nullptr, true);
    std::unique_ptr<Surface> before = backend->WindowPixels(top);

    // Into a DC moved and clipped by its owner, as a caller would.
    Canvas canvas(TSize{100, 100});
    SetWindowOrgEx(canvas.dc, -20, -30, nullptr);
    IntersectClipRect(canvas.dc, 0, 0, 30, 100);
    SendMessage(top, WM_PRINT, DcToWParam(canvas.dc), kAll);
    EXPECT_EQ(canvas.At(20, 30), kRed);
    EXPECT_EQ(canvas.At(23, 33), kRed);
    EXPECT_EQ(canvas.At(24, 34), kGreen);
    EXPECT_EQ(canvas.At(49, 45), kBlue);
    EXPECT_EQ(canvas.At(50, 45), kGrey);  // beyond the clip

    std::unique_ptr<Surface> after = backend->WindowPixels(top);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(after->Pixel(x, y), before->Pixel(x, y)) << x << "," << y;
    EXPECT_TRUE(GetUpdateRect(child, nullptr, false));
    log.clear();
    Pump();
    EXPECT_EQ(Messages(child, {WM_PAINT}), (std::vector<UINT>{WM_PAINT}));
}

}  // namespace
}  // namespace tarvel
