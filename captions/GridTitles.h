#pragma once
// The English titles of the main window's grids and of a few captions of its
// system-control tab. The form keeps its Chinese captions and leaves the
// title cells empty; the window writes these once at start, after the grids
// have their sizes.

#include <span>

#include "platform/classlib/Components.h"

namespace tarvel {

struct GridTitle {
    int col;
    int row;
    const char* text;
};

struct GridTitleTable {
    const char* grid;  // component name on the main form
    std::span<const GridTitle> titles;
};

struct CaptionTitle {
    const char* control;  // component name on the main form
    const char* text;
};

std::span<const GridTitleTable> EnglishGridTitles();
std::span<const CaptionTitle> EnglishCaptions();

// Writes every title cell and caption above into the components of that name
// that mainForm owns. A missing component, or one of another kind, is
// skipped; unchanged texts are left alone so a second call repaints nothing.
void SetEnglishGridTitles(TComponent& mainForm);

}  // namespace tarvel
