#pragma once
// Messages about a grid cell or an edit name what the person sees: the
// cell's row and column titles as the grid shows them, the edit's caption.
// The layers below the window name cells by grid, column and row and edits
// by their component names; the window puts the shown names in their place.

#include "platform/classlib/Controls.h"
#include "platform/classlib/Grids.h"

namespace tarvel {

// The titles of a cell: the nearest text to its left in its row that is no
// number, then, when the grid has title rows, its column's title:
// "CELL [3], SEND VALUE OF K". Empty when the grid shows no title for it.
String CellTitle(const TStringGrid& grid, int col, int row);

// The caption of an edit: the label that focuses it, else the label on its
// line that names it (a caption before it, else the nearest word beside
// it), else its group's caption; without the closing colon.
String FieldCaption(const TControl& control);

// `message` with each "Pn (<grid> column c, row r)", "<grid> column c, row r"
// and leading "<edit>: " of `owner`'s components named by what it shows.
// Names of no component, or with nothing shown for them, stay.
String WithShownNames(const TComponent& owner, const String& message);

}  // namespace tarvel
