#pragma once
// What controls that show items or cells tell the UI driver of the tests, so
// it can click them through real mouse messages and read what they show.
// A control implements the interface that fits; the driver asks for it with
// dynamic_cast.

#include "platform/base/Strings.h"
#include "platform/classlib/DialogService.h"
#include "platform/gdi/Geometry.h"

namespace tarvel {

class TControl;

// A list of items (list box, the dropped list of a combo box, ...).
class IUiItems {
public:
    virtual ~IUiItems() = default;
    virtual int UiItemCount() = 0;
    virtual String UiItemText(int index) = 0;
    // The item's rectangle in the control's client coordinates, after
    // scrolling it into view.
    virtual TRect UiItemRect(int index) = 0;
    virtual int UiItemIndex() = 0;
};

// A control that drops a list down (a combo box): it opens the list and
// answers the control showing its items.
class IUiDropDown {
public:
    virtual ~IUiDropDown() = default;
    virtual TControl* UiDropDown() = 0;
};

// A control with a value of its own beyond its text (checked, a position,
// the page shown), as a short "name=value" line for the driver to read.
class IUiState {
public:
    virtual ~IUiState() = default;
    virtual String UiState() = 0;
};

// A grid of cells.
class IUiCells {
public:
    virtual ~IUiCells() = default;
    virtual int UiColCount() = 0;
    virtual int UiRowCount() = 0;
    virtual String UiCellText(int col, int row) = 0;
    // The cell's rectangle in client coordinates, after scrolling it into view.
    virtual TRect UiCellRect(int col, int row) = 0;
};

// A box form (message or input box) that the driver answers like the
// scripted dialog service: an input box's caption and prompt come as the
// request's caption and text. Its buttons carry the names of their answers
// ("OK", "Cancel", "Yes" ...) and an input box's edit is named "Edit".
class IUiBox {
public:
    virtual ~IUiBox() = default;
    virtual TBoxRequest UiBoxRequest() = 0;
    virtual bool UiInputBox() = 0;
};

}  // namespace tarvel
