#include "skin/controls/te_controls_transition.h"

namespace tarvel {

namespace {
TteTransitions* Installed = nullptr;
}

TteTransitions* Transitions() { return Installed; }
void SetTransitions(TteTransitions* transitions) { Installed = transitions; }

}  // namespace tarvel
