#pragma once
// The skin's images, painted here rather than checked in as pictures: flat
// faces, 1-pixel borders, small glyphs. The object sources refer to them by
// name and by the cell rectangles given beside each painter.

#include "skin/core/te_bitmap_links.h"

namespace tarvel {

// Adds every image, in order of name.
void DrawSkinImages(TteBitmapList& images);

}  // namespace tarvel
