#pragma once
// What a control needs of a transition engine to fade its face from one look
// to another on a change of state. The effects library installs its engine
// at its start; without one a control repaints at once in its new state.

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

class TteTransitions {
public:
    virtual ~TteTransitions() = default;
    // A slot of the caller's own, or -1.
    virtual int ReserveIndex() = 0;
    virtual void ReleaseReserved(int index) = 0;
    // Runs `effect` for timeMs from source (the old look) to target (the new
    // one) at (x, y) of canvas, in slot index (-1: any free slot). Answers
    // the slot it runs in, or -1 when nothing runs.
    virtual int Start(TCanvas* canvas, int x, int y, TteBitmap* source, TteBitmap* target,
                      const String& effect, int timeMs, int index) = 0;
    virtual void Stop(int index) = 0;
};

// Null while no engine is installed.
TteTransitions* Transitions();
void SetTransitions(TteTransitions* transitions);

}  // namespace tarvel
