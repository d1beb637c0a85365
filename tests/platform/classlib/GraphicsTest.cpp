#include <gtest/gtest.h>

#include <vector>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {
namespace {

// 0x00RRGGBB of a bitmap pixel (alpha left out).
uint32_t Rgb(TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0x00FFFFFFu; }
uint32_t Rgb(TColor c) { return ColorRefToPixel(ColorToColorRef(c)); }

int CountPixels(TBitmap& b, uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += Rgb(b, x, y) == rgb;
    return n;
}

// A DC of the drawing layer that no canvas owns, as a window's would be.
struct ForeignDc {
    explicit ForeignDc(int size) {
        BITMAPINFO info;
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        stock = SelectObject(dc, bitmap);
        surface = GetBitmapSurface(bitmap);
    }
    ~ForeignDc() {
        SelectObject(dc, stock);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    uint32_t Rgb(int x, int y) const { return surface->Pixel(x, y) & 0x00FFFFFFu; }

    HBITMAP bitmap, stock;
    HDC dc;
    std::shared_ptr<Surface> surface;
};

TEST(GraphicsTest, CanvasMovedBetweenDcsKeepsPenBrushFontAndGivesBackTheDcsObjects) {
    ForeignDc a(24), b(24);
    const HGDIOBJ aPen = GetCurrentObject(a.dc, OBJ_PEN);
    const HGDIOBJ aBrush = GetCurrentObject(a.dc, OBJ_BRUSH);
    const HGDIOBJ aFont = GetCurrentObject(a.dc, OBJ_FONT);

    TCanvas canvas;
    canvas.Pen()->SetColor(clRed);
    canvas.Brush()->SetColor(clBlue);
    canvas.SetHandle(a.dc);
    canvas.Rectangle(2, 2, 10, 10);
    EXPECT_EQ(a.Rgb(2, 2), Rgb(clRed));
    EXPECT_EQ(a.Rgb(5, 5), Rgb(clBlue));
    canvas.MoveTo(3, 4);

    canvas.SetHandle(b.dc);
    EXPECT_EQ(GetCurrentObject(a.dc, OBJ_PEN), aPen) << "a DC gets its own objects back";
    EXPECT_EQ(GetCurrentObject(a.dc, OBJ_BRUSH), aBrush);
    EXPECT_EQ(GetCurrentObject(a.dc, OBJ_FONT), aFont);
    EXPECT_EQ(canvas.PenPos(), (TPoint{3, 4})) << "the pen position moves with the canvas";

    canvas.Pen()->SetColor(clLime);  // changed while pointed elsewhere
    canvas.Rectangle(2, 2, 10, 10);
    EXPECT_EQ(b.Rgb(2, 2), Rgb(clLime));
    EXPECT_EQ(b.Rgb(5, 5), Rgb(clBlue));

    canvas.SetHandle(a.dc);
    canvas.Rectangle(12, 12, 20, 20);
    EXPECT_EQ(a.Rgb(12, 12), Rgb(clLime)) << "the changed pen is selected into the DC it comes back to";
    EXPECT_EQ(a.Rgb(15, 15), Rgb(clBlue));

    canvas.Font()->SetColor(clRed);
    canvas.Font()->SetHeight(-16);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(1, 1, "MW");
    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(a.dc, OBJ_FONT), aFont);
    int red = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 24; ++x) red += a.Rgb(x, y) == Rgb(clRed);
    EXPECT_GT(red, 0) << "the font's colour was set in the DC";
}

TEST(GraphicsTest, SelectObjectsReadiesTheDcForRawDrawingAndFollowsChanges) {
    ForeignDc dc(24);
    const HGDIOBJ stockFont = GetCurrentObject(dc.dc, OBJ_FONT);
    TCanvas canvas;
    canvas.Font()->SetColor(clRed);
    canvas.Pen()->SetColor(clLime);
    canvas.Brush()->SetColor(clBlue);
    canvas.SetHandle(dc.dc);
    ASSERT_EQ(canvas.SelectObjects(), dc.dc);
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_FONT), canvas.Font()->Handle());
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_PEN), canvas.Pen()->Handle());
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_BRUSH), canvas.Brush()->Handle());
    EXPECT_EQ(GetTextColor(dc.dc), ColorToColorRef(clRed));
    EXPECT_EQ(GetBkColor(dc.dc), ColorToColorRef(clBlue));
    Rectangle(dc.dc, 2, 2, 10, 10);
    EXPECT_EQ(dc.Rgb(2, 2), Rgb(clLime)) << "a raw call draws with the canvas's pen";
    EXPECT_EQ(dc.Rgb(5, 5), Rgb(clBlue)) << "and fills with its brush";

    // A change made after the selection is selected on the next call.
    canvas.Font()->SetHeight(-16);
    canvas.Font()->SetColor(clYellow);
    canvas.Brush()->SetStyle(bsClear);
    canvas.SelectObjects();
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_FONT), canvas.Font()->Handle());
    EXPECT_EQ(GetTextColor(dc.dc), ColorToColorRef(clYellow));
    EXPECT_EQ(GetBkMode(dc.dc), TRANSPARENT);
    TextOutW(dc.dc, 1, 12, u"MW");
    int yellow = 0;
    for (int y = 12; y < 24; ++y)
        for (int x = 0; x < 24; ++x) yellow += dc.Rgb(x, y) == Rgb(clYellow);
    EXPECT_GT(yellow, 0) << "raw text in the canvas's font colour";

    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_FONT), stockFont) << "the DC gets its own font back";
    EXPECT_THROW(canvas.SelectObjects(), EInvalidGraphicOperation);
}

