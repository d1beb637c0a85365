#pragma once
// Skin-file themes for the extra controls' tests, built in a file of their
// own: the skin's headers do not mix with the class library's controls.

#include <vector>

#include "platform/classlib/Graphics.h"

namespace tarvel {
class TteTheme;
}

namespace tarvel::testing {

struct TSkinPiece {
    const char* name;
    TColor color;
    TRect bounds;
    // Children filling the piece: "Frame" with these margins, "Grabber" this wide; none when 0.
    TRect frameMargins{};
    int grabberWidth = 0;
};

// A loaded skin-file theme holding these top-level objects; the caller owns it.
TteTheme* MakeSkinTheme(const std::vector<TSkinPiece>& pieces);

}  // namespace tarvel::testing
