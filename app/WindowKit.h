#pragma once
// Small pieces the tool's windows are built with.

#include <string_view>

#include "platform/classlib/Grids.h"
#include "platform/classlib/Objects.h"

namespace tarvel {

// A control of a window, named and put on its parent.
template <class T>
T* MakeNamed(TComponent* owner, TWinControl* parent, const char* name) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    return control;
}

// A key of a numeric edit: digits, control keys (backspace, Enter, Ctrl+A
// ...) and `extra` pass; a
// blank is dropped silently when `blankSilently`; any other key is dropped
// after the information box "Please input numeric!".
void FilterNumericKey(char16_t& key, std::u16string_view extra, bool blankSilently);

// Widens the grid's columns, never narrowing one, so that the texts of rows
// `firstRow` to `lastRow` show whole in the grid's font.
void WidenColumnsToTexts(TStringGrid& grid, int firstRow, int lastRow);

// A grid cell as the tool's grids draw them: white, black text centred on one line.
void PaintWhiteCell(TStringGrid& grid, int col, int row, const TRect& rect);

}  // namespace tarvel
