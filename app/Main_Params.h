#pragma once
// What the parameter writes of the protection-parameter tab share: one
// module's and every selected module's.

#include <optional>

#include "app/Main.h"

namespace tarvel {

// Request 0x09 to `address` from the 48 cells of SG_TBMS as the user sees
// them. A cell that holds no 32-bit integer stops it as the class library's
// conversion error, in the standard error box; a value its field cannot
// hold, with the cell named on the info line. Nothing is built then.
std::optional<FrameBytes> BmsWriteFromGrid(TMainForm& form, uint8_t address);

}  // namespace tarvel
