#include "app/WindowKit.h"

namespace tarvel {

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