TEST(GraphicsTest, FontSizeAndHeightAt96Dpi) {
    struct Case {
        int size, height;
    };
    const Case cases[] = {{8, -11},  {9, -12},  {10, -13}, {11, -15},
                          {12, -16}, {14, -19}, {18, -24}, {24, -32}};
    for (const Case& c : cases) {
        TFont font;
        font.SetSize(c.size);
        EXPECT_EQ(font.Height(), c.height) << c.size;
        font.SetHeight(c.height);
        EXPECT_EQ(font.Size(), c.size) << c.height;
    }
    TFont cell;
    cell.SetHeight(13);
    EXPECT_EQ(cell.Size(), -10) << "a cell height gives a negative size";
}

TEST(GraphicsTest, FontDefaultsAndItsLogicalFont) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), 1);
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_EQ(font.Pitch(), fpDefault);

    font.SetStyle({fsBold, fsUnderline});
    font.SetPitch(fpFixed);
    font.SetQuality(fqNonAntialiased);
    font.SetName("Tahoma");
    const LOGFONTW log = font.LogFont();
    EXPECT_EQ(log.lfWeight, FW_BOLD);
    EXPECT_EQ(log.lfItalic, 0);
    EXPECT_EQ(log.lfUnderline, 1);
    EXPECT_EQ(log.lfStrikeOut, 0);
    EXPECT_EQ(log.lfQuality, NONANTIALIASED_QUALITY);
    EXPECT_EQ(log.lfPitchAndFamily, 1) << "FIXED_PITCH";
    EXPECT_EQ(std::u16string(log.lfFaceName), u"Tahoma");

    LOGFONTW selected;
    ASSERT_NE(GetObject(font.Handle(), selected), 0);
    EXPECT_EQ(selected.lfHeight, -11);

    TFont copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(&font);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Name(), "Tahoma");
    EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsUnderline}));
    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

TEST(GraphicsTest, SystemColoursKeepTheirValueAndResolveWhenDrawn) {
    struct Case {
        TColor color;
        int index;
    };
    const Case cases[] = {
        {clBtnFace, COLOR_BTNFACE}, {clHighlight, COLOR_HIGHLIGHT}, {clInfoBk, COLOR_INFOBK},
        {clWindow, COLOR_WINDOW},   {clBtnShadow, COLOR_BTNSHADOW},
    };
    for (const Case& c : cases) {
        TBitmap bitmap(6, 6);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(c.color);
        canvas->Pen()->SetColor(c.color);
        canvas->FillRect(Rect(0, 0, 3, 6));
        canvas->MoveTo(4, 0);
        canvas->LineTo(4, 6);
        EXPECT_EQ(canvas->Brush()->Color(), c.color) << "kept as the system colour";
        EXPECT_EQ(canvas->Pen()->Color(), c.color);
        const uint32_t expected = ColorRefToPixel(GetSysColor(c.index));
        EXPECT_EQ(Rgb(bitmap, 1, 1), expected) << c.index;
        EXPECT_EQ(Rgb(bitmap, 4, 3), expected) << c.index;
    }

    TBitmap text(40, 20);
    text.Canvas()->Font()->SetColor(clHighlight);
    text.Canvas()->Font()->SetHeight(-16);
    text.Canvas()->TextOut(2, 2, "MW");
    EXPECT_GT(CountPixels(text, ColorRefToPixel(GetSysColor(COLOR_HIGHLIGHT))), 0);
}

