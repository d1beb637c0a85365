#pragma once
// Small pieces the tool's windows are built with.

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

// A grid cell as the tool's grids draw them: white, black text centred on one line.
void PaintWhiteCell(TStringGrid& grid, int col, int row, const TRect& rect);

}  // namespace tarvel
