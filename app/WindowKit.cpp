#include "app/WindowKit.h"

#include <algorithm>

#include "platform/classlib/Boxes.h"

namespace tarvel {

void FilterNumericKey(char16_t& key, std::u16string_view extra, bool blankSilently) {
    constexpr char16_t kBackspace = 8, kEnter = 13;
    if ((key >= u'0' && key <= u'9') || key == kBackspace || key == kEnter) return;
    // Ctrl+A, Ctrl+C and the like insert nothing: the edit acts on them itself.
    if (key < u' ') return;
    if (extra.find(key) != std::u16string_view::npos) return;
    if (key != u' ' || !blankSilently)
        MessageDlg("Please input numeric!", mtInformation, TMsgDlgButtons{mbOK});
    key = 0;
}

void WidenColumnsToTexts(TStringGrid& grid, int firstRow, int lastRow) {
    constexpr int kMargin = 6;  // the cell's inset before and after the text
    TCanvas& canvas = *grid.Canvas();
    canvas.Font()->Assign(grid.Font());
    for (int col = 0; col < grid.ColCount(); ++col) {
        int width = grid.ColWidths(col);
        for (int row = firstRow; row <= lastRow; ++row)
            width = std::max(width, canvas.TextWidth(grid.Cells(col, row)) + kMargin);
        if (width != grid.ColWidths(col)) grid.SetColWidths(col, width);
    }
}

void PaintWhiteCell(TStringGrid& grid, int col, int row, const TRect& rect) {
    TCanvas& canvas = *grid.Canvas();
    canvas.Brush()->SetColor(clWhite);
    canvas.Font()->SetColor(clBlack);
    const String text = grid.Cells(col, row);
    const TSize size = canvas.TextExtent(text);
    canvas.TextRect(rect, rect.left + (rect.Width() - size.cx) / 2, rect.top + (rect.Height() - size.cy) / 2,
                    text);
}

}  // namespace tarvel