TEST(GraphicsTest, XorAndNotPenModesInvertUnderTheShapeAndUndoWhenDrawnAgain) {
    for (TPenMode mode : {pmXor, pmNot}) {
        TBitmap bitmap(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) bitmap.ScanLine(y)[x] = 0x00102030u + uint32_t(x * 7 + y * 11);
        TBitmap original;
        original.Assign(&bitmap);

        TCanvas* canvas = bitmap.Canvas();
        canvas->Pen()->SetColor(clRed);
        canvas->Pen()->SetMode(mode);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(2, 2, 12, 12);
        const uint32_t before = Rgb(original, 2, 5);
        const uint32_t expected = mode == pmXor ? before ^ Rgb(clRed) : ~before & 0x00FFFFFFu;
        EXPECT_EQ(Rgb(bitmap, 2, 5), expected) << mode;
        EXPECT_EQ(Rgb(bitmap, 6, 6), Rgb(original, 6, 6)) << "a clear brush leaves the inside alone";
        EXPECT_EQ(Rgb(bitmap, 13, 13), Rgb(original, 13, 13));

        canvas->MoveTo(0, 14);
        canvas->LineTo(16, 14);
        EXPECT_EQ(canvas->PenPos(), (TPoint{16, 14}));
        canvas->MoveTo(0, 14);
        canvas->LineTo(16, 14);
        canvas->Rectangle(2, 2, 12, 12);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(Rgb(bitmap, x, y), Rgb(original, x, y)) << x << "," << y;
    }
}

TEST(GraphicsTest, XorDrawingFollowsTheWindowOriginAndClipOfTheDc) {
    // A windowless control paints on its parent's DC moved to its origin.
    ForeignDc parent(12);
    SetWindowOrgEx(parent.dc, -3, -2, nullptr);
    IntersectClipRect(parent.dc, 0, 0, 5, 5);
    TCanvas canvas;
    canvas.SetHandle(parent.dc);
    canvas.Pen()->SetMode(pmXor);
    canvas.Pen()->SetColor(clWhite);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(0, 0, 8, 8);
    EXPECT_EQ(parent.Rgb(3, 2), 0xFFFFFFu) << "logical (0, 0)";
    EXPECT_EQ(parent.Rgb(3, 6), 0xFFFFFFu);
    EXPECT_EQ(parent.Rgb(2, 2), 0u);
    EXPECT_EQ(parent.Rgb(10, 2), 0u) << "the right edge lies outside the clip";
    canvas.SetHandle(nullptr);
}

TEST(GraphicsTest, CanvasWithoutADcRefusesToDraw) {
    TCanvas canvas;
    EXPECT_THROW(canvas.Rectangle(0, 0, 4, 4), EInvalidGraphicOperation);
    EXPECT_THROW(canvas.TextWidth("x"), EInvalidGraphicOperation);
    EXPECT_FALSE(canvas.HandleAllocated());
}

TEST(GraphicsTest, TextMeasuresMovesThePenAndStaysInsideTextRect) {
    TBitmap bitmap(60, 30);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->SetHeight(-16);
    const TSize extent = canvas->TextExtent("Hello");
    EXPECT_GT(extent.cx, canvas->TextWidth("H"));
    EXPECT_EQ(extent.cy, canvas->TextHeight("H"));
    canvas->TextOut(3, 2, "Hello");
    EXPECT_EQ(canvas->PenPos(), (TPoint{3 + extent.cx, 2}));

    TBitmap clipped(60, 30);
    TCanvas* c = clipped.Canvas();
    c->Font()->SetHeight(-16);
    c->Brush()->SetColor(clYellow);
    c->TextRect(Rect(10, 5, 30, 25), 12, 6, "Hello world");
    EXPECT_EQ(Rgb(clipped, 10, 5), Rgb(clYellow)) << "a solid brush fills the rectangle";
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            if (!Rect(10, 5, 30, 25).Contains({x, y})) {
                ASSERT_EQ(Rgb(clipped, x, y), 0x00FFFFFFu) << x << "," << y;
            }
}

TEST(GraphicsTest, PatternBrushCopyRectPixelsAndChangeEvents) {
    TBitmap pattern(2, 2);
    pattern.ScanLine(0)[0] = pattern.ScanLine(1)[1] = Rgb(clBlack);
    pattern.ScanLine(0)[1] = pattern.ScanLine(1)[0] = Rgb(clRed);

    TBitmap bitmap(8, 8);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetBitmap(&pattern);
    int changing = 0, changed = 0;
    canvas->OnChanging = [&](TObject*) { ++changing; };
    canvas->OnChange = [&](TObject*) { ++changed; };
    canvas->FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Rgb(bitmap, 0, 0), Rgb(clBlack));
    EXPECT_EQ(Rgb(bitmap, 1, 0), Rgb(clRed));
    EXPECT_EQ(Rgb(bitmap, 2, 2), Rgb(clBlack)) << "the 2x2 pattern repeats";

    canvas->SetPixels(7, 7, clBtnFace);
    EXPECT_EQ(canvas->Pixels(7, 7), GetSysColor(COLOR_BTNFACE));

    TBitmap copy(4, 4);
    copy.Canvas()->CopyRect(Rect(0, 0, 4, 4), *canvas, Rect(0, 0, 2, 2));
    EXPECT_EQ(Rgb(copy, 0, 0), Rgb(clBlack)) << "stretched two to one";
    EXPECT_EQ(Rgb(copy, 1, 1), Rgb(clBlack));
    EXPECT_EQ(Rgb(copy, 2, 0), Rgb(clRed));
    copy.Canvas()->SetCopyMode(cmDstInvert);
    copy.Canvas()->CopyRect(Rect(0, 0, 1, 1), *canvas, Rect(0, 0, 1, 1));
    EXPECT_EQ(Rgb(copy, 0, 0), 0x00FFFFFFu);
}

