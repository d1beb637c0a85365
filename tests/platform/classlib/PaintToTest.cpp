// PaintTo: a control painted with its frame and children into a DC of the
// caller's looks as it does on the screen; and WM_SETREDRAW holds a form's
// painting back.

#include "ControlFixture.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/ComCtrls_DateTime.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Check.h"

namespace tarvel {
namespace {

class PaintToTest : public ControlFixture {
protected:
    void SetUp() override {
        picker = Add<TDateTimePicker>("Picker", Bounds(10, 10, 120, 21));
        picker->SetDateTime(EncodeDateTime(DateParts{2026, 3, 14, 15, 9, 26, 0}));
        grid = Add<TStringGrid>("Grid", Bounds(10, 40, 260, 140));
        grid->SetColCount(4);
        grid->SetRowCount(8);
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 8; ++r) grid->SetCells(c, r, IntToStr(c * 10 + r));
        group = Add<TGroupBox>("Group", Bounds(280, 10, 180, 150));
        group->SetCaption("Module");
        auto* button = Add<TButton>("Read", Bounds(20, 30, 80, 25), group);
        button->SetCaption("Read");
        auto* check = Add<TCheckBox>("Keep", Bounds(20, 70, 120, 20), group);
        check->SetCaption("Keep polling");
    }

    // The bitmap's colour (0x00RRGGBB) at a point.
    static uint32_t At(TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFFu; }

    TDateTimePicker* picker = nullptr;
    TStringGrid* grid = nullptr;
    TGroupBox* group = nullptr;
};

TEST_F(PaintToTest, AFormPaintedToABitmapEqualsItsPixelsOnTheScreen) {
    ShowForm();
    TBitmap bitmap(form->Width(), form->Height());
    bitmap.SetPixelFormat(pf32bit);
    form->PaintTo(*bitmap.Canvas(), 0, 0);
    std::unique_ptr<Surface> screen = ui.Backend().WindowPixels(form->Handle());
    ASSERT_TRUE(screen);
    for (int y = 0; y < form->Height(); ++y)
        for (int x = 0; x < form->Width(); ++x)
            ASSERT_EQ(At(bitmap, x, y), screen->Pixel(x, y) & 0xFFFFFFu) << x << "," << y;
}

TEST_F(PaintToTest, AControlPaintsAtThePointGivenWhetherShownOrNot) {
    ShowForm();
    const TPoint on = group->ClientToScreen(TPoint{0, 0});
    const TRect formRect = WindowRect(form->Handle());
    std::unique_ptr<Surface> screen = ui.Backend().WindowPixels(form->Handle());
    form->Hide();
    ui.RunUntilIdle();

    TBitmap bitmap(group->Width() + 30, group->Height() + 20);
    bitmap.SetPixelFormat(pf32bit);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
    group->PaintTo(*bitmap.Canvas(), 30, 20);
    EXPECT_EQ(At(bitmap, 29, 19), Rgb(clRed));
    for (int y = 0; y < group->Height(); ++y)
        for (int x = 0; x < group->Width(); ++x)
            ASSERT_EQ(At(bitmap, x + 30, y + 20),
                      screen->Pixel(on.x - formRect.left + x, on.y - formRect.top + y) & 0xFFFFFFu)
                << x << "," << y;
    // The canvas keeps its own brush.
    EXPECT_EQ(bitmap.Canvas()->Brush()->Color(), clRed);
}

TEST_F(PaintToTest, RedrawOffHoldsTheFormsPaintingBackUntilItIsOnAgain) {
    int cellPaints = 0;
    grid->OnDrawCell = [&](TObject*, int col, int row, const TRect&, TGridDrawState) {
        if (col == 1 && row == 1) ++cellPaints;
    };
    ShowForm();
    cellPaints = 0;

    form->Perform(WM_SETREDRAW, 0, 0);
    for (int i = 0; i < 3; ++i) {
        grid->SetCells(1, 1, "x" + IntToStr(i));
        grid->Repaint();
        form->Repaint();
        ui.RunUntilIdle();
    }
    EXPECT_EQ(cellPaints, 0);

    form->Perform(WM_SETREDRAW, 1, 0);
    ui.RunUntilIdle();
    EXPECT_EQ(cellPaints, 1);
}

}  // namespace
}  // namespace tarvel
