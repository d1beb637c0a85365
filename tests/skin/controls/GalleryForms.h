#pragma once
// The galleries of the skinned controls, laid out on a parent the same way
// for the headless pictures and for the ones taken on a real X server. Each
// returns the controls a picture puts in a state of its own (hot, pressed,
// focused); the parent owns everything it places.

#include <vector>

#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_memo.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/controls/te_controls_views.h"

namespace tarvel::testing {

template <class T>
T* Place(TWinControl* parent, int left, int top, int width = 0, int height = 0) {
    T* control = new T(parent);
    control->SetParent(parent);
    control->SetBounds(left, top, width ? width : control->Width(), height ? height : control->Height());
    return control;
}

// Push buttons of five kinds (the third disabled), check boxes in each
// state, radio buttons, a group box with a check box, a radio group and
// labels.
struct BasicGallery {
    std::vector<TTeButton*> buttons;
    TTeButton* hot = nullptr;      // for the pointer
    TTeButton* pressed = nullptr;  // for the keyboard
};
BasicGallery PlaceBasicControls(TWinControl* parent);

// A 16 x 16 tool glyph: a square of `ground` (2 .. 13 each way) on `key`
// with a black arrow in it, rows 6 .. 9 widening from x = 8.
void ArrowGlyph(TBitmap& glyph, TColor key, TColor ground);

// Speed buttons in a container (one with a glyph in the fixed button
// colours; grouped, down, disabled, with a chevron),
// a panel split in two, an outlook bar and a button bar.
struct ToolGallery {
    TTeSpeedButton* hot = nullptr;
};
ToolGallery PlaceToolControls(TWinControl* parent);

// Edits normal, hot, focused with a selection, disabled, read-only and with a
// password; combo boxes, drop-down lists, spin edits and edits with a button
// in the same states.
struct EditGallery {
    TTeEdit* focused = nullptr;
    TTeComboBox* hot = nullptr;
};
EditGallery PlaceEdits(TWinControl* parent);

// A grid of 20 x 30 cells, a read-only log of 20 lines in four colours, a
// tree of modules and a report of cells, all with skinned scroll bars.
struct WrappedGallery {
    TTeStringGrid* grid = nullptr;
    TTeRichEdit* log = nullptr;
    TTeTreeView* tree = nullptr;
    TTeListView* report = nullptr;
};
WrappedGallery PlaceWrappedControls(TWinControl* parent);

// The colour of line i of the tool's log.
TColor LogColor(int i);
// Adds `lines` coloured lines to a read-only log.
void FillLog(TTeRichEdit* log, int lines);

}  // namespace tarvel::testing
