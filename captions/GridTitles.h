#pragma once
// The English titles of the main window's grids and of a few captions of its
// system-control tab. The form keeps its Chinese captions and leaves the
// title cells empty; the window writes these once at start, after the grids
// have their sizes.

#include "platform/classlib/Components.h"

namespace tarvel {

// Writes the title cells of the named string grids and the captions of the
// named group boxes, label and buttons that mainForm owns; data cells are not
// touched. A missing component, or one of another kind, is skipped; unchanged
// texts are left alone so a second call repaints nothing.
void SetEnglishGridTitles(TComponent& mainForm);

}  // namespace tarvel
