#pragma once
// The windows other programs show on the test's X server, found by their
// title, for tests that start the tool as its own process.

#include <optional>
#include <string>

#include "platform/gdi/Geometry.h"

namespace tarvel::testing {

// The screen rectangle of the mapped top-level window titled `title`, or
// nothing while there is none.
std::optional<TRect> XMappedWindowTitled(const std::string& title);

}  // namespace tarvel::testing
