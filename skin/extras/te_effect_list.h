#pragma once
// The built-in transition effects. Each turns a progress 0..100 into the
// shape of the new picture's visible part on the engine's cell grid: most
// paint an alpha mask (pkFade), two say where each cell takes its picture
// from (pkSlide), two compose the frame themselves (pkManual). They keep no
// state between frames; the few that scatter cells use a generator of their
// own seeded with the grid's size, so a frame's set only grows.

#include <cstdint>

#include "skin/extras/te_effect_procs.h"

namespace tarvel {

struct TteBuiltInEffect {
    const char* Name;
    TteProcKind Kind;
    void* Proc;
};

// A plain cross-fade: every cell gets the progress as opacity.
void FadeProc(uint8_t* mask, int width, int height, uint8_t progress);

// The built-ins in the order the registry takes them.
const TteBuiltInEffect* BuiltInEffects(int& count);

}  // namespace tarvel