TEST(GraphicsTest, ShapesUseThePenOutsideAndTheBrushInside) {
    TBitmap bitmap(20, 20);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clNavy);
    canvas->Brush()->SetColor(clYellow);
    canvas->Ellipse(0, 0, 20, 20);
    EXPECT_EQ(Rgb(bitmap, 10, 10), Rgb(clYellow));
    EXPECT_EQ(Rgb(bitmap, 0, 0), 0x00FFFFFFu) << "the corner lies outside the ellipse";
    EXPECT_EQ(Rgb(bitmap, 10, 0), Rgb(clNavy));

    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(clRed);
    const TPoint triangle[] = {{0, 19}, {19, 19}, {0, 0}};
    canvas->Polygon(triangle);
    EXPECT_EQ(Rgb(bitmap, 2, 17), Rgb(clRed));
    EXPECT_EQ(Rgb(bitmap, 18, 1), 0x00FFFFFFu);

    TBitmap frame(10, 10);
    frame.Canvas()->Brush()->SetColor(clGreen);
    frame.Canvas()->FrameRect(Rect(1, 1, 9, 9));
    EXPECT_EQ(Rgb(frame, 1, 4), Rgb(clGreen));
    EXPECT_EQ(Rgb(frame, 4, 4), 0x00FFFFFFu);
    frame.Canvas()->DrawFocusRect(Rect(0, 0, 10, 10));
    frame.Canvas()->DrawFocusRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Rgb(frame, 0, 0), 0x00FFFFFFu) << "a focus rectangle drawn twice is gone";
}

TEST(GraphicsTest, HatchedBrushesAndDashedPensReachTheDrawing) {
    // Each hatch style draws its own lines in the brush colour and leaves
    // the pixels between them; a colour change keeps the hatch.
    const struct {
        TBrushStyle style;
        TPoint line, gap;  // inside the 8x8 cell at (0, 0)
    } cases[] = {{bsHorizontal, {0, 3}, {0, 2}}, {bsVertical, {4, 0}, {3, 0}}, {bsFDiagonal, {2, 2}, {2, 3}},
                 {bsBDiagonal, {2, 5}, {2, 2}},  {bsCross, {4, 6}, {5, 6}},    {bsDiagCross, {6, 1}, {6, 2}}};
    for (const auto& c : cases) {
        TBitmap bitmap(8, 8);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clGreen);
        canvas->FillRect(Rect(0, 0, 8, 8));
        canvas->Brush()->SetStyle(c.style);
        canvas->Brush()->SetColor(clRed);
        EXPECT_EQ(canvas->Brush()->Style(), c.style);
        canvas->FillRect(Rect(0, 0, 8, 8));
        EXPECT_EQ(Rgb(bitmap, c.line.x, c.line.y), Rgb(clRed)) << c.style;
        EXPECT_EQ(Rgb(bitmap, c.gap.x, c.gap.y), Rgb(clGreen)) << c.style;
    }
    // A clear brush made solid again by a colour.
    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clRed);
    EXPECT_EQ(brush.Style(), bsSolid);

    // A dashed pen on a solid brush fills its gaps with the brush colour; on
    // a hatched one it leaves them.
    for (TBrushStyle under : {bsSolid, bsCross}) {
        TBitmap bitmap(30, 1);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, 30, 1));
        canvas->Brush()->SetColor(clYellow);
        canvas->Brush()->SetStyle(under);
        canvas->Pen()->SetStyle(psDash);
        canvas->MoveTo(0, 0);
        canvas->LineTo(30, 0);
        EXPECT_EQ(Rgb(bitmap, 17, 0), Rgb(clBlack));
        EXPECT_EQ(Rgb(bitmap, 18, 0), under == bsSolid ? Rgb(clYellow) : Rgb(clWhite));
        EXPECT_EQ(Rgb(bitmap, 24, 0), Rgb(clBlack));
    }
}

TEST(GraphicsTest, LockNestsAndTryLockSeesIt) {
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    EXPECT_TRUE(canvas.TryLock()) << "the same thread may lock again";
    canvas.Unlock();
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

}  // namespace
}  // namespace tarvel
